#include "cli/CliRunUi.h"

#include <unistd.h>

namespace celltrove::cli {

CliRunUi::CliRunUi(QTextStream &err) : m_err(err), m_terminal(isatty(STDERR_FILENO) == 1) {}

void CliRunUi::ShowCritical(const QString &text, const QString &title) {
    if (m_lineShown) m_err << "\r\x1b[K";
    m_lineShown = false;
    m_err << title << ": " << text << "\n";
    m_err.flush();
}

void CliRunUi::ShowProgressWindow() { m_sinceDraw.start(); }

void CliRunUi::HideProgressWindow() {
    if (m_lineShown) {
        m_err << "\r\x1b[K";
        m_err.flush();
    }
    m_lineShown = false;
}

void CliRunUi::SetBarSteps(run::ProgressBar bar, int steps) {
    (bar == run::ProgressBar::Run ? m_runSteps : m_sheetSteps) = steps;
}

void CliRunUi::Yield() {
    if (!m_terminal || (m_sinceDraw.isValid() && m_sinceDraw.elapsed() < 100)) return;
    m_sinceDraw.start();
    drawLine();
}

void CliRunUi::drawLine() {
    const auto bar = [](int steps) {
        return QString(steps, u'#') + QString(run::kProgressSteps - steps, u'.');
    };
    m_err << "\r\x1b[K[" << bar(m_runSteps) << "] [" << bar(m_sheetSteps) << "] " << m_file << " " << m_sheet
          << " " << m_process;
    m_err.flush();
    m_lineShown = true;
}

}  // namespace celltrove::cli
