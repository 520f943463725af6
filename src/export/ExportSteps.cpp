#include "export/ExportSteps.h"

#include "count/AnalysisReport.h"
#include "export/WorkbookExport.h"
#include "run/PathLengthCheck.h"

#include <algorithm>

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

QString SheetPercentText(qint64 visited, qint64 total, const QLocale &locale, const SheetPlace &place) {
    const QString percent = count::NumberText(static_cast<double>(visited) * 100.0 / static_cast<double>(total), locale);
    return percent.left(6) + QStringLiteral(" % -- ") + QString::number(place.ordinal) + u'/' +
           QString::number(place.count);
}

std::unique_ptr<office::sheet::Workbook> OpenWorkbookForCellExport(run::RunContext &run, const QString &fullPath,
                                                                   const QString &folder, const QString &fileName) {
    std::unique_ptr<office::sheet::Workbook> workbook;
    const office::Status opened = office::sheet::Workbook::open(fullPath, workbook);
    if (!run::PathLengthCheck(run, folder, fileName, kTaggedExportPathLimit)) {
        run.runError = true;
        return nullptr;
    }
    if (RefuseLineBreakInName(run, fileName)) return nullptr;
    if (!workbook) ReportUnopenedWorkbook(run, fullPath, opened);
    return workbook;
}

void ExportEachSheet(run::RunContext &run, office::sheet::Workbook &workbook, SheetPlace &place,
                     const std::function<void(office::sheet::Worksheet &, const importing::UsedRange &)> &exportSheet) {
    place.count = workbook.worksheetCount();
    for (int number = 1; number <= place.count; ++number) {
        office::sheet::Worksheet &sheet = *workbook.worksheet(number);
        run.ui().SetSheetText(sheet.name());
        run.ui().ShowProgress(run::ProgressBar::Sheet, 0, 1);
        run.ui().SetProcessText(QString());
        ++place.ordinal;

        const importing::UsedRange used = importing::DetectUsedRange(sheet, &run.ui());
        if (!used.sheetEmpty) exportSheet(sheet, used);

        run.ui().SetProcessText(QStringLiteral("100 % -- ") + QString::number(place.ordinal) + u'/' +
                                QString::number(place.count));
        if (used.sheetEmpty)
            run.WriteLog(QStringLiteral("-- ") + sheet.name() + u':' + run.T(QStringLiteral("   Diese Tabelle ist leer.")));
        run.ui().ShowProgress(run::ProgressBar::Run, run.fileOrdinal, std::max(run.selectedFileCount, 1));
        run.ui().SetProcessText(QString());
    }
}

void WriteFileReport(run::RunContext &run, int sheetCount) {
    run.counter().CountText(QString(), true, sheetCount);
    for (const QString &line : run.report().FileReport(run.counter())) run.WriteLog(line);
}

}  // namespace celltrove::exporting
