#pragma once

#include "import/UsedRange.h"
#include "office/ole/OfficeStatus.h"
#include "office/sheet/Workbook.h"
#include "run/RunContext.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <memory>

namespace celltrove::exporting {

/// A workbook that could not be opened: the log line with its reason, the message
/// box, and the run error flag (a workbook that was not exported fails the run).
void ReportUnopenedWorkbook(run::RunContext &run, const QString &fullPath, const office::Status &opened);

/// Refuses a workbook whose file name holds a line break, with a log line and the
/// run error flag: the exported file names its workbook on one line (a header line
/// or an XML attribute), so the import would look for another workbook. True when refused.
bool RefuseLineBreakInName(run::RunContext &run, const QString &fileName);

/// The progress window at the start of a workbook's export: caption and file name.
void ShowWorkbookExportStart(run::RunContext &run, const QString &fileName);

/// A sheet's place among its workbook's sheets (1-based ordinal), for the progress texts.
struct SheetPlace {
    int ordinal = 0;
    int count = 0;
};

/// "NN % -- i/n": how much of a sheet's cells are written, and the sheet's place.
QString SheetPercentText(qint64 visited, qint64 total, const QLocale &locale, const SheetPlace &place);

/// Opens a workbook for a cell-by-cell export (tagged RTF, XLIFF) with the refusals
/// they share: the path limit, a line break in the name, a workbook that cannot be
/// opened. Null when refused; the refusal is logged and flags the run.
std::unique_ptr<office::sheet::Workbook> OpenWorkbookForCellExport(run::RunContext &run, const QString &fullPath,
                                                                   const QString &folder, const QString &fileName);

/// Walks a workbook's worksheets with the progress texts and the empty-sheet lines of
/// a cell-by-cell export, calling exportSheet for every non-empty sheet. `place`
/// follows the walk, so exportSheet's progress texts can show it.
void ExportEachSheet(run::RunContext &run, office::sheet::Workbook &workbook, SheetPlace &place,
                     const std::function<void(office::sheet::Worksheet &, const importing::UsedRange &)> &exportSheet);

/// The end of a workbook's export: its sheets counted as tables, then its file report.
void WriteFileReport(run::RunContext &run, int sheetCount);

}  // namespace celltrove::exporting
