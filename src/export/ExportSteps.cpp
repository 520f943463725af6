#include "export/ExportSteps.h"

namespace celltrove::exporting {

void ReportUnopenedWorkbook(run::RunContext &run, const QString &fullPath, const office::Status &opened) {
    const QString text = run.T(QStringLiteral("Kann Excel-Datei nicht öffnen: ")) + fullPath;
    run.WriteLog(text);
    run.WriteLog(QStringLiteral("   ") + opened.message);
    run.ui().ShowCritical(text, run.T(QStringLiteral("Celltrove für Excel")));
    run.runError = true;
}

void ShowWorkbookExportStart(run::RunContext &run, const QString &fileName) {
    run.ui().SetProgressCaption(run.T(QStringLiteral("Celltrove für Excel")) + QStringLiteral(" - ") +
                                run.T(QStringLiteral("Exportiere Texte...")));
    run.ui().SetFileText(fileName);
    run.ui().Yield();
}

}  // namespace celltrove::exporting
