#include "import/ImportRun.h"

#include "import/ImportDocument.h"
#include "import/ImportEngines.h"
#include "import/RunLogStart.h"
#include "import/SheetImportWorkbook.h"
#include "import/XliffImport.h"
#include "run/BatchRun.h"
#include "run/RunContext.h"

namespace celltrove::importing {

using run::RunContext;

ImportOutcome RunImport(const run::RunRequest &request, const run::TextLookup &texts, run::SettingsStore &settings,
                        run::RunUi &ui, WorkbookOpener openWorkbook) {
    RunContext run(request, texts, settings, ui);
    ImportOutcome outcome;
    outcome.logPath = run::WithTrailingSeparator(request.folder) + kImportLogName;
    if (!StartRunLog(run, outcome.logPath, run.T(QStringLiteral("Option: Import")))) {
        outcome.runError = true;
        return outcome;
    }

    if (request.fileTypeFilter != run::FileTypeFilter::Rtf && request.fileTypeFilter != run::FileTypeFilter::Xliff) {
        ui.ShowCritical(run.T(QStringLiteral("Für den Import nur RTF-Dateien auswählen!")),
                        run.T(QStringLiteral("Fehler")));
        run.log().CloseLog();
        return outcome;
    }
    ImportEngines engines(openWorkbook ? std::move(openWorkbook) : WorkbookOpener(OpenSheetWorkbook));
    run::StartFilter(run, false, [&engines](RunContext &r, const QString &path) {
        if (IsXliffPath(path))
            ImportXliffDocument(r, engines, path);
        else
            ImportDocument(r, engines, path);
    });
    outcome.ran = !request.selectedFiles.isEmpty();
    outcome.runError = run.runError || !run.log().errorString().isEmpty();
    return outcome;
}

}  // namespace celltrove::importing
