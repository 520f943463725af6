#include "import/FormulaReplacement.h"

#include "office/sheet/CellReferenceText.h"

namespace celltrove::importing {

QString ReplacedFormulaLine(run::RunContext &run, const ImportSheet &sheet, int row, int column) {
    return run.T(QStringLiteral("Formel durch Text ersetzt: ")) + sheet.name() + u'!' +
           office::sheet::cellReferenceText(row - 1, column - 1, true, true);
}

void LogReplacedFormula(run::RunContext &run, const ImportSheet &sheet, int row, int column) {
    run.WriteLog(ReplacedFormulaLine(run, sheet, row, column));
}

}  // namespace celltrove::importing
