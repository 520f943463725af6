#include "run/RunUi.h"

#include <algorithm>
#include <cmath>

namespace celltrove::run {

int ProgressStepsFor(qint64 current, qint64 total) {
    if (total < 1) return 0;
    double percent = std::floor(static_cast<double>(current) / static_cast<double>(total) * 100.0 + 0.5);
    percent = std::clamp(percent, 0.0, 100.0);
    return static_cast<int>(std::floor(kProgressSteps / 100.0 * percent + 0.5));
}

void SilentRunUi::ShowCritical(const QString &text, const QString &title) {
    messages << title + QStringLiteral(": ") + text;
}

}  // namespace celltrove::run
