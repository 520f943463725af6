#include "shell/GuiRunUi.h"

#include "shell/ProgressWindow.h"
#include "shell/UserMessages.h"

#include <QCoreApplication>

namespace celltrove::shell {

GuiRunUi::GuiRunUi(ProgressWindow &progress, UserMessages &messages, QWidget *messageParent)
    : m_progress(progress), m_messages(messages), m_messageParent(messageParent) {
    m_sinceEvents.start();
}

void GuiRunUi::ShowCritical(const QString &text, const QString &title) {
    m_messages.critical(m_messageParent, text, title);
}

void GuiRunUi::ShowProgressWindow() {
    m_progress.clearProgress();
    // The window is drawn at the next Yield, however short the run.
    m_paintNow = true;
    // A window sitting in the tray stays there; the tray brings it back.
    if (!m_progress.minimizedToTray()) {
        m_progress.showNormal();
        m_progress.raise();
    }
}

void GuiRunUi::HideProgressWindow() { m_progress.hide(); }

void GuiRunUi::SetProgressCaption(const QString &caption) { m_progress.setWindowTitle(caption); }
void GuiRunUi::SetFileText(const QString &text) { m_progress.setFileText(text); }
void GuiRunUi::SetSheetText(const QString &text) { m_progress.setSheetText(text); }
void GuiRunUi::SetProcessText(const QString &text) { m_progress.setProcessText(text); }
void GuiRunUi::SetBarSteps(run::ProgressBar bar, int steps) { m_progress.setBarSteps(bar, steps); }

void GuiRunUi::Yield() {
    if (!m_paintNow && m_sinceEvents.elapsed() < kYieldMilliseconds) return;
    m_paintNow = false;
    QCoreApplication::processEvents();
    m_sinceEvents.restart();
}

}  // namespace celltrove::shell
