#include "run/BatchRun.h"

#include <celltrove/Version.h>

#include <QDir>

namespace celltrove::run {

namespace {

const QString kStarLine = QStringLiteral("*******************************************");

QString engineVersion() { return QString::fromLatin1(kVersionText); }

}  // namespace

bool StartExcel(RunContext &run) {
    run.WriteLog(run.T(QStringLiteral("Excel gestartet - Version: ")) + engineVersion());
    return true;
}

bool StartWord(RunContext &run) {
    run.WriteLog(run.T(QStringLiteral("Word gestartet - Version: ")) + engineVersion());
    return true;
}

void StartFilter(RunContext &run, bool exportFlag, const FileAction &perFile) {
    RunUi &ui = run.ui();
    ui.ClearProgress();
    ui.ShowProgressWindow();
    ui.Yield();

    const RunRequest &request = run.request();
    const int selected = static_cast<int>(request.selectedFiles.size());
    run.selectedFileCount = selected;
    if (selected == 0) {
        // Not looked up: these two texts were never translatable.
        ui.ShowCritical(QStringLiteral("Keine Dateien gewählt!"), QStringLiteral("Fehler"));
        ui.HideProgressWindow();
        run.log().CloseLog();
        return;
    }
    run.WriteLog(QString::number(selected) + run.T(QStringLiteral(" Dateien ausgewählt")));
    StartExcel(run);
    StartWord(run);

    const QString folder = WithTrailingSeparator(request.folder);
    for (int i = 0; i < selected; ++i) {
        const QString &entry = request.selectedFiles.at(i);
        run.fileOrdinal = i + 1;
        run.WriteLog(kStarLine);
        run.WriteLog(run.T(exportFlag ? QStringLiteral("exportiere ") : QStringLiteral("importiere ")) + entry);
        perFile(run, folder + entry);
    }

    run.settings().SaveProjectPath(QDir::toNativeSeparators(QDir::cleanPath(request.folder)));
    run.settings().sync();
    for (const QString &line : run.report().TotalReport(run.counter(), run.tableFlag, selected)) run.WriteLog(line);
    if (run.runError) {
        run.WriteLog(QStringLiteral(" "));
        run.WriteLog(QStringLiteral("Error: Mindestens 1 Fehler vorhanden."));
    }
    run.log().CloseLog();
    ui.HideProgressWindow();
}

}  // namespace celltrove::run
