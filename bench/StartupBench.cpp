// Start-up of the desktop program and folder changes, offscreen:
//   bench_startup [RUNS]
// Makes two folders of 1,000 workbooks each, stores the first as the most recent
// project (so the window starts in it, every file listed and selected) and runs
// RUNS fresh processes that build and show the main window (time from process start
// and from main() to the first exposed window). Then, in one window, changes folder
// between the two and times each change up to the filled, repainted file list.
#include "run/SettingsStore.h"
#include "shell/FilePanel.h"
#include "shell/MainWindow.h"
#include "shell/UserMessages.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int kWorkbooks = 1000;

// Milliseconds since the kernel started this process (clock-tick resolution).
double millisecondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20) return -1;
    const double started = fields.at(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - started) * 1000.0;
}

struct Demo {
    QTemporaryDir dir;
    QString folder(int n) const { return dir.filePath(QStringLiteral("Projekt %1").arg(n)); }
    QString settings() const { return dir.filePath(QStringLiteral("settings.ini")); }
};

celltrove::shell::MainWindowSetup setupFor(celltrove::run::SettingsStore &settings,
                                           celltrove::shell::UserMessages &messages) {
    celltrove::shell::MainWindowSetup setup;
    setup.settings = &settings;
    setup.messages = &messages;
    setup.languageFolder = QCoreApplication::applicationDirPath();
    return setup;
}

void waitUntilExposed(QWidget &window) {
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();  // the first paint
}

// One start-up, in a process of its own: prints "<since process start> <since main()>".
int startOnce(const QString &settingsPath, QElapsedTimer &sinceMain) {
    celltrove::run::SettingsStore settings(settingsPath);
    celltrove::shell::MessageBoxMessages messages;
    celltrove::shell::MainWindow window(setupFor(settings, messages));
    window.show();
    waitUntilExposed(window);
    const double fromMain = double(sinceMain.nsecsElapsed()) / 1e6;
    const double fromStart = millisecondsSinceProcessStart();
    if (window.filePanel()->selectedEntries().size() != kWorkbooks) {
        std::fprintf(stderr, "start-up listed %lld files\n", qlonglong(window.filePanel()->entries().size()));
        return 1;
    }
    std::printf("%.1f %.1f\n", fromStart, fromMain);
    return 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char *argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (argc == 3 && QByteArray(argv[1]) == "--once") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return startOnce(QString::fromLocal8Bit(argv[2]), sinceMain);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    Demo demo;
    for (int n = 1; n <= 2; ++n) {
        QDir().mkpath(demo.folder(n));
        for (int i = 1; i <= kWorkbooks; ++i) {
            QFile book(demo.folder(n) + QStringLiteral("/Mappe %1.xls").arg(i, 4, 10, QLatin1Char('0')));
            if (!book.open(QIODevice::WriteOnly)) return 1;
        }
    }
    {
        celltrove::run::SettingsStore settings(demo.settings());
        settings.setValue(QStringLiteral("ProjectFolders"), QStringLiteral("Project1"), demo.folder(1));
        settings.sync();
    }

    std::vector<double> fromStart, fromMain;
    for (int r = 0; r < runs; ++r) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--once"), demo.settings()});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            std::fprintf(stderr, "start-up run failed: %s\n", child.readAllStandardError().constData());
            return 1;
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        fromStart.push_back(figures.value(0).toDouble());
        fromMain.push_back(figures.value(1).toDouble());
    }
    std::printf("start-up to the shown main window, %d workbooks listed and selected (%d runs):\n", kWorkbooks, runs);
    std::printf("  from process start: median %.0f ms, max %.0f ms\n", median(fromStart),
                *std::max_element(fromStart.begin(), fromStart.end()));
    std::printf("  from main():        median %.0f ms, max %.0f ms\n", median(fromMain),
                *std::max_element(fromMain.begin(), fromMain.end()));

    celltrove::run::SettingsStore settings(demo.settings());
    celltrove::shell::MessageBoxMessages messages;
    celltrove::shell::MainWindow window(setupFor(settings, messages));
    window.show();
    waitUntilExposed(window);
    std::vector<double> changes;
    for (int i = 0; i < 2 * runs; ++i) {
        QElapsedTimer changing;
        changing.start();
        window.filePanel()->setFolder(demo.folder(i % 2 == 0 ? 2 : 1));
        QCoreApplication::processEvents();  // the list repainted
        changes.push_back(double(changing.nsecsElapsed()) / 1e6);
        if (window.filePanel()->selectedEntries().size() != kWorkbooks) return 1;
    }
    std::printf("folder change to the filled file list (%d workbooks, %d changes):\n", kWorkbooks, 2 * runs);
    std::printf("  median %.1f ms, max %.1f ms\n", median(changes), *std::max_element(changes.begin(), changes.end()));
    return 0;
}
