#include "cli/RunFiles.h"

#include "cli/CliCommand.h"

#include <QFileInfo>

namespace celltrove::cli {

int UsageError(QTextStream &err, const QString &message, const char *usage) {
    if (!message.isEmpty()) err << message << "\n";
    err << usage;
    return kExitUsage;
}

bool CollectRunFiles(const QStringList &files, const QString &suffix, const QString &wrongTypeText,
                     const char *usage, run::RunRequest &request, QTextStream &err) {
    return CollectRunFiles(files, QStringList{suffix}, wrongTypeText, usage, request, err);
}

bool CollectRunFiles(const QStringList &files, const QStringList &suffixes, const QString &wrongTypeText,
                     const char *usage, run::RunRequest &request, QTextStream &err) {
    QString folder;
    for (const QString &file : files) {
        const QFileInfo info(file);
        if (!suffixes.contains(info.suffix(), Qt::CaseInsensitive)) {
            err << wrongTypeText << "\n";
            return false;
        }
        const QString fileFolder = info.absolutePath();
        if (!folder.isEmpty() && fileFolder != folder) {
            UsageError(err, QStringLiteral("Alle Dateien müssen in einem Ordner liegen."), usage);
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
