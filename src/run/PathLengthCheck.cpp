#include "run/PathLengthCheck.h"

namespace celltrove::run {

bool PathLengthCheck(RunContext &run, const QString &folder, const QString &fileName, int limit) {
    const QString path = folder + fileName;
    if (path.size() <= limit) return true;
    run.WriteLog(run.T(QStringLiteral("Error: Dateiname zu lang. Bitte kürzen. ")) + QStringLiteral("(-") +
                 QString::number(path.size() - limit) + run.T(QStringLiteral(" Zeichen)")));
    run.WriteLog(u'"' + path + u'"');
    run.WriteLog(QString());
    return false;
}

}  // namespace celltrove::run
