#pragma once

#include "run/RunUi.h"

#include <QElapsedTimer>
#include <QTextStream>

namespace celltrove::cli {

/// The run's user interface on a terminal: messages go to stderr; when stderr
/// is a terminal, one progress line is redrawn at most every 100 ms.
class CliRunUi : public run::RunUi {
public:
    explicit CliRunUi(QTextStream &err);

    void ShowCritical(const QString &text, const QString &title) override;
    void ShowProgressWindow() override;
    void HideProgressWindow() override;
    void SetProgressCaption(const QString &) override {}
    void SetFileText(const QString &text) override { m_file = text; }
    void SetSheetText(const QString &text) override { m_sheet = text; }
    void SetProcessText(const QString &text) override { m_process = text; }
    void SetBarSteps(run::ProgressBar bar, int steps) override;
    void Yield() override;

private:
    void drawLine();

    QTextStream &m_err;
    bool m_terminal = false;
    bool m_lineShown = false;
    QElapsedTimer m_sinceDraw;
    QString m_file, m_sheet, m_process;
    int m_runSteps = 0;
    int m_sheetSteps = 0;
};

}  // namespace celltrove::cli
