#include "shell/ProgressSteps.h"
#include "shell/ProgressWindow.h"
#include "shell/TrayIcon.h"

#include <gtest/gtest.h>

#include <QLabel>

using namespace celltrove::shell;

namespace {

/// A notification area that records what it was asked to do.
class FakeTray : public TrayIcon {
public:
    explicit FakeTray(bool available) : m_available(available) {}
    bool available() const override { return m_available; }
    void showIcon(const QString &tip) override {
        shown = true;
        this->tip = tip;
    }
    void removeIcon() override { shown = false; }
    bool iconShown() const override { return shown; }
    void showBalloon(const QString &title, const QString &text) override { balloon = title + QLatin1Char('|') + text; }
    void setMenuTexts(const QString &open, const QString &exit, bool exitEnabled) override {
        menu = open + QLatin1Char('|') + exit;
        this->exitEnabled = exitEnabled;
    }
    bool m_available;
    bool shown = false;
    bool exitEnabled = false;
    QString tip, balloon, menu;
};

QString bar(ProgressWindow &w, const char *name) { return w.findChild<QLabel *>(QLatin1String(name))->text(); }

}  // namespace

TEST(ProgressSteps, RoundsThePercentageThenTheSquares) {
    const struct {
        qint64 current, total;
        int steps;
    } cases[] = {{0, 5, 0},  {1, 3, 11}, {1, 2, 17}, {2, 3, 23}, {3, 3, 34}, {4, 3, 34},
                 {-1, 3, 0}, {1, 200, 0}, {1, 100, 0}, {2, 100, 1}, {1, 0, 0}, {5, -2, 0}};
    for (const auto &c : cases) EXPECT_EQ(progressSteps(c.current, c.total), c.steps) << c.current << "/" << c.total;
}

TEST(ProgressWindow, BarsAreRunsOfSquares) {
    ProgressWindow w(new FakeTray(false), germanText);
    w.showProgress(1, 1, 3);
    w.showProgress(2, 7, 7);
    EXPECT_EQ(bar(w, "Label1").size(), 11);
    EXPECT_EQ(bar(w, "Label2").size(), ProgressWindow::kBarWidth);
    w.clearProgress();
    EXPECT_TRUE(bar(w, "Label1").isEmpty());
    EXPECT_TRUE(bar(w, "Label2").isEmpty());
}

TEST(ProgressWindow, RefusesToCloseWhileItMustStayLoaded) {
    ProgressWindow w(new FakeTray(false), germanText);
    w.show();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    w.setKeepLoaded(false);
    EXPECT_TRUE(w.close());
}

TEST(ProgressWindow, TrayDuringARunBringsBackBothWindowsOnOpenAndIgnoresDoubleClick) {
    auto *tray = new FakeTray(true);
    ProgressWindow w(tray, germanText);
    bool running = true;
    w.setRunInProgress([&running] { return running; });
    int mainShown = 0, endShown = 0;
    QObject::connect(&w, &ProgressWindow::showMainWindow, [&] { ++mainShown; });
    QObject::connect(&w, &ProgressWindow::showEndDialog, [&] { ++endShown; });
    w.setMinimizedToTray(true);
    tray->showIcon(QStringLiteral("tip"));

    w.trayDoubleClicked();
    EXPECT_TRUE(w.minimizedToTray());
    EXPECT_TRUE(tray->shown);
    EXPECT_EQ(mainShown, 0);

    w.trayMenuAboutToShow();
    EXPECT_FALSE(w.exitAllowed());
    EXPECT_FALSE(tray->exitEnabled);
    EXPECT_EQ(tray->menu, QStringLiteral("&Öffnen...|&Beenden"));

    w.trayOpenChosen();
    EXPECT_FALSE(w.minimizedToTray());
    EXPECT_FALSE(tray->shown);
    EXPECT_EQ(mainShown, 1);
    EXPECT_EQ(endShown, 0);
}

TEST(ProgressWindow, TrayAfterTheRunShowsTheEndDialog) {
    auto *tray = new FakeTray(true);
    ProgressWindow w(tray, germanText);
    w.setRunInProgress([] { return false; });
    int endShown = 0;
    QObject::connect(&w, &ProgressWindow::showEndDialog, [&] { ++endShown; });
    w.setMinimizedToTray(true);
    tray->showIcon(QStringLiteral("tip"));
    w.showRunEndBalloon();
    EXPECT_EQ(tray->balloon, QStringLiteral("Celltrove|Vorgang beendet."));
    w.trayMenuAboutToShow();
    EXPECT_TRUE(tray->exitEnabled);
    w.trayDoubleClicked();
    EXPECT_FALSE(w.minimizedToTray());
    EXPECT_FALSE(tray->shown);
    EXPECT_EQ(endShown, 1);
}
