#include "run/RunUi.h"

#include <gtest/gtest.h>

TEST(ProgressSteps, RoundPercentThenScaleTo34) {
    struct Case {
        qint64 current, total;
        int steps;
    } cases[] = {{0, 1, 0}, {1, 3, 11}, {1, 2, 17}, {1, 1, 34}, {5, 3, 34}, {-1, 3, 0}, {1, 0, 0}, {199, 200, 34},
                 {3, 200, 1}};
    for (const auto &c : cases)
        EXPECT_EQ(celltrove::run::ProgressStepsFor(c.current, c.total), c.steps) << c.current << "/" << c.total;
}
