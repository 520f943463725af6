#include "export/WorkbookExport.h"

#include "count/AnalysisReport.h"
#include "export/CellFilter.h"
#include "export/ExportSteps.h"
#include "export/TaggedDocumentFormat.h"
#include "export/TaggedSheetWriter.h"
#include "import/UsedRange.h"
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"
#include "run/PathLengthCheck.h"

namespace celltrove::exporting {

using office::sheet::Worksheet;
using run::ProgressBar;
using run::RunContext;

namespace {

// Everything one workbook's export shares between its sheets.
struct WorkbookJob {
    RunContext &run;
    QString folder;
    QString fileName;
    int sheetCount = 0;
    int sheetOrdinal = 0;
    int writeCounter = 0;
    QLocale locale = QLocale::system();
    office::sheet::NumberSymbols numberSymbols = office::sheet::NumberSymbols::of(locale);
};

QString percentText(qint64 visited, qint64 total, const WorkbookJob &job) {
    const QString percent = count::NumberText(static_cast<double>(visited) * 100.0 / static_cast<double>(total), job.locale);
    return percent.left(6) + QStringLiteral(" % -- ") + QString::number(job.sheetOrdinal) + u'/' +
           QString::number(job.sheetCount);
}

void logWriteFailure(RunContext &run, const QString &path, const office::Status &status) {
    run.WriteLog(run.T(QStringLiteral("Kann Datei nicht speichern: ")) + path + QStringLiteral(" (") + status.message +
                 u')');
    run.runError = true;
}

// One non-empty worksheet: its document with header, comments, cells and total line.
void exportSheet(WorkbookJob &job, Worksheet &sheet, const importing::UsedRange &used) {
    RunContext &run = job.run;
    const run::RunOptions &options = run.request().options;
    sheet.setDisplayFormulas(options.formulas);
    sheet.showAllColumns();
    sheet.showAllOutlineLevels();

    const QString outputPath = job.folder + TaggedFileName(job.fileName, sheet.index());
    TaggedSheetWriter writer(run, job.writeCounter);
    const office::Status begun = writer.begin(outputPath, run.T(QStringLiteral("cellTrove für Excel ")), job.fileName,
                                              sheet.index(), sheet.name());
    if (!begun) {
        writer.abandon();
        logWriteFailure(run, outputPath, begun);
        return;
    }

    int commentsWritten = 0;
    if (options.comments) {
        for (int i = 1; i <= sheet.commentCount(); ++i) writer.writeComment(sheet.comment(i).text);
        commentsWritten = sheet.commentCount();
    }

    const qint64 cellsInRectangle = qint64(used.rows) * used.columns;
    qint64 visited = 0;
    int lastSteps = -1;
    for (int row = 1; row <= used.rows; ++row) {
        for (int column = 1; column <= used.columns; ++column) {
            run.ui().Yield();
            if (options.columnRange && column > options.rangeEnd) {
                visited += used.columns - options.rangeEnd;
                break;
            }
            ++visited;
            // The labels change far less often than cells pass; redraw them when the bar moves.
            const int steps = run::ProgressStepsFor(visited, cellsInRectangle);
            if (steps != lastSteps || visited == cellsInRectangle) {
                lastSteps = steps;
                run.ui().SetSheetText(sheet.name());
                run.ui().SetBarSteps(ProgressBar::Sheet, steps);
                run.ui().SetProcessText(percentText(visited, cellsInRectangle, job));
            }
            const office::sheet::CellValue value = sheet.value(row, column);
            if (value.isEmpty()) continue;
            const QString text = office::sheet::valueToText(value, job.locale);
            if (IsExportedCell(value, text, column, options, job.numberSymbols)) {
                ++job.writeCounter;
                writer.WriteCellBlock(row, column, text);
            }
        }
    }

    const office::Status finished = writer.finish();
    if (!finished) logWriteFailure(run, outputPath, finished);
    const int logged = writer.cellsWritten() + (options.comments ? commentsWritten : 0);
    run.WriteLog(run.T(QStringLiteral("-- ")) + sheet.name() + QStringLiteral(" (") + QString::number(sheet.index()) +
                 QStringLiteral(") -- ") + QString::number(logged) + u' ' + run.T(QStringLiteral("Zellen")));
}

}  // namespace

void ExportWorkbook(RunContext &run, const QString &fullPath) {
    std::unique_ptr<office::sheet::Workbook> workbook;
    const office::Status opened = office::sheet::Workbook::open(fullPath, workbook);

    const qsizetype slash = fullPath.lastIndexOf(u'/');
    WorkbookJob job{run, fullPath.left(slash + 1), fullPath.mid(slash + 1)};
    // The workbook closes with `workbook` on every return, refused or not.
    if (!run::PathLengthCheck(run, job.folder, job.fileName, kTaggedExportPathLimit)) {
        run.runError = true;
        return;
    }
    if (RefuseLineBreakInName(run, job.fileName)) return;
    if (!workbook) {
        ReportUnopenedWorkbook(run, fullPath, opened);
        return;
    }

    job.sheetCount = workbook->worksheetCount();
    ShowWorkbookExportStart(run, job.fileName);

    for (int number = 1; number <= job.sheetCount; ++number) {
        Worksheet &sheet = *workbook->worksheet(number);
        run.ui().SetSheetText(sheet.name());
        run.ui().ShowProgress(ProgressBar::Sheet, 0, 1);
        run.ui().SetProcessText(QString());
        ++job.sheetOrdinal;

        const importing::UsedRange used = importing::DetectUsedRange(sheet, &run.ui());
        if (!used.sheetEmpty) exportSheet(job, sheet, used);

        run.ui().SetProcessText(QStringLiteral("100 % -- ") + QString::number(job.sheetOrdinal) + u'/' +
                                QString::number(job.sheetCount));
        if (used.sheetEmpty)
            run.WriteLog(QStringLiteral("-- ") + sheet.name() + u':' + run.T(QStringLiteral("   Diese Tabelle ist leer.")));
        run.ui().ShowProgress(ProgressBar::Run, run.fileOrdinal, std::max(run.selectedFileCount, 1));
        run.ui().SetProcessText(QString());
    }

    run.counter().CountText(QString(), true, job.sheetCount);
    for (const QString &line : run.report().FileReport(run.counter())) run.WriteLog(line);
}

}  // namespace celltrove::exporting
