#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testsupport {

/// Folder of the shared real-file corpus ("xls", "rtf", "doc" below it); empty when absent.
QString corpusDir();
/// Path of a corpus file such as "xls/cal_any_sheets.xls" (it may not exist when the corpus is absent).
QString corpusFile(const QString &relative);
/// Folder of the project's own fixtures.
QString fixtureDir();
/// The project's own source tree (src/, data/).
QString sourceDir();
/// Folder of the built programs (celltrove, celltrove-cli, language files).
QString binDir();

/// Reads a whole file; empty on failure.
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

/// True when the program is on PATH.
bool haveProgram(const QString &name);

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
/// Runs a program to its end (at most timeoutMs) and returns what it printed.
ProcessResult runProgram(const QString &program, const QStringList &args, int timeoutMs = 120000,
                         const QString &workingDir = QString());

}  // namespace testsupport

/// Skips the current test when the shared corpus is not beside the project.
#define REQUIRE_CORPUS()                                                        \
    do {                                                                        \
        if (testsupport::corpusDir().isEmpty()) GTEST_SKIP() << "corpus absent"; \
    } while (0)

/// Skips the current test unless the named reference program is installed.
#define REQUIRE_PROGRAM(name)                                                   \
    do {                                                                        \
        if (!testsupport::haveProgram(QStringLiteral(name)))                    \
            GTEST_SKIP() << "reference program not installed: " << name;        \
    } while (0)
