#pragma once

#include <QString>
#include <QStringList>

namespace celltrove::run {

/// The two bars of the progress window.
enum class ProgressBar {
    Run,    ///< "Label1": files of the run
    Sheet,  ///< "Label2": cells of the sheet, or sheets/files of a file
};

/// Steps of a progress bar.
inline constexpr int kProgressSteps = 34;

/// Filled steps (0 … 34) of a bar that shows `current` of `total` (total > 0):
/// the percentage is rounded and clamped to 0 … 100, then scaled to 34 steps.
/// 1 of 3 gives 11, 1 of 2 gives 17; a total below 1 gives 0.
int ProgressStepsFor(qint64 current, qint64 total);

/// What a run shows the user. The GUI implements it with its windows; the CLI
/// with stderr. Every text arrives already translated.
class RunUi {
public:
    virtual ~RunUi() = default;

    /// A message with the critical icon that the user must acknowledge.
    virtual void ShowCritical(const QString &text, const QString &title) = 0;

    /// Shows the progress window (both bars empty) at the start of a run.
    virtual void ShowProgressWindow() = 0;
    /// Hides it at the end of a run.
    virtual void HideProgressWindow() = 0;
    /// The progress window's caption.
    virtual void SetProgressCaption(const QString &caption) = 0;
    /// "lblFile": the file being processed.
    virtual void SetFileText(const QString &text) = 0;
    /// "lblSheet": the sheet being processed.
    virtual void SetSheetText(const QString &text) = 0;
    /// "labelProcess": the status line (percent, "speichern...", …).
    virtual void SetProcessText(const QString &text) = 0;
    /// Draws `steps` (0 … 34) filled squares on `bar`.
    virtual void SetBarSteps(ProgressBar bar, int steps) = 0;

    /// Lets the user interface breathe; called once per cell or item. Must be
    /// cheap: implementations throttle the real work.
    virtual void Yield() = 0;

    /// "ClearProgress": both bars empty.
    void ClearProgress() {
        SetBarSteps(ProgressBar::Run, 0);
        SetBarSteps(ProgressBar::Sheet, 0);
    }
    /// "ShowProgress": draws `bar` for `current` of `total`.
    void ShowProgress(ProgressBar bar, qint64 current, qint64 total) {
        SetBarSteps(bar, ProgressStepsFor(current, total));
    }
};

/// A RunUi that shows nothing (tests, batch use).
class SilentRunUi : public RunUi {
public:
    void ShowCritical(const QString &text, const QString &title) override;
    void ShowProgressWindow() override {}
    void HideProgressWindow() override {}
    void SetProgressCaption(const QString &) override {}
    void SetFileText(const QString &) override {}
    void SetSheetText(const QString &) override {}
    void SetProcessText(const QString &) override {}
    void SetBarSteps(ProgressBar, int) override {}
    void Yield() override {}

    /// The messages shown so far, "title: text" each.
    QStringList messages;
};

}  // namespace celltrove::run
