#pragma once

#include "run/RunContext.h"

#include <functional>

namespace celltrove::run {

/// The work a run does on one selected file; `fullPath` is folder + file name.
using FileAction = std::function<void(RunContext &run, const QString &fullPath)>;

/// Logs the start of the workbook engine ("Excel gestartet - Version: …").
/// The engine is in-process, so it always starts; true.
bool StartExcel(RunContext &run);
/// Logs the start of the document engine ("Word gestartet - Version: …"); true.
bool StartWord(RunContext &run);

/// The file loop of an export (`exportFlag` true) or import run, with the run
/// log already open: logs the number of selected files, starts the engines,
/// runs `perFile` on every selected file under its "exportiere"/"importiere"
/// lines, stores the folder as the most recent project, writes the total report
/// and, when a file was refused, the error line, and closes the log.
/// With no file selected it shows "Keine Dateien gewählt!" and closes the log.
void StartFilter(RunContext &run, bool exportFlag, const FileAction &perFile);

}  // namespace celltrove::run
