#pragma once

#include "run/RunRequest.h"

#include <QString>
#include <QStringList>

namespace celltrove::cli {

/// Puts the run's files into the request: each must end in `suffix` (any case)
/// and all must lie in one folder, which becomes the run's folder. On failure
/// returns false with the reason in `error` (already translated where the
/// desktop program shows the same text).
bool CollectRunFiles(const QStringList &files, const QString &suffix, const QString &wrongTypeText,
                     run::RunRequest &request, QString &error, bool &wrongType);

}  // namespace celltrove::cli
