#pragma once

#include "import/ImportWorkbook.h"
#include "run/RunContext.h"

namespace celltrove::importing {

/// A translation replaces a formula by its translated result, as users expect;
/// the run log names every such cell ("Formel durch Text ersetzt: Blatt!B3")
/// so that the workbook's owner can be told. Rows and columns are 1-based.
void LogReplacedFormula(run::RunContext &run, const ImportSheet &sheet, int row, int column);
/// The line LogReplacedFormula writes.
QString ReplacedFormulaLine(run::RunContext &run, const ImportSheet &sheet, int row, int column);

}  // namespace celltrove::importing
