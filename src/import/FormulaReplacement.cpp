#include "import/FormulaReplacement.h"

#include "office/sheet/CellReferenceText.h"

namespace celltrove::importing {

void LogReplacedFormula(run::RunContext &run, const ImportSheet &sheet, int row, int column) {
    run.WriteLog(run.T(QStringLiteral("Formel durch Text ersetzt: ")) + sheet.name() + u'!' +
                 office::sheet::cellReferenceText(row - 1, column - 1, true, true));
}

}  // namespace celltrove::importing
