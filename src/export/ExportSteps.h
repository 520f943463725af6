#pragma once

#include "office/ole/OfficeStatus.h"
#include "run/RunContext.h"

#include <QString>

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

}  // namespace celltrove::exporting
