#include "shell/ProgramIcon.h"

namespace celltrove::shell {

QIcon programIcon() {
    // Rendered from data/icons/org.celltrove.Celltrove.svg; built into the program so
    // that it shows wherever the program is started from.
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/celltrove-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace celltrove::shell
