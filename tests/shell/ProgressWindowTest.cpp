#include "shell/ElidedLabel.h"
#include "shell/GuiRunUi.h"
#include "shell/ProgressWindow.h"
#include "shell/TrayIcon.h"
#include "shell/UserMessages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
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

class NoMessages : public UserMessages {
public:
    void critical(QWidget *, const QString &text, const QString &title) override { shown.append(title + u'|' + text); }
    QStringList shown;
};

TEST(ProgressWindow, RunUiDrawsBarsAsRunsOfSquaresAndShowsTexts) {
    ProgressWindow w(new FakeTray(false), germanText);
    NoMessages messages;
    GuiRunUi ui(w, messages, nullptr);
    ui.ShowProgress(celltrove::run::ProgressBar::Run, 1, 3);
    ui.ShowProgress(celltrove::run::ProgressBar::Sheet, 7, 7);
    EXPECT_EQ(bar(w, "Label1").size(), 11);
    EXPECT_EQ(bar(w, "Label2").size(), 34);
    ui.ShowProgress(celltrove::run::ProgressBar::Sheet, 8, 7);
    EXPECT_EQ(bar(w, "Label2").size(), 34);
    ui.ShowProgress(celltrove::run::ProgressBar::Sheet, -1, 7);
    EXPECT_TRUE(bar(w, "Label2").isEmpty());
    ui.SetFileText(QStringLiteral("a.xls"));
    ui.SetSheetText(QStringLiteral("Tabelle1"));
    EXPECT_EQ(bar(w, "lblFile"), QStringLiteral("a.xls"));
    EXPECT_EQ(bar(w, "lblSheet"), QStringLiteral("Tabelle1"));
    ui.ShowProgressWindow();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(bar(w, "Label1").isEmpty());
    ui.ShowCritical(QStringLiteral("text"), QStringLiteral("Fehler"));
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("Fehler|text")});
    ui.HideProgressWindow();
    EXPECT_FALSE(w.isVisible());
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

TEST(ProgressWindow, MinimisingGoesToTheTrayOnlyWhenTheDesktopHasOne) {
    for (const bool available : {false, true}) {
        auto *tray = new FakeTray(available);
        ProgressWindow w(tray, germanText);
        int mainHidden = 0;
        QObject::connect(&w, &ProgressWindow::hideMainWindow, [&] { ++mainHidden; });
        w.show();
        w.setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        EXPECT_EQ(w.minimizedToTray(), available);
        EXPECT_EQ(tray->shown, available);
        EXPECT_EQ(tray->tip, available ? QStringLiteral("Celltrove für Excel") : QString());
        EXPECT_EQ(mainHidden, available ? 1 : 0);
    }
}

TEST(ProgressWindow, LongTextsAreShortenedWithAnEllipsisBetweenWholeCharacters) {
    const QString surrogates = QString(60, QChar(0xD835)).replace(QChar(0xD835), QStringLiteral("\U0001D538"));
    const struct {
        const char *what;
        QString text;
        bool shortened;
    } cases[] = {
        {"short", QStringLiteral("a.xls"), false},
        {"long name", QStringLiteral("Text_") + QString(200, u'x') + QStringLiteral(".xls-1.rtf -->"), true},
        {"surrogate pairs", surrogates + surrogates + QStringLiteral(".xls"), true},
        {"combining marks", QString(150, u'e').replace(u'e', QStringLiteral("e\u0301")), true},
    };
    for (const auto &c : cases) {
        ProgressWindow w(new FakeTray(false), germanText);
        w.show();
        w.setFileText(c.text);
        QCoreApplication::processEvents();
        auto *label = w.findChild<ElidedLabel *>(QStringLiteral("lblFile"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->fullText(), c.text) << c.what;
        EXPECT_LE(w.width(), 600) << c.what << ": the window grew with the text";
        const QString shown = label->text();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width()) << c.what;
        EXPECT_EQ(shown.contains(QChar(0x2026)), c.shortened) << c.what;
        EXPECT_EQ(label->toolTip(), c.shortened ? c.text : QString()) << c.what;
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (shown.at(i).isHighSurrogate()) {
                EXPECT_TRUE(i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate()) << c.what;
            }
            if (shown.at(i).isLowSurrogate()) {
                EXPECT_TRUE(i > 0 && shown.at(i - 1).isHighSurrogate()) << c.what;
            }
            if (shown.at(i) == QChar(0x0301)) {
                EXPECT_TRUE(i > 0 && shown.at(i - 1) == u'e') << c.what;
            }
        }
    }
}
