#pragma once

#include "run/RunRequest.h"
#include "run/RunUi.h"
#include "run/SettingsStore.h"
#include "run/TextLookup.h"

namespace celltrove::exporting {

/// How an export run ended.
struct RunOutcome {
    /// False when the run stopped before its file loop (log not writable, wrong
    /// file type, no file selected).
    bool ran = false;
    /// The run error flag: some file was refused, or the run could not start.
    bool runError = false;
    /// The run log ("<folder>/Celltrove4Excel-Export.log").
    QString logPath;
};

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
