#include "export/CellFilter.h"

#include "office/sheet/LocaleNumber.h"

namespace celltrove::exporting {

using office::sheet::ValueKind;

bool IsNumericValue(const office::sheet::CellValue &value, const QLocale &locale) {
    return IsNumericValue(value, office::sheet::NumberSymbols::of(locale));
}

bool IsNumericValue(const office::sheet::CellValue &value, const office::sheet::NumberSymbols &symbols) {
    switch (value.kind()) {
    case ValueKind::Number:
    case ValueKind::Bool: return true;
    case ValueKind::Text: return office::sheet::parseLocaleNumber(value.textValue(), symbols, false).has_value();
    default: return false;
    }
}

bool IsExportedCell(const office::sheet::CellValue &value, const QString &text, int column,
                    const run::RunOptions &options, const QLocale &locale) {
    return IsExportedCell(value, text, column, options, office::sheet::NumberSymbols::of(locale));
}

bool IsExportedCell(const office::sheet::CellValue &value, const QString &text, int column,
                    const run::RunOptions &options, const office::sheet::NumberSymbols &symbols) {
    if (text.isEmpty() || text == QStringLiteral(" ")) return false;
    if (!options.exportNumbers && IsNumericValue(value, symbols)) return false;
    if (!options.allLevels && !text.startsWith(u'=')) return false;
    if (options.columnRange && (column < options.rangeStart || column > options.rangeEnd)) return false;
    return true;
}

}  // namespace celltrove::exporting
