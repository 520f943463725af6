#include "import/ImportRun.h"

#include "import/ImportDocument.h"
#include "import/ImportEngines.h"
#include "import/SheetImportWorkbook.h"
#include "office/sheet/ValueText.h"
#include "run/BatchRun.h"
#include "run/RunContext.h"

#include <celltrove/Version.h>

#include <QDateTime>

namespace celltrove::importing {

using run::RunContext;

namespace {

void writeHeaderLines(RunContext &run) {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    run.WriteLog(run.T(QStringLiteral("Celltrove für Excel - Build ")) + QString::number(kBuildNumber));
    run.WriteLog(locale.toString(now.date(), office::sheet::shortDatePatternWithFullYear(locale)) + u'\t' +
                 locale.toString(now.time(), office::sheet::timePatternWithSeconds(locale)));
    run.WriteLog(run.T(QStringLiteral("Option: Import")));
}

}  // namespace

ImportOutcome RunImport(const run::RunRequest &request, const run::TextLookup &texts, run::SettingsStore &settings,
                        run::RunUi &ui, WorkbookOpener openWorkbook) {
    RunContext run(request, texts, settings, ui);
    ImportOutcome outcome;
    outcome.logPath = run::WithTrailingSeparator(request.folder) + kImportLogName;
    if (!run.log().OpenLog(outcome.logPath, false)) {
        ui.ShowCritical(run.T(QStringLiteral("Kann Log-Datei nicht schreiben: ")) + outcome.logPath +
                            QStringLiteral(" (") + run.log().errorString() + u')',
                        run.T(QStringLiteral("Fehler")));
        outcome.runError = true;
        return outcome;
    }
    writeHeaderLines(run);

    if (request.fileTypeFilter != run::FileTypeFilter::Rtf) {
        ui.ShowCritical(run.T(QStringLiteral("Für den Import nur RTF-Dateien auswählen!")),
                        run.T(QStringLiteral("Fehler")));
        run.log().CloseLog();
        return outcome;
    }
    ImportEngines engines(openWorkbook ? std::move(openWorkbook) : WorkbookOpener(OpenSheetWorkbook));
    run::StartFilter(run, false, [&engines](RunContext &r, const QString &path) { ImportDocument(r, engines, path); });
    outcome.ran = !request.selectedFiles.isEmpty();
    outcome.runError = run.runError || !run.log().errorString().isEmpty();
    return outcome;
}

}  // namespace celltrove::importing
