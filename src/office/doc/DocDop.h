#pragma once

#include <QByteArray>

namespace office::doc {

/// The document properties (DOP) of a Word 97 file.
namespace DocDop {

/// Size of the Word 97 DOP.
constexpr int kSize97 = 500;
/// A DOP with widow control, footnotes at the bottom of the page numbered from
/// 1, and the default tab stop of the RTF writer; everything else zero.
QByteArray write();

}  // namespace DocDop

}  // namespace office::doc
