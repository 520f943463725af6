#include "import/UsedCells.h"

namespace celltrove::importing {

void ReplaceInUsedCells(ImportSheet &sheet, int rows, int columns, const QString &text, const QString &replacement,
                        run::RunUi &ui) {
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            ui.Yield();
            QString value = sheet.cellText(row, column);
            if (!value.contains(text)) continue;
            value.replace(text, replacement);
            (void)sheet.setCellText(row, column, value);
        }
    }
}

void CountUsedCells(const ImportSheet &sheet, int rows, int columns, count::TextCounter &counter, run::RunUi &ui) {
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            ui.Yield();
            const QString value = sheet.cellText(row, column);
            if (!value.isEmpty()) counter.CountText(value, false, 1);
        }
    }
}

}  // namespace celltrove::importing
