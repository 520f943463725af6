#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace testsupport {

QString corpusDir() {
    const QString dir = QDir::cleanPath(QStringLiteral(CELLTROVE_CORPUS_DIR));
    return QFileInfo(dir).isDir() ? dir : QString();
}

QString corpusFile(const QString &relative) { return corpusDir() + QLatin1Char('/') + relative; }

QString fixtureDir() { return QStringLiteral(CELLTROVE_FIXTURE_DIR); }
QString sourceDir() { return QStringLiteral(CELLTROVE_SOURCE_DIR); }
QString binDir() { return QStringLiteral(CELLTROVE_BIN_DIR); }

QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool haveProgram(const QString &name) { return !QStandardPaths::findExecutable(name).isEmpty(); }

ProcessResult runProgram(const QString &program, const QStringList &args, int timeoutMs, const QString &workingDir) {
    QProcess p;
    if (!workingDir.isEmpty()) p.setWorkingDirectory(workingDir);
    p.start(program, args);
    ProcessResult r;
    if (!p.waitForStarted(10000)) return r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

}  // namespace testsupport
