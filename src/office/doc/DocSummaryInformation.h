#pragma once

#include <QByteArray>

namespace office::doc {

/// The "\005SummaryInformation" property set stream.
namespace DocSummaryInformation {

/// A property set with the Windows-1252 code page and an empty title and author.
QByteArray write();

}  // namespace DocSummaryInformation

}  // namespace office::doc
