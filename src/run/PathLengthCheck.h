#pragma once

#include "run/RunContext.h"

namespace celltrove::run {

/// True when `folder` + `fileName` is at most `limit` characters (UTF-16 units).
/// Otherwise writes three lines to the run log (the error with the excess, the
/// quoted path, an empty line) and returns false.
bool PathLengthCheck(RunContext &run, const QString &folder, const QString &fileName, int limit);

}  // namespace celltrove::run
