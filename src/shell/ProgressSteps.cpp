#include "shell/ProgressSteps.h"

#include <algorithm>
#include <cmath>

namespace celltrove::shell {

int progressSteps(qint64 current, qint64 total, int width) {
    // A zero total would divide by zero; an empty bar is the honest picture.
    if (total < 1) return 0;
    const double percent =
        std::clamp(std::floor(static_cast<double>(current) / static_cast<double>(total) * 100.0 + 0.5), 0.0, 100.0);
    return static_cast<int>(std::floor(width / 100.0 * percent + 0.5));
}

}  // namespace celltrove::shell
