#include "office/sheet/Worksheet.h"

namespace office::sheet {

void Worksheet::copyRange(const CellRange &range, CellGridClipboard &clipboard) const {
    const int firstRow = std::max(range.firstRow, 1);
    const int lastRow = std::min(range.lastRow, kRowCount);
    const int firstColumn = std::max(range.firstColumn, 1);
    const int lastColumn = std::min(range.lastColumn, kColumnCount);
    QList<QStringList> grid;
    if (firstRow > lastRow || firstColumn > lastColumn) {
        clipboard.setGrid(std::move(grid));
        return;
    }
    const qsizetype width = lastColumn - firstColumn + 1;
    grid.reserve(lastRow - firstRow + 1);
    for (int row = firstRow; row <= lastRow; ++row) grid.append(QStringList(width));
    // The stored cells in row order, not every position: a range is mostly empty or mostly filled.
    const auto first = std::lower_bound(m_cells.begin(), m_cells.end(), firstRow - 1,
                                        [](const Cell &c, int row0) { return c.row0 < row0; });
    for (auto it = first; it != m_cells.end() && it->row() <= lastRow; ++it) {
        if (it->column() < firstColumn || it->column() > lastColumn) continue;
        grid[it->row() - firstRow][it->column() - firstColumn] = textOf(*it);
    }
    clipboard.setGrid(std::move(grid));
}

}  // namespace office::sheet
