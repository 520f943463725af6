#pragma once

#include <QLocale>
#include <QString>

namespace office::sheet {

/// The format code of a built-in number format (0-163; the ones without a
/// FORMAT record in the file). Index 14 and 22 are the locale's short date
/// (with a four-digit year) and time; 5-8 use the locale's currency symbol.
/// Unknown indexes give "General".
QString builtInFormatCode(int index, const QLocale &locale);

}  // namespace office::sheet
