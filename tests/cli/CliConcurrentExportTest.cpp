// Two celltrove-cli export runs in one folder at the same time: the shared run log
// holds every line of both runs whole, each run's documents are what a run alone
// writes, and the settings file stays readable.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/file.h>

namespace {

const QString kLog = QStringLiteral("Celltrove4Excel-Export.log");

QProcess *startExport(const QString &folder, const QStringList &files) {
    auto *process = new QProcess;
    process->setWorkingDirectory(folder);
    process->start(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                   QStringList{QStringLiteral("export")} + files);
    return process;
}

// The log's lines without the date line of each run, sorted: runs interleave.
QStringList sortedLogLines(const QString &path) {
    QStringList lines = QString::fromUtf8(testsupport::readFile(path)).split(QStringLiteral("\r\n"));
    const QRegularExpression dateLine(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}\\t\\d\\d:\\d\\d:\\d\\d$"));
    lines.removeIf([&](const QString &line) { return dateLine.match(line).hasMatch() || line.isEmpty(); });
    lines.sort();
    return lines;
}

}  // namespace

TEST(CliConcurrentExport, TwoRunsInOneFolderKeepTheirLogLinesAndDocuments) {
    QTemporaryDir dir;
    qputenv("LC_ALL", "de_DE.UTF-8");
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    const QStringList first{QStringLiteral("A.xls"), QStringLiteral("B.xls")};
    const QStringList second{QStringLiteral("C.xls"), QStringLiteral("D.xls")};
    const QString workbook = testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls");
    const QString work = dir.filePath(QStringLiteral("work"));
    const QString alone = dir.filePath(QStringLiteral("alone"));
    for (const QString &folder : {work, alone}) {
        QDir().mkpath(folder);
        for (const QString &name : first + second) ASSERT_TRUE(QFile::copy(workbook, folder + u'/' + name));
    }

    // Each run alone first, for the lines and documents to expect.
    QStringList expectedLines;
    for (const QStringList &files : {first, second}) {
        std::unique_ptr<QProcess> run(startExport(alone, files));
        ASSERT_TRUE(run->waitForFinished(120000));
        ASSERT_EQ(run->exitCode(), 0) << run->readAllStandardError().toStdString();
        expectedLines += sortedLogLines(alone + u'/' + kLog);
    }
    expectedLines.sort();

    // The test holds the log as a third run still going would: on a busy machine the
    // second run may start only after the first has ended, and would then (rightly)
    // empty the log of a run no longer going.
    QFile held(work + u'/' + kLog);
    ASSERT_TRUE(held.open(QIODevice::WriteOnly | QIODevice::Append));
    ASSERT_EQ(::flock(held.handle(), LOCK_SH), 0);
    std::unique_ptr<QProcess> one(startExport(work, first));
    std::unique_ptr<QProcess> two(startExport(work, second));
    ASSERT_TRUE(one->waitForFinished(120000));
    ASSERT_TRUE(two->waitForFinished(120000));
    held.close();
    qunsetenv("LC_ALL");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(one->exitCode(), 0) << one->readAllStandardError().toStdString();
    EXPECT_EQ(two->exitCode(), 0) << two->readAllStandardError().toStdString();

    EXPECT_EQ(sortedLogLines(work + u'/' + kLog), expectedLines);
    const QStringList documents = QDir(alone).entryList({QStringLiteral("Text_*.rtf")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(documents.isEmpty());
    EXPECT_EQ(QDir(work).entryList({QStringLiteral("Text_*.rtf")}, QDir::Files, QDir::Name), documents);
    for (const QString &name : documents)
        EXPECT_EQ(testsupport::readFile(work + u'/' + name), testsupport::readFile(alone + u'/' + name))
            << name.toStdString();

    QDirIterator settings(dir.filePath(QStringLiteral("config")), {QStringLiteral("*.ini")}, QDir::Files,
                          QDirIterator::Subdirectories);
    ASSERT_TRUE(settings.hasNext());
    const QSettings ini(settings.next(), QSettings::IniFormat);
    EXPECT_EQ(ini.status(), QSettings::NoError);
    EXPECT_EQ(ini.value(QStringLiteral("ProjectFolders/Project1")).toString(), work);
}
