#pragma once

#include "count/TextCounter.h"
#include "import/ImportWorkbook.h"
#include "run/RunUi.h"

namespace celltrove::importing {

/// In every cell of rows 1 … `rows`, columns 1 … `columns` whose text holds
/// `text`, replaces each occurrence by `replacement`. Cells without it are not
/// written, so formulas and untouched values keep what they are.
void ReplaceInUsedCells(ImportSheet &sheet, int rows, int columns, const QString &text, const QString &replacement,
                        run::RunUi &ui);

/// Counts the text of every non-empty cell of rows 1 … `rows`, columns
/// 1 … `columns` as one cell each.
void CountUsedCells(const ImportSheet &sheet, int rows, int columns, count::TextCounter &counter, run::RunUi &ui);

}  // namespace celltrove::importing
