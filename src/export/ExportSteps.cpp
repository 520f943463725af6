#include "export/ExportSteps.h"

namespace celltrove::exporting {

void ReportUnopenedWorkbook(run::RunContext &run, const QString &fullPath, const office::Status &opened) {
    const QString text = run.T(QStringLiteral("Kann Excel-Datei nicht öffnen: ")) + fullPath;
    run.WriteLog(text);
    run.WriteLog(QStringLiteral("   ") + opened.message);
    run.ui().ShowCritical(text, run.T(QStringLiteral("Celltrove für Excel")));
    run.runError = true;
}

bool RefuseLineBreakInName(run::RunContext &run, const QString &fileName) {
    if (!fileName.contains(u'\n') && !fileName.contains(u'\r')) return false;
    QString shown = fileName;
    shown.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    run.WriteLog(run.T(QStringLiteral("Error: Der Dateiname enthält einen Zeilenumbruch: ")) + shown);
    run.runError = true;
    return true;
}

void ShowWorkbookExportStart(run::RunContext &run, const QString &fileName) {
    run.ui().SetProgressCaption(run.T(QStringLiteral("Celltrove für Excel")) + QStringLiteral(" - ") +
                                run.T(QStringLiteral("Exportiere Texte...")));
    run.ui().SetFileText(fileName);
    run.ui().Yield();
}

}  // namespace celltrove::exporting
