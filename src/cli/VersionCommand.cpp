#include "cli/CliCommand.h"

#include <celltrove/Version.h>

namespace celltrove::cli {

const char *const kVersionHelp = "Zeigt Programmname, Version und Build-Nummer.\n";

int versionCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (!args.isEmpty()) {
        err << "Aufruf: celltrove-cli --version\n";
        return kExitUsage;
    }
    out << "Celltrove für Excel " << kVersionText << " Build " << kBuildText << "\n";
    return kExitOk;
}

}  // namespace celltrove::cli
