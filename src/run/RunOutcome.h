#pragma once

#include <QString>

namespace celltrove::run {

/// How an export or import run ended.
struct RunOutcome {
    /// False when the run stopped before its file loop (log not writable, wrong
    /// file type, no file selected).
    bool ran = false;
    /// The run error flag: some file was refused or not written, or the run could not start.
    bool runError = false;
    /// The run log in the working folder.
    QString logPath;
};

}  // namespace celltrove::run
