#pragma once

#include "run/RunContext.h"

namespace celltrove::exporting {

/// "Text_" + workbook file name + ".xlf".
QString XliffFileName(const QString &workbookFileName);

/// The request's source language, or the system locale's ("de-DE").
QString XliffSourceLanguage(const run::RunRequest &request);

/// Exports one workbook as one XLIFF 1.2 file beside it, "Text_<workbook>.xlf",
/// with a `<file>` per non-empty worksheet and a unit per cell that the tagged
/// export would write (same options, same counting, same sheet lines and file
/// analysis) and per comment. A workbook that cannot be opened or written, or
/// whose path is too long, sets the run error flag. The workbook is never changed.
void ExportWorkbookAsXliff(run::RunContext &run, const QString &fullPath);

}  // namespace celltrove::exporting
