#pragma once

#include "import/ImportWorkbook.h"
#include "run/RunOutcome.h"
#include "run/RunRequest.h"
#include "run/RunUi.h"
#include "run/SettingsStore.h"
#include "run/TextLookup.h"

namespace celltrove::importing {

using ImportOutcome = run::RunOutcome;

/// Name of the import run's log in the working folder.
inline const QString kImportLogName = QStringLiteral("Celltrove4Excel-Import.log");

/// The import button: opens the run log in the request's folder (replacing an
/// older one), writes the header and option lines, refuses a file-type filter
/// other than RTF files, and runs every selected document through
/// `ImportDocument`, ending with the total report. Workbooks are opened with
/// `openWorkbook` (the workbook engine unless a test gives another).
ImportOutcome RunImport(const run::RunRequest &request, const run::TextLookup &texts, run::SettingsStore &settings,
                        run::RunUi &ui, WorkbookOpener openWorkbook = {});

}  // namespace celltrove::importing
