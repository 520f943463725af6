#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(Cli, PrintsItsVersion) {
    const auto r = testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                           {QStringLiteral("--version")});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(r.out).trimmed(), QStringLiteral("Celltrove für Excel 1.0 Build 13"));
}

TEST(Cli, UnknownCommandIsAUsageError) {
    const auto r = testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                           {QStringLiteral("frobnicate")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.isEmpty());
}
