// celltrove-cli cat --name JOINED.rtf FILE.rtf...: joins documents of one folder
// into "bindle/JOINED.rtf" there, with the same run log as the desktop program.

#include "cli/CliCommand.h"
#include "cli/CliRunUi.h"
#include "cli/RunFiles.h"
#include "tool/ToolRun.h"

namespace celltrove::cli {

const char *const kCatHelp =
    "Fügt RTF-Dokumente eines Ordners in der angegebenen Reihenfolge zu einem Dokument\n"
    "zusammen, wie \"Cat\" im Programm: es entsteht im Unterordner \"bindle\" des Ordners,\n"
    "mit dem Protokoll \"bindle/<NAME>.log\", dessen Pfad ausgegeben wird.\n\n"
    "Optionen:\n"
    "  --name NAME      Name des zusammengefügten Dokuments (\".rtf\" wird ergänzt)\n\n"
    "Exit-Status: 0 ohne Fehler, 1 wenn eine Datei abgewiesen wurde, 2 bei falschem Aufruf.\n";

namespace {

const char *const kCatUsage = "Aufruf: celltrove-cli cat --name BINDLE.rtf DATEI.rtf...\n";

// The characters the desktop program's name box refuses: none of them may stand in a file name.
bool isPlainFileName(const QString &name) {
    for (const QChar c : name)
        if (QStringLiteral(":?*/\\<>|\"").contains(c) || c.category() == QChar::Other_Control) return false;
    return true;
}

}  // namespace

int catCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    run::SettingsStore settings;
    run::TextLookup texts;
    if (!settings.language().isEmpty()) texts.LoadLanguageFile(settings.language());

    QString joinedName;
    bool named = false;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--name") && i + 1 < args.size()) {
            joinedName = args.at(++i);
            named = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return UsageError(err, a, kCatUsage);
        } else {
            files << a;
        }
    }
    // The name rules of the "Cat" button: a name is needed, ".rtf" is added when missing.
    if (!named || joinedName.isEmpty() || joinedName == QLatin1String(".rtf"))
        return UsageError(err, texts.LookupText(QStringLiteral("Bindle-Dateinamen eingeben")), kCatUsage);
    if (!isPlainFileName(joinedName)) return UsageError(err, joinedName, kCatUsage);
    if (!joinedName.endsWith(QLatin1String(".rtf"))) joinedName += QStringLiteral(".rtf");
    if (files.isEmpty()) return UsageError(err, QString(), kCatUsage);

    run::RunRequest request;
    if (!CollectRunFiles(files, QStringLiteral("rtf"), QStringLiteral("Nur RTF-Dateien auswählen!"), kCatUsage, request,
                         err))
        return kExitUsage;
    CliRunUi ui(err);
    return FinishRun(tool::RunCat(request.folder, joinedName, request.selectedFiles, texts, settings, ui), out);
}

}  // namespace celltrove::cli
