#include "shell/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CellTroveExcel"));
    celltrove::shell::MainWindow window;
    window.show();
    return QApplication::exec();
}
