// celltrove-cli text FILE.rtf or FILE.doc: what the document engine reads, one line per
// paragraph or table row (see office::doc::dumpText).

#include "cli/CliCommand.h"

#include "office/doc/Application.h"
#include "office/doc/TextDump.h"

namespace celltrove::cli {

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
