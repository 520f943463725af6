#include "cli/CliCommand.h"
#include "cli/CliRunUi.h"
#include "cli/RunFiles.h"
#include "export/ExportRun.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace celltrove::cli {

const char *const kExportHelp =
    "Exportiert die Zelltexte der Arbeitsmappen (alle in einem Ordner) in getaggte\n"
    "RTF-Dokumente \"Text_<Mappe>-<Blatt>.rtf\" neben den Mappen, wie \"Exportiere Text\"\n"
    "im Programm; das Protokoll Celltrove4Excel-Export.log entsteht im selben Ordner,\n"
    "sein Pfad wird ausgegeben.\n\n"
    "Optionen:\n"
    "  --format FORMAT  rtf (getaggtes RTF, Vorgabe), tables (Tabelle als RTF, \"Tab_…\"),\n"
    "                   doc (Tabelle als Word-Dokument, \"Doc_…\"), txt (Text je Blatt),\n"
    "                   unicode (Unicode-Text je Blatt, \"…-uni.txt\"), html (eine Seite je Mappe),\n"
    "                   xliff (XLIFF 1.2, \"Text_<Mappe>.xlf\", eine Datei je Mappe)\n"
    "  --numbers        auch Zahlen exportieren\n"
    "  --formulas       Formeln statt ihrer Ergebnisse exportieren\n"
    "  --no-comments    keine Kommentare exportieren\n"
    "  --columns VON-BIS  nur die Spalten VON bis BIS (1 … 256)\n"
    "  --source-language TAG  Ausgangssprache der XLIFF-Datei (Vorgabe: die des Systems)\n"
    "  --target-language TAG  Zielsprache der XLIFF-Datei (Vorgabe: keine)\n\n"
    "Exit-Status: 0 ohne Fehler, 1 wenn eine Datei abgewiesen wurde, 2 bei falschem Aufruf.\n";

namespace {

const char *const kExportUsage =
    "Aufruf: celltrove-cli export [--format rtf|tables|doc|txt|unicode|html|xliff] [--numbers] [--formulas] "
    "[--no-comments] [--columns FROM-TO] [--source-language de-DE] [--target-language en-US] FILE.xls...\n";

// The --format names, in the order of the main window's format list.
bool parseFormat(const QString &name, run::ExportFormat &format) {
    static const std::pair<const char *, run::ExportFormat> kNames[] = {
        {"rtf", run::ExportFormat::TaggedRtf}, {"tables", run::ExportFormat::RtfTables},
        {"doc", run::ExportFormat::Doc},       {"txt", run::ExportFormat::Text},
        {"unicode", run::ExportFormat::UnicodeText}, {"html", run::ExportFormat::Html},
        {"xliff", run::ExportFormat::Xliff}};
    for (const auto &[text, value] : kNames) {
        if (name != QLatin1String(text)) continue;
        format = value;
        return true;
    }
    return false;
}

bool parseColumns(const QString &text, run::RunOptions &options) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})-(\\d{1,3})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return false;
    options.rangeStart = m.captured(1).toInt();
    options.rangeEnd = m.captured(2).toInt();
    options.columnRange = true;
    const auto valid = [](int c) { return c >= 1 && c <= 256; };
    return valid(options.rangeStart) && valid(options.rangeEnd);
}

// A language tag as XLIFF takes it: "de", "de-DE", "zh-Hant-TW".
bool isLanguageTag(const QString &text) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z]{2,8}(-[A-Za-z0-9]{1,8})*$"));
    return pattern.match(text).hasMatch();
}

int usageError(QTextStream &err, const QString &message) { return UsageError(err, message, kExportUsage); }

}  // namespace

int exportCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    run::RunRequest request;  // the main window's defaults for "Excel --> Word (*.RTF)"
    run::SettingsStore settings;
    run::TextLookup texts;
    if (!settings.language().isEmpty()) texts.LoadLanguageFile(settings.language());

    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--numbers")) {
            request.options.exportNumbers = true;
        } else if (a == QLatin1String("--formulas")) {
            request.options.formulas = true;
        } else if (a == QLatin1String("--no-comments")) {
            request.options.comments = false;
        } else if (a == QLatin1String("--format")) {
            if (++i >= args.size() || !parseFormat(args.at(i), request.format))
                return usageError(err, QStringLiteral("--format rtf|tables|doc|txt|unicode|html|xliff"));
        } else if (a == QLatin1String("--columns")) {
            if (++i >= args.size() || !parseColumns(args.at(i), request.options))
                return usageError(err, QStringLiteral("--columns FROM-TO: 1 … 256"));
        } else if (a == QLatin1String("--source-language") || a == QLatin1String("--target-language")) {
            if (++i >= args.size() || !isLanguageTag(args.at(i))) return usageError(err, a + QStringLiteral(" de-DE"));
            (a == QLatin1String("--source-language") ? request.sourceLanguage : request.targetLanguage) = args.at(i);
        } else if (a.startsWith(QLatin1String("--"))) {
            return usageError(err, a);
        } else {
            files << a;
        }
    }
    if (files.isEmpty()) return usageError(err, QString());

    if (!CollectRunFiles(files, QStringLiteral("xls"), texts.LookupText(QStringLiteral("Für den Export nur XLS-Dateien auswählen!")),
                         kExportUsage, request, err))
        return kExitUsage;

    CliRunUi ui(err);
    return FinishRun(exporting::RunExport(request, texts, settings, ui), out);
}

}  // namespace celltrove::cli
