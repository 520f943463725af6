#include "export/ExportRun.h"

#include "export/ExportFile.h"
#include "import/RunLogStart.h"
#include "run/BatchRun.h"
#include "run/ColumnLetters.h"
#include "run/RunContext.h"

namespace celltrove::exporting {

using run::ExportFormat;
using run::RunContext;

namespace {

void writeOptionLines(RunContext &run) {
    const run::RunOptions &o = run.request().options;
    switch (run.request().format) {
    case ExportFormat::TaggedRtf:
    case ExportFormat::Xliff:
        run.WriteLog(run.T(QStringLiteral("Option: Export ohne Tabellen")));
        if (o.exportNumbers) run.WriteLog(run.T(QStringLiteral("Option: Zahlen exportieren")));
        if (o.formulas) run.WriteLog(run.T(QStringLiteral("Option: Formeln exportieren")));
        if (o.comments) run.WriteLog(run.T(QStringLiteral("Option: Kommentare exportieren")));
        if (o.columnRange)
            run.WriteLog(run.T(QStringLiteral("Spaltenbereich: ")) + QString::number(o.rangeStart) + u' ' +
                         run.T(QStringLiteral("bis ")) + QString::number(o.rangeEnd) + QStringLiteral(" (") +
                         run::columnLetters(o.rangeStart) + QStringLiteral("/ ") + run::columnLetters(o.rangeEnd) +
                         u')');
        break;
    case ExportFormat::RtfTables:
        run.WriteLog(run.T(QStringLiteral("Option: Export mit Tabellen")));
        if (o.formulas) run.WriteLog(run.T(QStringLiteral("Option: Formeln exportieren")));
        if (o.allLevels) run.WriteLog(run.T(QStringLiteral("Option: Alle Ebenen/Spalten")));
        break;
    default: break;
    }
}

}  // namespace

RunOutcome RunExport(run::RunRequest request, const run::TextLookup &texts, run::SettingsStore &settings,
                     run::RunUi &ui) {
    run::RunOptions &options = request.options;
    if (options.rangeEnd < options.rangeStart) {
        options.rangeStart = 1;
        options.rangeEnd = 256;
    }
    RunContext run(request, texts, settings, ui);
    RunOutcome outcome;
    outcome.logPath = run::WithTrailingSeparator(request.folder) + kExportLogName;
    if (!importing::StartRunLog(
            run, outcome.logPath,
            run.T(QStringLiteral("Option: Export ")) + run::ExportFormatCaption(run.request().format))) {
        outcome.runError = true;
        return outcome;
    }
    writeOptionLines(run);

    if (request.fileTypeFilter != run::FileTypeFilter::Excel) {
        ui.ShowCritical(run.T(QStringLiteral("Für den Export nur XLS-Dateien auswählen!")),
                        run.T(QStringLiteral("Fehler")));
        ui.HideProgressWindow();
        run.log().CloseLog();
        return outcome;
    }
    ExportEngines engines;
    const auto exportFile = [&engines](RunContext &r, const QString &path) { ExportFile(r, engines, path); };
    if (request.selectedFiles.isEmpty()) {
        run::StartFilter(run, true, exportFile);
        return outcome;
    }
    run::StartFilter(run, true, exportFile);
    outcome.ran = true;
    outcome.runError = run.runError || !run.log().errorString().isEmpty();
    return outcome;
}

}  // namespace celltrove::exporting
