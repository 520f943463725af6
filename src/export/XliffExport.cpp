#include "export/XliffExport.h"

#include <celltrove/Version.h>
#include "count/AnalysisReport.h"
#include "export/CellFilter.h"
#include "export/ExportSteps.h"
#include "export/WorkbookExport.h"
#include "export/XliffWriter.h"
#include "import/UsedRange.h"
#include "import/XliffVocabulary.h"
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"
#include "run/ColumnLetters.h"

#include <QHash>

namespace celltrove::exporting {

using office::sheet::Worksheet;
using run::ProgressBar;
using run::RunContext;
namespace xliff = importing::xliff;

namespace {

// Everything one workbook's export shares between its sheets.
struct XliffJob {
    RunContext &run;
    QString folder;
    QString fileName;
    XliffWriter writer{};
    bool writerOpen = false;
    office::Status writeStatus{};
    SheetPlace place{};
    QLocale locale = QLocale::system();
    office::sheet::NumberSymbols numberSymbols = office::sheet::NumberSymbols::of(locale);
};

QString a1Reference(int row, int column) {
    return run::columnLetters(column) + QString::number(row);
}

QString percentText(qint64 visited, qint64 total, const XliffJob &job) {
    return SheetPercentText(visited, total, job.locale, job.place);
}

// One non-empty worksheet: its <file> with the comment units, then the cell units.
void exportSheet(XliffJob &job, Worksheet &sheet, const importing::UsedRange &used) {
    RunContext &run = job.run;
    const run::RunOptions &options = run.request().options;
    sheet.setDisplayFormulas(options.formulas);
    sheet.showAllColumns();
    sheet.showAllOutlineLevels();

    if (!job.writerOpen) {
        job.writeStatus = job.writer.open(job.folder + XliffFileName(job.fileName));
        job.writerOpen = true;
    }
    XliffSheetHeader header;
    header.workbookFileName = job.fileName;
    header.sheetName = sheet.name();
    header.sheetIndex = sheet.index();
    header.sourceLanguage = XliffSourceLanguage(run.request());
    header.targetLanguage = run.request().targetLanguage;
    header.toolName = run.T(QStringLiteral("Celltrove für Excel"));
    header.toolVersion = QString::fromLatin1(kVersionText) + u'.' + QString::fromLatin1(kBuildText);
    job.writer.beginFile(header);

    // Comments travel as units of their own and as notes on their cells' units.
    QHash<qint64, QString> notes;
    int commentsWritten = 0;
    if (options.comments) {
        for (const office::sheet::Comment &comment : sheet.comments()) {
            run.counter().CountText(comment.text, false, 1);
            job.writer.writeUnit(xliff::kCommentIdPrefix + xliff::CellUnitId(comment.row, comment.column),
                                 xliff::kCommentIdPrefix + a1Reference(comment.row, comment.column), comment.text);
            notes.insert(qint64(comment.row) << 16 | comment.column, comment.text);
        }
        commentsWritten = sheet.commentCount();
    }

    const qint64 cellsInRectangle = qint64(used.rows) * used.columns;
    qint64 visited = 0;
    int lastSteps = -1;
    int cellsWritten = 0;
    for (int row = 1; row <= used.rows; ++row) {
        for (int column = 1; column <= used.columns; ++column) {
            run.ui().Yield();
            if (options.columnRange && column > options.rangeEnd) {
                visited += used.columns - options.rangeEnd;
                break;
            }
            ++visited;
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
            if (!IsExportedCell(value, text, column, options, job.numberSymbols)) continue;
            run.counter().CountText(text, false, 1);
            ++cellsWritten;
            job.writer.writeUnit(xliff::CellUnitId(row, column), a1Reference(row, column), text,
                                 notes.value(qint64(row) << 16 | column));
        }
    }
    job.writer.endFile();

    const int logged = cellsWritten + commentsWritten;
    run.WriteLog(run.T(QStringLiteral("-- ")) + sheet.name() + QStringLiteral(" (") + QString::number(sheet.index()) +
                 QStringLiteral(") -- ") + QString::number(logged) + u' ' + run.T(QStringLiteral("Zellen")));
}

}  // namespace

QString XliffFileName(const QString &workbookFileName) {
    return QStringLiteral("Text_") + workbookFileName + QStringLiteral(".xlf");
}

QString XliffSourceLanguage(const run::RunRequest &request) {
    if (!request.sourceLanguage.isEmpty()) return request.sourceLanguage;
    const QLocale system = QLocale::system();
    // The "C" locale names no language; XLIFF needs one.
    if (system.language() == QLocale::C) return QStringLiteral("en-US");
    return system.name().replace(u'_', u'-');
}

void ExportWorkbookAsXliff(RunContext &run, const QString &fullPath) {
    const qsizetype slash = fullPath.lastIndexOf(u'/');
    XliffJob job{run, fullPath.left(slash + 1), fullPath.mid(slash + 1)};
    const std::unique_ptr<office::sheet::Workbook> workbook =
        OpenWorkbookForCellExport(run, fullPath, job.folder, job.fileName);
    if (!workbook) return;

    ShowWorkbookExportStart(run, job.fileName);
    ExportEachSheet(run, *workbook, job.place, [&job](Worksheet &sheet, const importing::UsedRange &used) {
        if (job.writeStatus) exportSheet(job, sheet, used);
    });

    // A workbook without a non-empty sheet gets no file: XLIFF needs at least one <file>.
    if (job.writerOpen && job.writeStatus) job.writeStatus = job.writer.commit();
    if (!job.writeStatus) {
        const QString path = job.folder + XliffFileName(job.fileName);
        run.WriteLog(run.T(QStringLiteral("Kann Datei nicht speichern: ")) + path + QStringLiteral(" (") +
                     job.writeStatus.message + u')');
        run.runError = true;
    }

    WriteFileReport(run, job.place.count);
}

}  // namespace celltrove::exporting
