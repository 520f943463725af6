#include "run/ColumnLetters.h"

#include <gtest/gtest.h>

using celltrove::run::columnLetters;

TEST(ColumnLetters, FollowTheSpreadsheetNamesUpToIV) {
    const struct {
        int column;
        const char *letters;
    } cases[] = {{1, "A"},   {26, "Z"},   {27, "AA"}, {52, "AZ"}, {53, "BA"}, {78, "BZ"},
                 {79, "CA"}, {255, "IU"}, {256, "IV"}, {0, "..."}, {257, "..."}, {-1, "..."}};
    for (const auto &c : cases) EXPECT_EQ(columnLetters(c.column), QLatin1String(c.letters)) << c.column;
}
