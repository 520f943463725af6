#include "import/TableImport.h"

#include "import/FormulaReplacement.h"
#include "import/TaggedMarkers.h"
#include "import/UsedCells.h"
#include "office/doc/StoryCharacters.h"

namespace celltrove::importing {

ImportTarget ImportTable(run::RunContext &run, ImportEngines &engines, office::doc::Document *document,
                         const QString &folder, const DocumentHeader &header, const QString &documentPath) {
    run::RunUi &ui = run.ui();
    ui.ShowProgress(run::ProgressBar::Sheet, 1, run.selectedFileCount);
    ui.SetProcessText(QString());
    ui.Yield();

    engines.word.activate(document);
    office::doc::Selection &s = document->selection();
    if (s.goToTable(1)) {
        s.tables().item(1).select();
        s.copy();
    }
    document->setSaved(true);
    document->close();

    ImportTarget target = OpenImportTarget(run, engines, folder, header, documentPath);
    if (!target) {
        engines.clipboard.clear();
        return target;
    }
    ImportSheet &sheet = *target.sheet;
    if (run.request().options.allLevels) sheet.showAllColumnsAndLevels();
    if (!engines.clipboard.isEmpty()) {
        QList<QStringList> grid = engines.clipboard.rows();
        for (QStringList &row : grid)
            for (QString &text : row) text = office::doc::unicodeText(text);
        std::vector<std::pair<int, int>> formulas;  // the pasted cells that held formulas
        for (int r = 0; r < grid.size(); ++r)
            for (int c = 0; c < grid.at(r).size(); ++c)
                if (sheet.holdsFormula(r + 1, c + 1)) formulas.emplace_back(r + 1, c + 1);
        const office::Status status = sheet.pasteGrid(1, 1, grid);
        for (const auto &[row, column] : formulas)
            if (!sheet.holdsFormula(row, column)) LogReplacedFormula(run, sheet, row, column);
        if (!status) {
            run.WriteLog(run.T(QStringLiteral("Error: Tabelle nicht eingefügt: ")) + target.workbookPath +
                         QStringLiteral(" (") + status.message + u')');
            run.runError = true;
        }
    }
    engines.clipboard.clear();

    int rows = 1;
    int columns = 1;
    sheet.usedRange(rows, columns);
    ReplaceInUsedCells(sheet, rows, columns, markers::kLineFeedTag, QStringLiteral("\n"), ui);
    CountUsedCells(sheet, rows, columns, run.counter(), ui);
    run.counter().CountText(QString(), true, 1);
    return target;
}

}  // namespace celltrove::importing
