#pragma once

#include <QLocale>
#include <QString>

namespace office::sheet {

/// The format code of a built-in number format (the ones without a FORMAT
/// record in the file), as the spreadsheet words it for `locale`: 14 and 22 are
/// the locale's short date with a four-digit year; German gives its own codes for
/// 15-17, 20-21 and 37-40; 5-8 use the locale's currency symbol; the East Asian
/// date and time formats (27-36, 50-58) show as the locale's date or a time.
/// Unknown indexes give "General".
QString builtInFormatCode(int index, const QLocale &locale);

}  // namespace office::sheet
