#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QStringList>

namespace office::doc {

/// The font table (SttbfFfn): font names by their index, which the character
/// properties refer to.
namespace DocFontTable {

/// An SttbfFfn for these names; families and pitches follow the well-known fonts.
QByteArray write(const QStringList &names);
/// The font names of the SttbfFfn at [offset, offset + length) of the table stream.
Status read(const QByteArray &tableStream, quint32 offset, quint32 length, QStringList &names);

}  // namespace DocFontTable

}  // namespace office::doc
