// celltrove-cli import FILE.rtf|FILE.xlf...: the import run on translated documents of
// one folder, with the same run log as the desktop program.

#include "cli/CliCommand.h"
#include "cli/CliRunUi.h"
#include "cli/RunFiles.h"
#include "import/ImportRun.h"

#include <QFileInfo>

namespace celltrove::cli {

namespace {

const char *const kImportUsage = "Aufruf: celltrove-cli import DATEI.rtf|DATEI.xlf...\n";

int usageError(QTextStream &err, const QString &message) { return UsageError(err, message, kImportUsage); }

}  // namespace

int importCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    run::SettingsStore settings;
    run::TextLookup texts;
    if (!settings.language().isEmpty()) texts.LoadLanguageFile(settings.language());
    if (args.isEmpty()) return usageError(err, QString());

    run::RunRequest request;
    request.fileTypeFilter = run::FileTypeFilter::Rtf;
    for (const QString &file : args)
        if (file.startsWith(QLatin1String("--"))) return usageError(err, file);
    if (!CollectRunFiles(args, QStringList{QStringLiteral("rtf"), QStringLiteral("xlf")}, texts.LookupText(QStringLiteral("Für den Import nur RTF-Dateien auswählen!")),
                         kImportUsage, request, err))
        return kExitUsage;

    CliRunUi ui(err);
    return FinishRun(importing::RunImport(request, texts, settings, ui), out);
}

}  // namespace celltrove::cli
