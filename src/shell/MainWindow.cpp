#include "shell/MainWindow.h"

#include <celltrove/Version.h>

namespace celltrove::shell {

QString mainWindowTitle() {
    return QStringLiteral("Celltrove für Excel - Build %1").arg(kBuildNumber);
}

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(mainWindowTitle());
    resize(720, 520);
}

}  // namespace celltrove::shell
