#pragma once

#include "run/RunOutcome.h"
#include "run/RunRequest.h"
#include "run/RunUi.h"
#include "run/SettingsStore.h"
#include "run/TextLookup.h"

namespace celltrove::exporting {

using run::RunOutcome;

/// Name of the export run's log in the working folder.
inline const QString kExportLogName = QStringLiteral("Celltrove4Excel-Export.log");

/// The export button: corrects an inverted column range to 1 … 256, opens the
/// run log in the request's folder (replacing an older one), writes the header
/// and option lines, refuses a file-type filter other than Excel files, and
/// runs every selected file through `ExportFile`, ending with the total report.
/// An unwritable log is a critical message and ends the run before any export.
RunOutcome RunExport(run::RunRequest request, const run::TextLookup &texts, run::SettingsStore &settings,
                     run::RunUi &ui);

}  // namespace celltrove::exporting
