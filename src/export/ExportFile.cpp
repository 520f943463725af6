#include "export/ExportFile.h"

#include "export/ExportFormats.h"
#include "export/ExportSteps.h"
#include "export/TableFormDocument.h"
#include "export/WorkbookExport.h"
#include "export/XliffExport.h"
#include "import/UsedRange.h"
#include "office/sheet/HtmlWorkbook.h"
#include "office/sheet/TabSeparatedText.h"
#include "office/sheet/Workbook.h"
#include "run/PathLengthCheck.h"

namespace celltrove::exporting {

using office::sheet::Worksheet;
using run::ExportFormat;
using run::ProgressBar;
using run::RunContext;

namespace {

// Everything the export of one workbook shares between its sheets.
struct FormatJob {
    RunContext &run;
    ExportEngines &engines;
    ExportFormat format;
    QString folder;
    QString fileName;
    int sheetCount = 0;
    int sheetCounter = 0;
};

void logSaveFailure(RunContext &run, const QString &path, const office::Status &status) {
    run.WriteLog(run.T(QStringLiteral("Kann Datei nicht speichern: ")) + path + QStringLiteral(" (") + status.message +
                 u')');
    run.runError = true;
}

void logEmptySheet(RunContext &run, const Worksheet &sheet) {
    run.WriteLog(QStringLiteral("-- ") + sheet.name() + QStringLiteral(" (") + QString::number(sheet.index()) +
                 QStringLiteral("):") + run.T(QStringLiteral("   Diese Tabelle ist leer.")));
}

void countSheet(FormatJob &job) {
    ++job.sheetCounter;
    job.run.ui().ShowProgress(ProgressBar::Sheet, job.sheetCounter, job.sheetCount);
    job.run.ui().Yield();
}

// One sheet as text or Unicode text, written from its display texts.
void exportSheetAsText(FormatJob &job, Worksheet &sheet) {
    RunContext &run = job.run;
    countSheet(job);
    sheet.setDisplayFormulas(run.request().options.formulas);
    const importing::UsedRange used = importing::DetectUsedRange(sheet, &run.ui());
    importing::CountUsedCells(sheet, used, run.counter(), &run.ui());
    if (used.sheetEmpty) {
        logEmptySheet(run, sheet);
        return;
    }
    const QString path = job.folder + OutputFileName(job.format, job.fileName, sheet.index());
    const auto encoding = job.format == ExportFormat::Text ? office::sheet::TextFileEncoding::Utf8
                                                           : office::sheet::TextFileEncoding::Utf16LeWithBom;
    const office::Status saved = office::sheet::saveSheetAsText(sheet, path, encoding);
    if (!saved) logSaveFailure(run, path, saved);
    run.WriteLog(QStringLiteral("-- ") + sheet.name() + QStringLiteral(" (") + QString::number(sheet.index()) + u')');
}

// One sheet's used range as a table in an RTF or DOC document.
void exportSheetAsTable(FormatJob &job, Worksheet &sheet) {
    RunContext &run = job.run;
    const run::RunOptions &options = run.request().options;
    countSheet(job);
    run.ui().SetProcessText(QString::number(job.sheetCounter) + u'/' + QString::number(job.sheetCount));

    importing::UsedRange used = importing::DetectUsedRange(sheet, &run.ui());
    if (!used.sheetEmpty) {
        sheet.setDisplayFormulas(options.formulas);
        if (options.allLevels) {
            sheet.showAllColumns();
            sheet.showAllOutlineLevels();
        }
        importing::CountUsedCells(sheet, used, run.counter(), &run.ui());
        used = importing::DetectUsedRange(sheet, &run.ui());
        // A single used cell is copied with its right neighbour (A1:B1), as the range selection has it.
        const int columns = used.rows == 1 && used.columns == 1 ? 2 : used.columns;
        sheet.copyRange({1, used.rows, 1, columns}, job.engines.clipboard);
        run.WriteLog(QStringLiteral("-- ") + sheet.name());

        TableFormSheet target;
        target.path = job.folder + OutputFileName(job.format, job.fileName, sheet.index());
        target.wordDocument = job.format == ExportFormat::Doc;
        target.workbookFileName = job.fileName;
        target.sheetIndex = sheet.index();
        target.sheetName = sheet.name();
        const office::Status written = WriteTableFormDocument(run, job.engines, target);
        if (!written) logSaveFailure(run, target.path, written);
        if (options.formulas) sheet.setDisplayFormulas(false);
    }
    if (used.sheetEmpty) logEmptySheet(run, sheet);
    job.engines.clipboard.clear();
}

void exportWorkbookAsHtml(FormatJob &job, office::sheet::Workbook &workbook) {
    RunContext &run = job.run;
    for (int n = 1; n <= workbook.worksheetCount(); ++n)
        workbook.worksheet(n)->setDisplayFormulas(run.request().options.formulas);
    const QString path = job.folder + OutputFileName(ExportFormat::Html, job.fileName, 1);
    const office::Status saved = office::sheet::saveWorkbookAsHtml(workbook, path, job.fileName);
    if (!saved) logSaveFailure(run, path, saved);
}

}  // namespace

void ExportFile(RunContext &run, ExportEngines &engines, const QString &fullPath) {
    const ExportFormat format = run.request().format;
    if (format == ExportFormat::TaggedRtf) {
        run.tableFlag = false;
        ExportWorkbook(run, fullPath);
        return;
    }
    if (format == ExportFormat::Xliff) {
        // The same cells as the tagged export, one unit each: counted as cells, not tables.
        run.tableFlag = false;
        ExportWorkbookAsXliff(run, fullPath);
        return;
    }
    run.tableFlag = true;
    const qsizetype slash = fullPath.lastIndexOf(u'/');
    FormatJob job{run, engines, format, fullPath.left(slash + 1), fullPath.mid(slash + 1)};
    if (!run::PathLengthCheck(run, job.folder, job.fileName, kFormatExportPathLimit)) {
        run.runError = true;
        return;
    }
    // The table forms name their workbook in a header line, as the tagged export does.
    const bool tableForm = format == ExportFormat::RtfTables || format == ExportFormat::Doc;
    if (tableForm && RefuseLineBreakInName(run, job.fileName)) return;

    std::unique_ptr<office::sheet::Workbook> workbook;
    const office::Status opened = office::sheet::Workbook::open(fullPath, workbook);
    if (!workbook) {
        ReportUnopenedWorkbook(run, fullPath, opened);
        return;
    }

    job.sheetCount = workbook->worksheetCount();
    ShowWorkbookExportStart(run, job.fileName);

    for (int number = 1; number <= job.sheetCount; ++number) {
        Worksheet &sheet = *workbook->worksheet(number);
        run.ui().SetSheetText(sheet.name());
        if (format == ExportFormat::Html) {
            // One file holds every sheet: the first sheet's turn writes it.
            exportWorkbookAsHtml(job, *workbook);
            break;
        }
        if (format == ExportFormat::Text || format == ExportFormat::UnicodeText)
            exportSheetAsText(job, sheet);
        else
            exportSheetAsTable(job, sheet);
        run.ui().ShowProgress(ProgressBar::Run, run.fileOrdinal, std::max(run.selectedFileCount, 1));
    }

    run.counter().CountText(QString(), true, job.sheetCount);
    for (const QString &line : run.report().FileReport(run.counter())) run.WriteLog(line);
}

}  // namespace celltrove::exporting
