// celltrove-cli text FILE.rtf or FILE.doc: what the document engine reads, one line per
// paragraph or table row (see office::doc::dumpText).

#include "cli/CliCommand.h"

#include "office/doc/Application.h"
#include "office/doc/TextDump.h"

namespace celltrove::cli {

const char *const kTextHelp =
    "Zeigt, was Celltrove aus einem RTF- oder DOC-Dokument liest: eine Zeile je Absatz\n"
    "oder Tabellenzeile.\n\n"
    "Exit-Status: 0, oder 2 wenn die Datei nicht gelesen werden kann.\n";

int textCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 1) {
        err << "Aufruf: celltrove-cli text DATEI.rtf|DATEI.doc\n";
        return kExitUsage;
    }
    office::doc::Application app;
    office::Status status;
    office::doc::Document *doc = app.documents().open(args.first(), &status);
    if (!doc) {
        err << args.first() << ": " << status.message;
        if (status.offset >= 0) err << " (Byte " << status.offset << ")";
        err << "\n";
        return kExitUsage;
    }
    out << office::doc::dumpText(*doc);
    return kExitOk;
}

}  // namespace celltrove::cli
