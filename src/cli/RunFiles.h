#pragma once

#include "run/RunOutcome.h"
#include "run/RunRequest.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace celltrove::cli {

/// Writes `message` (when there is one) and the command's `usage` to `err`;
/// returns the exit status of a usage error.
int UsageError(QTextStream &err, const QString &message, const char *usage);

/// Puts the run's files into the request: each must end in `suffix` (any case)
/// and all must lie in one folder, which becomes the run's folder. On failure
/// writes the reason to `err` and returns false: a file of the wrong type gets
/// `wrongTypeText` alone, as the desktop program shows it; anything else is
/// followed by the command's `usage`.
bool CollectRunFiles(const QStringList &files, const QString &suffix, const QString &wrongTypeText,
                     const char *usage, run::RunRequest &request, QTextStream &err);

/// The same with several accepted suffixes.
bool CollectRunFiles(const QStringList &files, const QStringList &suffixes, const QString &wrongTypeText,
                     const char *usage, run::RunRequest &request, QTextStream &err);

/// The end of a run on the command line: the log's path on `out` when the run
/// got as far as its files; the exit status for the outcome.
int FinishRun(const run::RunOutcome &outcome, QTextStream &out);

}  // namespace celltrove::cli
