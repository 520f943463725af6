#pragma once

#include "run/RunContext.h"

#include <QString>

namespace celltrove::importing {

/// Opens a new run log at logPath and writes its header: the build line, the
/// date and time, and formatLine (already translated). When the log cannot be
/// written, tells the user and returns false; the run must not start.
bool StartRunLog(run::RunContext &run, const QString &logPath, const QString &formatLine);

}  // namespace celltrove::importing
