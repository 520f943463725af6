// celltrove-cli split [--name NAME] JOINED.rtf...: cuts joined documents back into
// their parts in their folder; the run log is "split" + NAME + ".log" there, as
// the desktop program names it after its name box.

#include "cli/CliCommand.h"
#include "cli/CliRunUi.h"
#include "cli/RunFiles.h"
#include "tool/ToolRun.h"

namespace celltrove::cli {

const char *const kSplitHelp =
    "Zerlegt zusammengefügte Dokumente wieder in ihre Teile, wie \"Split\" im Programm:\n"
    "jeder Teil wird unter seinem eigenen Namen im Ordner des Dokuments geschrieben\n"
    "(eine Datei dieses Namens wird ersetzt); das Dokument selbst bleibt unverändert.\n"
    "Das Protokoll \"split<NAME>.log\" entsteht im selben Ordner, sein Pfad wird ausgegeben.\n\n"
    "Optionen:\n"
    "  --name NAME      Name für das Protokoll (ohne: split.log)\n\n"
    "Exit-Status: 0 ohne Fehler, 1 wenn eine Datei abgewiesen wurde, 2 bei falschem Aufruf.\n";

namespace {

const char *const kSplitUsage = "Aufruf: celltrove-cli split [--name NAME] BINDLE.rtf...\n";

}  // namespace

int splitCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    run::SettingsStore settings;
    run::TextLookup texts;
    if (!settings.language().isEmpty()) texts.LoadLanguageFile(settings.language());

    QString logName;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--name") && i + 1 < args.size()) {
            logName = args.at(++i);
            if (logName.contains(u'/')) return UsageError(err, logName, kSplitUsage);
        } else if (a.startsWith(QLatin1String("--"))) {
            return UsageError(err, a, kSplitUsage);
        } else {
            files << a;
        }
    }
    if (files.isEmpty()) return UsageError(err, QString(), kSplitUsage);

    run::RunRequest request;
    if (!CollectRunFiles(files, QStringLiteral("rtf"), QStringLiteral("Nur RTF-Dateien auswählen!"), kSplitUsage,
                         request, err))
        return kExitUsage;
    CliRunUi ui(err);
    return FinishRun(tool::RunSplit(request.folder, logName, request.selectedFiles, texts, settings, ui), out);
}

}  // namespace celltrove::cli
