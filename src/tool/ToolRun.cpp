#include "tool/ToolRun.h"

#include "import/RunLogStart.h"
#include "run/BatchRun.h"
#include "tool/Concatenate.h"
#include "tool/JoinedDocumentFormat.h"
#include "tool/RemoveDuplicates.h"
#include "tool/Split.h"

#include <QDir>

namespace celltrove::tool {

namespace {

const QString kStarLine = QStringLiteral("*******************************");

// Opens the log, runs the tool and stores the folder as the most recent project.
run::RunOutcome runTool(bool concatenate, const QString &folder, const QString &joinedName, QStringList &fileList,
                        const run::TextLookup &texts, run::SettingsStore &settings, run::RunUi &ui) {
    run::RunRequest request;
    request.folder = run::WithTrailingSeparator(folder);
    request.selectedFiles = fileList;
    run::RunContext context(request, texts, settings, ui);
    run::RunOutcome outcome;
    if (concatenate) {
        QDir(request.folder).mkpath(joined::kBindleFolder);
        outcome.logPath = CatLogPath(request.folder, joinedName);
    } else {
        outcome.logPath = SplitLogPath(request.folder, joinedName);
    }
    const QString option =
        concatenate ? QStringLiteral("Option: Konkateniere Dateien") : QStringLiteral("Option: Split");
    if (importing::StartRunLog(context, outcome.logPath, context.T(option))) {
        ToolRunState state(context, fileList);
        outcome.ran = BindleCmd(state, concatenate, request.folder, joinedName);
        outcome.runError = context.runError || !context.log().errorString().isEmpty();
    } else {
        outcome.runError = true;
    }
    settings.SaveProjectPath(QDir::toNativeSeparators(QDir::cleanPath(request.folder)));
    settings.sync();
    return outcome;
}

}  // namespace

QString CatLogPath(const QString &folder, const QString &joinedName) {
    return run::WithTrailingSeparator(folder) + joined::kBindleFolder + u'/' + joinedName + QStringLiteral(".log");
}

QString SplitLogPath(const QString &folder, const QString &joinedName) {
    return run::WithTrailingSeparator(folder) + QStringLiteral("split") + joinedName + QStringLiteral(".log");
}

run::RunOutcome RunCat(const QString &folder, const QString &joinedName, QStringList &fileList,
                       const run::TextLookup &texts, run::SettingsStore &settings, run::RunUi &ui) {
    return runTool(true, folder, joinedName, fileList, texts, settings, ui);
}

run::RunOutcome RunSplit(const QString &folder, const QString &joinedName, QStringList &fileList,
                         const run::TextLookup &texts, run::SettingsStore &settings, run::RunUi &ui) {
    return runTool(false, folder, joinedName, fileList, texts, settings, ui);
}

bool StartToolWord(ToolRunState &state) {
    state.word = std::make_unique<office::doc::Application>();
    return run::StartWord(state.run);
}

bool BindleCmd(ToolRunState &state, bool concatenate, const QString &folder, const QString &joinedName) {
    run::RunContext &run = state.run;
    run::RunUi &ui = run.ui();
    ui.ClearProgress();
    ui.ShowProgressWindow();
    ui.Yield();
    if (state.fileList.isEmpty()) {
        // Not looked up: these two texts were never translatable.
        ui.ShowCritical(QStringLiteral("Keine Dateien gewählt!"), QStringLiteral("Fehler"));
        ui.HideProgressWindow();
        run.log().CloseLog();
        return false;
    }
    run.WriteLog(QString::number(state.fileList.size()) + run.T(QStringLiteral(" Datei(en) ausgewählt")));
    if (!StartToolWord(state))
        ui.ShowCritical(run.T(QStringLiteral("Konnte Word nicht starten!")), run.T(QStringLiteral("Fehler")));
    if (concatenate) CatBegin(state, folder, joinedName);

    state.joinedFileCount = 0;
    const int total = int(std::min<qsizetype>(state.fileList.size(), kMaxToolFiles));
    if (state.fileList.size() > kMaxToolFiles) {
        run.WriteLog(run.T(QStringLiteral("Error: Zu viele Dateien in der Liste, nicht bearbeitet ab Nr. ")) +
                     QString::number(kMaxToolFiles + 1));
        state.setError();
    }
    for (int i = 0; i < total; ++i) {
        const QString entry = state.fileList.at(i);
        run.WriteLog(kStarLine);
        if (concatenate) {
            run.WriteLog(run.T(QStringLiteral("Konkateniere Datei: ")) + entry);
            CatFile(state, folder + entry, joinedName, i, total);
        } else {
            const qsizetype before = state.fileList.size();
            run.WriteLog(run.T(QStringLiteral("Splitte Datei: ")) + entry);
            SplitFile(state, folder + entry, total);
            run.WriteLog(QStringLiteral(" |"));
            run.WriteLog(QStringLiteral(" |----> ") + QString::number(state.fileList.size() - before) +
                         run.T(QStringLiteral(" Dateien")));
        }
    }
    if (concatenate) {
        CatEnd(state);
        run.WriteLog(kStarLine);
        run.WriteLog(QStringLiteral(" "));
        run.WriteLog(QString());
        run.WriteLog(run.T(QStringLiteral("Konkatenierte Dateien: ")) + QString::number(state.joinedFileCount));
        run.WriteLog(run.T(QStringLiteral("Konkatenierte Datei: -----> ")) +
                     QDir::toNativeSeparators(u'/' + joined::kBindleFolder + u'/') + joinedName);
    }
    RemoveDuplicates(state.fileList);
    state.word.reset();
    if (concatenate) CatMove(state, folder, joinedName);
    if (run.runError) {
        run.WriteLog(QStringLiteral(" "));
        run.WriteLog(run.T(QStringLiteral("Error: Mindestens 1 Fehler vorhanden.")));
    }
    run.log().CloseLog();
    ui.SetProgressCaption(QString());
    ui.SetFileText(QString());
    ui.HideProgressWindow();
    return true;
}

}  // namespace celltrove::tool
