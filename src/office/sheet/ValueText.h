#pragma once

#include "office/sheet/CellValue.h"

#include <QLocale>
#include <QString>

namespace office::sheet {

/// A cell value as text, the way a cell's value converts to text on this system:
/// numbers with up to 15 significant digits and the locale's decimal separator, no
/// grouping, exponent form ("1E+15", "1,5E-07") below 1E-4 and from 1E15; dates in the
/// locale's short date with a four-digit year, followed by the time with seconds when the
/// serial has a time part (only the time for 1900-system serials below 1); booleans "True"/"False";
/// errors as the spreadsheet shows them ("#DIV/0!"); empty values as "".
QString valueToText(const CellValue &value, const QLocale &locale = QLocale::system());

/// A number as valueToText writes it.
QString numberToText(double number, const QLocale &locale = QLocale::system());

/// A date serial as valueToText writes it.
QString dateToText(double serial, bool date1904, const QLocale &locale = QLocale::system());

/// The locale's short date pattern (QDate::toString syntax) with the year widened to
/// four digits: "dd.MM.yyyy" for de_DE, "M/d/yyyy" for en_US.
QString shortDatePatternWithFullYear(const QLocale &locale);

/// The locale's time pattern with seconds: "HH:mm:ss" for de_DE, "h:mm:ss AP" for en_US.
QString timePatternWithSeconds(const QLocale &locale);

}  // namespace office::sheet
