#pragma once

#include <QStringList>
#include <QTextStream>

namespace celltrove::cli {

/// Exit statuses of celltrove-cli.
enum ExitStatus { kExitOk = 0, kExitRunError = 1, kExitUsage = 2 };

/// A sub-command: gets the arguments after its name, returns an exit status.
using CommandFunction = int (*)(const QStringList &args, QTextStream &out, QTextStream &err);

struct CliCommand {
    const char *name;
    const char *usage;  ///< one line for the help text, e.g. "cells FILE.xls"
    CommandFunction run;
    /// What "celltrove-cli NAME --help" prints below the usage line: what the command
    /// does, its options and its exit statuses. Lives beside the command's code.
    const char *help = nullptr;
};

// One function per sub-command, each in its own file, with its help text there.
extern const char *const kVersionHelp;
extern const char *const kCellsHelp;
extern const char *const kTextHelp;
extern const char *const kExportHelp;
extern const char *const kImportHelp;
extern const char *const kCatHelp;
extern const char *const kSplitHelp;
int versionCommand(const QStringList &args, QTextStream &out, QTextStream &err);
int cellsCommand(const QStringList &args, QTextStream &out, QTextStream &err);
int textCommand(const QStringList &args, QTextStream &out, QTextStream &err);
int exportCommand(const QStringList &args, QTextStream &out, QTextStream &err);
int importCommand(const QStringList &args, QTextStream &out, QTextStream &err);
int catCommand(const QStringList &args, QTextStream &out, QTextStream &err);
int splitCommand(const QStringList &args, QTextStream &out, QTextStream &err);

}  // namespace celltrove::cli
