#include "export/WorkbookExport.h"

#include "count/AnalysisReport.h"
#include "export/CellFilter.h"
#include "export/ExportSteps.h"
#include "export/TaggedDocumentFormat.h"
#include "export/TaggedSheetWriter.h"
#include "import/UsedRange.h"
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"

#include <QFile>

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
    SheetPlace place{};
    int writeCounter = 0;
    QLocale locale = QLocale::system();
    office::sheet::NumberSymbols numberSymbols = office::sheet::NumberSymbols::of(locale);
};

QString percentText(qint64 visited, qint64 total, const WorkbookJob &job) {
    return SheetPercentText(visited, total, job.locale, job.place);
}

void logWriteFailure(RunContext &run, const QString &path, const office::Status &status) {
    run.WriteLog(run.T(QStringLiteral("Kann Datei nicht speichern: ")) + path + QStringLiteral(" (") + status.message +
                 u')');
    run.runError = true;
}

// A document whose save failed ends where the last good save left it, and that
// part still reads as a whole document, which the import would take as the sheet's
// translation. It is this run's own output, written again by the next export.
void removeCutDocument(RunContext &run, const QString &path) {
    if (QFile::remove(path)) run.WriteLog(run.T(QStringLiteral("Unvollständiges Dokument gelöscht: ")) + path);
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
    if (!finished) {
        logWriteFailure(run, outputPath, finished);
        removeCutDocument(run, outputPath);
    }
    const int logged = writer.cellsWritten() + (options.comments ? commentsWritten : 0);
    run.WriteLog(run.T(QStringLiteral("-- ")) + sheet.name() + QStringLiteral(" (") + QString::number(sheet.index()) +
                 QStringLiteral(") -- ") + QString::number(logged) + u' ' + run.T(QStringLiteral("Zellen")));
}

}  // namespace

void ExportWorkbook(RunContext &run, const QString &fullPath) {
    const qsizetype slash = fullPath.lastIndexOf(u'/');
    WorkbookJob job{run, fullPath.left(slash + 1), fullPath.mid(slash + 1)};
    const std::unique_ptr<office::sheet::Workbook> workbook =
        OpenWorkbookForCellExport(run, fullPath, job.folder, job.fileName);
    if (!workbook) return;

    ShowWorkbookExportStart(run, job.fileName);
    ExportEachSheet(run, *workbook, job.place,
                    [&job](Worksheet &sheet, const importing::UsedRange &used) { exportSheet(job, sheet, used); });
    WriteFileReport(run, job.place.count);
}

}  // namespace celltrove::exporting
