// celltrove-cli: the runs of the desktop program without windows.

#include "cli/CliCommand.h"

#include <QCoreApplication>

#include <iterator>

using namespace celltrove::cli;

namespace {

// Sub-commands in the order the help text lists them.
const CliCommand kCommands[] = {
    {"--version", "--version", versionCommand},
    {"cells", "cells DATEI.xls", cellsCommand},
    {"text", "text DATEI.rtf|DATEI.doc", textCommand},
    {"export", "export [--numbers] [--formulas] [--no-comments] [--columns FROM-TO] FILE.xls...", exportCommand},
    {"import", "import DATEI.rtf...", importCommand},
};

int usage(QTextStream &err) {
    err << "Aufruf:\n";
    for (const CliCommand &c : kCommands) err << "  celltrove-cli " << c.usage << "\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("CellTroveExcel"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) return usage(err);
    for (const CliCommand &c : kCommands)
        if (args.first() == QLatin1String(c.name)) return c.run(args.mid(1), out, err);
    return usage(err);
}
