#pragma once

#include "run/RunOutcome.h"
#include "run/RunRequest.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace celltrove::cli {

/// Puts the run's files into the request: each must end in `suffix` (any case)
/// and all must lie in one folder, which becomes the run's folder. On failure
/// returns false with the reason in `error` (already translated where the
/// desktop program shows the same text).
bool CollectRunFiles(const QStringList &files, const QString &suffix, const QString &wrongTypeText,
                     run::RunRequest &request, QString &error, bool &wrongType);

/// The end of a run on the command line: the log's path on `out` when the run
/// got as far as its files; the exit status for the outcome.
int FinishRun(const run::RunOutcome &outcome, QTextStream &out);

}  // namespace celltrove::cli
