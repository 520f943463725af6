// Takes the README's screenshots of the desktop program on a real X display (run it
// through scripts/screenshots.sh, which starts one under xvfb-run with a window manager,
// a German locale and a demo home folder of its own):
//   shell_screenshots OUTPUT_FOLDER LANGUAGE_FOLDER DEMO_HOME WORKBOOK=NAME...
// It builds a translator's home in DEMO_HOME with the workbooks under their demo NAMEs in
// a project folder, and shows the main window, the language menu, the options dialog,
// the about box, the progress window during an export, the end dialog with the run log,
// and the main window in English.
#include "run/SettingsStore.h"
#include "shell/EndDialog.h"
#include "shell/FilePanel.h"
#include "shell/MainWindow.h"
#include "shell/OptionsDialog.h"
#include "shell/ProgressWindow.h"
#include "shell/ToolTab.h"
#include "shell/UserMessages.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

void settle(int milliseconds = 500) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The screen inside an area, with the window manager's frames and any open menus.
bool shootArea(const QRect &area, const QString &file) {
    settle();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool saved = shot.save(file);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

bool shoot(QWidget *window, const QString &file) {
    settle();
    return shootArea(window->frameGeometry(), file);
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: shell_screenshots OUTPUT_FOLDER LANGUAGE_FOLDER DEMO_HOME WORKBOOK=NAME...\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);
    const QDir home(QString::fromLocal8Bit(argv[3]));
    const QString project = home.filePath(QStringLiteral("Projekte/Kundenportal 2026"));
    for (const char *folder : {"Dokumente", "Downloads", "Projekte/Handbuch 3.2", "Projekte/Kundenportal 2026/Referenz",
                               "Vorlagen"})
        home.mkpath(QLatin1String(folder));
    for (int i = 4; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        const qsizetype eq = argument.lastIndexOf(u'=');
        const QString from = eq < 0 ? argument : argument.left(eq);
        const QString name = eq < 0 ? QFileInfo(from).fileName() : argument.mid(eq + 1);
        if (!QFile::copy(from, project + u'/' + name)) std::fprintf(stderr, "cannot copy %s\n", qPrintable(from));
    }

    celltrove::run::SettingsStore settings(home.filePath(QStringLiteral(".config/celltrove-demo.ini")));
    settings.setValue(QStringLiteral("ProjectFolders"), QStringLiteral("Project1"), project);
    settings.setValue(QStringLiteral("ProjectFolders"), QStringLiteral("Project2"),
                      home.filePath(QStringLiteral("Projekte/Handbuch 3.2")));
    celltrove::shell::MessageBoxMessages messages;
    celltrove::shell::MainWindowSetup setup;
    setup.settings = &settings;
    setup.messages = &messages;
    setup.languageFolder = QString::fromLocal8Bit(argv[2]);
    setup.defaultFolder = project;
    celltrove::shell::MainWindow window(setup);
    window.move(20, 20);
    window.show();
    settle(1500);  // the folder tree reads its folders in the background
    bool ok = shoot(&window, output + QStringLiteral("/main-window.png"));

    // Extras > Sprache, opened as the mouse opens it.
    {
        QMenu *extra = window.menuBar()->findChild<QMenu *>(QStringLiteral("mnuExtra"));
        QMenu *languages = extra->findChild<QMenu *>(QStringLiteral("mnuSelectLanguage"));
        window.menuBar()->setActiveAction(extra->menuAction());
        settle();
        extra->setActiveAction(languages->menuAction());
        languages->popup(extra->mapToGlobal(extra->actionGeometry(languages->menuAction()).topRight()));
        settle();
        const QRect area = window.frameGeometry()
                               .united(extra->geometry())
                               .united(languages->geometry())
                               .intersected(QRect(window.frameGeometry().topLeft(), QSize(520, 200)));
        ok = shootArea(area, output + QStringLiteral("/language-menu.png")) && ok;
        languages->hide();
        extra->hide();
        window.menuBar()->setActiveAction(nullptr);
    }

    {
        celltrove::shell::OptionsDialog options(settings, window.interfaceText(), &window);
        options.move(120, 120);
        options.show();
        ok = shoot(&options, output + QStringLiteral("/options-dialog.png")) && ok;
    }

    window.showAbout();
    if (auto *about = window.findChild<QDialog *>(QStringLiteral("frmAbout"))) {
        about->move(160, 140);
        ok = shoot(about, output + QStringLiteral("/about-box.png")) && ok;
        about->close();
    }

    // The progress window is shot from inside the run, once its bars have moved.
    celltrove::shell::ProgressWindow *progress = window.progressWindow();
    progress->move(200, 200);
    progress->resize(460, progress->sizeHint().height());  // room for the whole caption
    bool progressShot = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (progressShot || !progress->isVisible()) return;
        if (progress->barSteps(celltrove::run::ProgressBar::Run) == 0) return;
        if (progress->barSteps(celltrove::run::ProgressBar::Sheet) < 12) return;
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

    // The tool tab with the export's documents listed for joining.
    if (auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"))) {
        tabs->setCurrentIndex(1);
        settle();
        if (auto *tool = window.findChild<celltrove::shell::ToolTab *>()) {
            tool->addEntries(QDir(project).entryList({QStringLiteral("Text_*.rtf")}, QDir::Files, QDir::Name));
            tool->setCatFileName(QStringLiteral("Kundenportal 2026.rtf"));
        }
        settle();
        ok = shoot(&window, output + QStringLiteral("/tool-tab.png")) && ok;
        tabs->setCurrentIndex(0);
        settle();
    }

    window.chooseLanguage(QStringLiteral("English"));
    window.filePanel()->refreshFiles();
    ok = shoot(&window, output + QStringLiteral("/main-window-english.png")) && ok;
    window.close();
    return ok ? 0 : 1;
}
