// celltrove-cli: the runs of the desktop program without windows.

#include "cli/CliCommand.h"

#include <QCoreApplication>

#include <iterator>

using namespace celltrove::cli;

namespace {

// Sub-commands in the order the help text lists them.
const CliCommand kCommands[] = {
    {"--version", "--version", versionCommand, kVersionHelp},
    {"cells", "cells DATEI.xls", cellsCommand, kCellsHelp},
    {"text", "text DATEI.rtf|DATEI.doc", textCommand, kTextHelp},
    {"export",
     "export [--format rtf|tables|doc|txt|unicode|html|xliff] [--numbers] [--formulas] [--no-comments] "
     "[--columns FROM-TO] [--source-language TAG] [--target-language TAG] FILE.xls...",
     exportCommand, kExportHelp},
    {"import", "import DATEI.rtf|DATEI.xlf...", importCommand, kImportHelp},
    {"cat", "cat --name BINDLE.rtf DATEI.rtf...", catCommand, kCatHelp},
    {"split", "split [--name NAME] BINDLE.rtf...", splitCommand, kSplitHelp},
};

void listCommands(QTextStream &stream) {
    stream << "Aufruf:\n";
    for (const CliCommand &c : kCommands) stream << "  celltrove-cli " << c.usage << "\n";
}

int usage(QTextStream &err) {
    listCommands(err);
    return kExitUsage;
}

int help(QTextStream &out) {
    out << "celltrove-cli: die Läufe von Celltrove für Excel ohne Fenster.\n\n";
    listCommands(out);
    out << "\n  celltrove-cli --help          diese Übersicht\n"
           "  celltrove-cli BEFEHL --help   Hilfe zu einem Befehl\n\n"
           "Exit-Status: 0 ohne Fehler, 1 wenn der Lauf einen Fehler hatte, 2 bei falschem Aufruf.\n";
    return kExitOk;
}

int commandHelp(const CliCommand &c, QTextStream &out) {
    out << "Aufruf: celltrove-cli " << c.usage << "\n";
    if (c.help) out << "\n" << c.help;
    return kExitOk;
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("CellTroveExcel"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) return usage(err);
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) return help(out);
    for (const CliCommand &c : kCommands) {
        if (args.first() != QLatin1String(c.name)) continue;
        if (args.size() == 2 && (args.at(1) == QLatin1String("--help") || args.at(1) == QLatin1String("-h")))
            return commandHelp(c, out);
        return c.run(args.mid(1), out, err);
    }
    return usage(err);
}
