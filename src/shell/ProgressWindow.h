#pragma once

#include "run/RunUi.h"
#include "shell/InterfaceText.h"

#include <QWidget>

#include <functional>

class QLabel;

namespace celltrove::shell {

class ElidedLabel;
class TrayIcon;

/// The progress window of a run (object name "frmProgress"): three free texts and two
/// 34-step bars, Label1 for the run and Label2 for the sheet or file. Minimised, it goes
/// into the notification area with the main window when the desktop has one; without
/// one it stays an ordinary minimised window.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    /// Takes ownership of the tray icon.
    ProgressWindow(TrayIcon *tray, InterfaceText text, QWidget *parent = nullptr);

    /// The three free texts, whole (a label shows what fits of them).
    void setProcessText(const QString &text);
    void setFileText(const QString &text);
    void setSheetText(const QString &text);
    /// Empties both bars.
    void clearProgress();
    /// Draws a bar (Label1 for the run, Label2 for the sheet) with 0 … 34 squares.
    void setBarSteps(run::ProgressBar bar, int steps);
    /// Squares shown on a bar now.
    int barSteps(run::ProgressBar bar) const;

    /// While true, closing the window is refused.
    bool keepLoaded() const { return m_keepLoaded; }
    void setKeepLoaded(bool keep) { m_keepLoaded = keep; }
    /// True while the window sits in the notification area.
    bool minimizedToTray() const { return m_minimizedToTray; }
    void setMinimizedToTray(bool inTray) { m_minimizedToTray = inTray; }
    /// Set each time the tray menu opens: true when no run is in progress.
    bool exitAllowed() const { return m_exitAllowed; }

    /// Tells the window whether a run is working now (asked by the tray's events).
    void setRunInProgress(std::function<bool()> running) { m_runInProgress = std::move(running); }

    TrayIcon *tray() const { return m_tray; }
    /// The balloon that replaces the end dialog after a run spent in the tray.
    void showRunEndBalloon();

    /// What the tray's events do, public so that tests can drive them without a desktop.
    void trayDoubleClicked();
    void trayMenuAboutToShow();
    void trayOpenChosen();

Q_SIGNALS:
    void hideMainWindow();
    void showMainWindow();
    void showEndDialog();
    void exitRequested();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void moveToTray();
    bool runInProgress() const { return m_runInProgress && m_runInProgress(); }

    TrayIcon *m_tray;
    InterfaceText m_text;
    ElidedLabel *m_process;
    ElidedLabel *m_file;
    ElidedLabel *m_sheet;
    QLabel *m_runBar;
    QLabel *m_itemBar;
    std::function<bool()> m_runInProgress;
    bool m_keepLoaded = true;
    bool m_minimizedToTray = false;
    bool m_exitAllowed = false;
};

}  // namespace celltrove::shell
