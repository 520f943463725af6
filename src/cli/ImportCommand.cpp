// celltrove-cli import FILE.rtf|FILE.xlf...: the import run on translated documents of
// one folder, with the same run log as the desktop program.

#include "cli/CliCommand.h"
#include "cli/CliRunUi.h"
#include "cli/RunFiles.h"
#include "import/ImportRun.h"

#include <QFileInfo>

namespace celltrove::cli {

const char *const kImportHelp =
    "Schreibt die übersetzten Texte getaggter RTF-Dokumente oder XLIFF-Dateien (alle in\n"
    "einem Ordner) in die Zellen der Arbeitsmappen zurück, die ihr Kopf nennt, wie\n"
    "\"Importiere Text\" im Programm; das Protokoll Celltrove4Excel-Import.log entsteht im selben Ordner, sein\n"
    "Pfad wird ausgegeben.\n\n"
    "Exit-Status: 0 ohne Fehler, 1 wenn eine Datei abgewiesen wurde, 2 bei falschem Aufruf.\n";

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
