#include "import/RunLogStart.h"

#include "office/sheet/ValueText.h"

#include <celltrove/Version.h>

#include <QDateTime>

namespace celltrove::importing {

bool StartRunLog(run::RunContext &run, const QString &logPath, const QString &formatLine) {
    if (!run.log().OpenLog(logPath, false)) {
        run.ui().ShowCritical(run.T(QStringLiteral("Kann Log-Datei nicht schreiben: ")) + logPath +
                                  QStringLiteral(" (") + run.log().errorString() + u')',
                              run.T(QStringLiteral("Fehler")));
        return false;
    }
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    run.WriteLog(run.T(QStringLiteral("Celltrove für Excel - Build ")) + QString::number(kBuildNumber));
    run.WriteLog(locale.toString(now.date(), office::sheet::shortDatePatternWithFullYear(locale)) + u'\t' +
                 locale.toString(now.time(), office::sheet::timePatternWithSeconds(locale)));
    run.WriteLog(formatLine);
    return true;
}

}  // namespace celltrove::importing
