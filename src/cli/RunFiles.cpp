#include "cli/RunFiles.h"

#include "cli/CliCommand.h"

#include <QFileInfo>

namespace celltrove::cli {

bool CollectRunFiles(const QStringList &files, const QString &suffix, const QString &wrongTypeText,
                     run::RunRequest &request, QString &error, bool &wrongType) {
    wrongType = false;
    QString folder;
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (info.suffix().compare(suffix, Qt::CaseInsensitive) != 0) {
            wrongType = true;
            error = wrongTypeText;
            return false;
        }
        const QString fileFolder = info.absolutePath();
        if (!folder.isEmpty() && fileFolder != folder) {
            error = QStringLiteral("Alle Dateien müssen in einem Ordner liegen.");
            return false;
        }
        folder = fileFolder;
        request.selectedFiles << info.fileName();
    }
    request.folder = run::WithTrailingSeparator(folder);
    return true;
}

int FinishRun(const run::RunOutcome &outcome, QTextStream &out) {
    if (outcome.ran) out << outcome.logPath << "\n";
    return outcome.runError || !outcome.ran ? kExitRunError : kExitOk;
}

}  // namespace celltrove::cli
