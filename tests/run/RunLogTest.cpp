#include "run/RunLog.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using celltrove::run::RunLog;

TEST(RunLog, WritesUtf8LinesWithCrLfAndReplacesOrAppends) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Celltrove4Excel-Export.log"));
    ASSERT_TRUE(testsupport::writeFile(path, "old run\r\n"));

    RunLog log;
    ASSERT_TRUE(log.OpenLog(path, false));
    EXPECT_TRUE(log.WriteLog(QStringLiteral("Wörter €")));
    EXPECT_TRUE(log.WriteLog(QString()));
    EXPECT_TRUE(log.CloseLog());
    EXPECT_EQ(testsupport::readFile(path), QByteArray("W\xC3\xB6rter \xE2\x82\xAC\r\n\r\n"));

    ASSERT_TRUE(log.OpenLog(path, true));
    log.WriteLog(QStringLiteral("more"));
    log.CloseLog();
    EXPECT_EQ(testsupport::readFile(path), QByteArray("W\xC3\xB6rter \xE2\x82\xAC\r\n\r\nmore\r\n"));
}

TEST(RunLog, UnwritableLocationIsAClearError) {
    QTemporaryDir dir;
    RunLog log;
    EXPECT_FALSE(log.OpenLog(dir.filePath(QStringLiteral("no/such/folder/x.log")), false));
    EXPECT_FALSE(log.errorString().isEmpty());
    EXPECT_FALSE(log.WriteLog(QStringLiteral("x")));

    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (QFile(dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly)) GTEST_SKIP() << "running as root";
    EXPECT_FALSE(log.OpenLog(dir.filePath(QStringLiteral("x.log")), false));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(RunLog, AFullDiskIsReportedNotIgnored) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full";
    RunLog log;
    ASSERT_TRUE(log.OpenLog(QStringLiteral("/dev/full"), true));
    EXPECT_FALSE(log.WriteLog(QStringLiteral("x")));
    EXPECT_FALSE(log.CloseLog());
    EXPECT_FALSE(log.errorString().isEmpty());
}
