#pragma once

#include "office/sheet/CellValue.h"
#include "office/sheet/LocaleNumber.h"
#include "run/RunRequest.h"

#include <QLocale>

namespace celltrove::exporting {

/// True when a value passes the spreadsheet's numeric test: a number or a
/// boolean, or a text that reads as a number in `locale` (sign, grouping,
/// decimal separator, exponent, currency symbol, surrounding blanks). Dates,
/// errors and empty values are not numeric.
bool IsNumericValue(const office::sheet::CellValue &value, const QLocale &locale = QLocale::system());
/// The same with the locale's symbols asked beforehand, for a loop over many cells.
bool IsNumericValue(const office::sheet::CellValue &value, const office::sheet::NumberSymbols &symbols);

/// Whether the tagged export writes the cell at `column` (1-based) whose value
/// is `value` with the text `text`: not empty and not a single blank; numeric
/// only when numbers are exported; any text with "all levels", otherwise only
/// text beginning with "="; inside the column range when one is set.
bool IsExportedCell(const office::sheet::CellValue &value, const QString &text, int column,
                    const run::RunOptions &options, const QLocale &locale = QLocale::system());
bool IsExportedCell(const office::sheet::CellValue &value, const QString &text, int column,
                    const run::RunOptions &options, const office::sheet::NumberSymbols &symbols);

}  // namespace celltrove::exporting
