#pragma once

#include "count/TextCounter.h"
#include "office/sheet/Worksheet.h"
#include "run/RunUi.h"

namespace celltrove::importing {

/// The used rectangle of a worksheet, from A1. Rows and columns are 1-based counts.
struct UsedRange {
    int rows = 1;     ///< the largest last used row over columns 1 … 256
    int columns = 1;  ///< the largest last used column over rows 1 … `rows`
    /// True when the sheet holds nothing: the range is A1 alone and A1 is empty.
    bool sheetEmpty = false;
};

/// Finds the used rectangle with one End(Up) jump per column and one End(Left)
/// jump per row, as the spreadsheet's Ctrl+Arrow does; a cell in the last row
/// or column counts as used. Yields once per column when `ui` is given.
UsedRange DetectUsedRange(const office::sheet::Worksheet &sheet, run::RunUi *ui = nullptr);

/// Feeds the text of every non-empty cell of `range` to `counter`, one cell
/// each, in rows from the top and left to right. Yields once per cell.
void CountUsedCells(const office::sheet::Worksheet &sheet, const UsedRange &range, count::TextCounter &counter,
                    run::RunUi *ui = nullptr);

}  // namespace celltrove::importing
