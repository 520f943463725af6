#pragma once

#include "run/RunUi.h"

#include <QElapsedTimer>

class QWidget;

namespace celltrove::shell {

class ProgressWindow;
class UserMessages;

/// What a run shows, on the progress window and in message boxes. Yield() lets the
/// event loop run at most every 30 ms, so that a run stays fast and the windows live.
class GuiRunUi : public run::RunUi {
public:
    /// Messages are owned by messageParent (the main window).
    GuiRunUi(ProgressWindow &progress, UserMessages &messages, QWidget *messageParent);

    /// Longest time without event processing during a run.
    static constexpr int kYieldMilliseconds = 30;

    void ShowCritical(const QString &text, const QString &title) override;
    void ShowProgressWindow() override;
    void HideProgressWindow() override;
    void SetProgressCaption(const QString &caption) override;
    void SetFileText(const QString &text) override;
    void SetSheetText(const QString &text) override;
    void SetProcessText(const QString &text) override;
    void SetBarSteps(run::ProgressBar bar, int steps) override;
    void Yield() override;

private:
    ProgressWindow &m_progress;
    UserMessages &m_messages;
    QWidget *m_messageParent;
    QElapsedTimer m_sinceEvents;
    bool m_paintNow = false;
};

}  // namespace celltrove::shell
