#include "import/UsedRange.h"

#include "office/sheet/ValueText.h"

namespace celltrove::importing {

using office::sheet::Worksheet;

namespace {

// End(Up) from the last row stops at the top of a block that reaches the last
// row; a filled last cell is itself the last used one.
int lastUsedRow(const Worksheet &sheet, int column) {
    if (!sheet.value(Worksheet::kRowCount, column).isEmpty()) return Worksheet::kRowCount;
    return sheet.endUp(Worksheet::kRowCount, column);
}

int lastUsedColumn(const Worksheet &sheet, int row) {
    if (!sheet.value(row, Worksheet::kColumnCount).isEmpty()) return Worksheet::kColumnCount;
    return sheet.endLeft(row, Worksheet::kColumnCount);
}

}  // namespace

UsedRange DetectUsedRange(const Worksheet &sheet, run::RunUi *ui) {
    UsedRange used;
    // From an empty last row or column, each jump lands on the last filled cell of its
    // line: the jumps together give the extent of the filled cells. Only a filled cell
    // on that edge makes a jump stop elsewhere (at the top of its run); then every
    // jump is taken as it comes.
    const auto [lastRow, lastColumn] = sheet.filledExtent();
    if (lastRow < Worksheet::kRowCount && lastColumn < Worksheet::kColumnCount) {
        used.rows = std::max(lastRow, 1);
        used.columns = std::max(lastColumn, 1);
    } else {
        for (int column = 1; column <= Worksheet::kColumnCount; ++column) {
            if (ui) ui->Yield();
            used.rows = std::max(used.rows, lastUsedRow(sheet, column));
        }
        for (int row = 1; row <= used.rows; ++row) used.columns = std::max(used.columns, lastUsedColumn(sheet, row));
    }
    used.sheetEmpty = used.rows == 1 && used.columns == 1 && sheet.value(1, 1).isEmpty();
    return used;
}

void CountUsedCells(const Worksheet &sheet, const UsedRange &range, count::TextCounter &counter, run::RunUi *ui) {
    for (int row = 1; row <= range.rows; ++row) {
        for (int column = 1; column <= range.columns; ++column) {
            if (ui) ui->Yield();
            const office::sheet::CellValue value = sheet.value(row, column);
            if (!value.isEmpty()) counter.CountText(office::sheet::valueToText(value), false, 1);
        }
    }
}

}  // namespace celltrove::importing
