#include "run/LanguageFolder.h"
#include "run/SettingsStore.h"
#include "shell/MainWindow.h"
#include "shell/ProgramIcon.h"
#include "shell/UserMessages.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CellTroveExcel"));
    // Message boxes and file dialogs without a parent window show it too; the desktop
    // finds the installed icon through the desktop file's name.
    QApplication::setWindowIcon(celltrove::shell::programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.celltrove.Celltrove"));
    // The window may sit hidden in the tray when it is closed; its own shutdown ends us.
    QApplication::setQuitOnLastWindowClosed(false);

    celltrove::run::SettingsStore settings;
    celltrove::shell::MessageBoxMessages messages;
    celltrove::shell::MainWindowSetup setup;
    setup.settings = &settings;
    setup.messages = &messages;
    setup.languageFolder = celltrove::run::LanguageFolder();
    celltrove::shell::MainWindow window(setup);
    QObject::connect(&window, &celltrove::shell::MainWindow::shutDown, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
