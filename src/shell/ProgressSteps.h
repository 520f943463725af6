#pragma once

#include <QtGlobal>

namespace celltrove::shell {

/// Squares in a progress bar: the rounded percentage of current of total, clamped to
/// 0..100, scaled to the bar's width and rounded again. 1 of 3 gives 11 of 34.
/// A total below 1 gives an empty bar.
int progressSteps(qint64 current, qint64 total, int width = 34);

}  // namespace celltrove::shell
