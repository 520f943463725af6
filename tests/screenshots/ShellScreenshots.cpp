// Takes the README's screenshots of the desktop program on a real X display (run it
// through scripts/screenshots.sh, which starts one under xvfb-run):
//   shell_screenshots OUTPUT_FOLDER LANGUAGE_FOLDER WORKBOOK...
// It shows the main window on a copy of the workbooks, the options dialog, the progress
// window during an export of them, and the end dialog with the run log.
#include "run/SettingsStore.h"
#include "shell/EndDialog.h"
#include "shell/FilePanel.h"
#include "shell/MainWindow.h"
#include "shell/OptionsDialog.h"
#include "shell/ProgressWindow.h"
#include "shell/UserMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void settle(int milliseconds = 300) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool shoot(QWidget *window, const QString &file) {
    settle();
    // The window as the screen shows it (a bare X display draws no frames).
    const QRect area = window->frameGeometry();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool saved = shot.save(file);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: shell_screenshots OUTPUT_FOLDER LANGUAGE_FOLDER WORKBOOK...\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);
    // In the home folder, so that the folder tree shows a short, tidy path.
    QTemporaryDir scratch(QDir::homePath() + QStringLiteral("/Celltrove-XXXXXX"));
    const QString work = scratch.filePath(QStringLiteral("Projekt Kundenliste"));
    QDir().mkpath(work);
    for (int i = 3; i < argc; ++i) {
        const QString from = QString::fromLocal8Bit(argv[i]);
        QFile::copy(from, work + u'/' + QFileInfo(from).fileName());
    }

    celltrove::run::SettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    celltrove::shell::MessageBoxMessages messages;
    celltrove::shell::MainWindowSetup setup;
    setup.settings = &settings;
    setup.messages = &messages;
    setup.languageFolder = QString::fromLocal8Bit(argv[2]);
    setup.defaultFolder = work;
    celltrove::shell::MainWindow window(setup);
    window.move(20, 20);
    window.show();
    window.filePanel()->setFolder(work);
    bool ok = shoot(&window, output + QStringLiteral("/main-window.png"));

    {
        celltrove::shell::OptionsDialog options(settings, window.interfaceText(), &window);
        options.move(120, 120);
        options.show();
        ok = shoot(&options, output + QStringLiteral("/options-dialog.png")) && ok;
    }

    // The progress window is shot from inside the run, once its bars have moved.
    celltrove::shell::ProgressWindow *progress = window.progressWindow();
    progress->move(200, 200);
    bool progressShot = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (progressShot || !progress->isVisible()) return;
        if (progress->barSteps(celltrove::run::ProgressBar::Sheet) < 8) return;
        progressShot = shoot(progress, output + QStringLiteral("/progress-window.png"));
    });
    during.start(50);
    window.startExport();
    during.stop();
    ok = progressShot && ok;

    celltrove::shell::EndDialog *end = window.endDialog();
    end->move(160, 160);
    end->showLog();
    ok = shoot(end, output + QStringLiteral("/end-dialog-log.png")) && ok;
    end->back();
    window.close();
    return ok ? 0 : 1;
}
