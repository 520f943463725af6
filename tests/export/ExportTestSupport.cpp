#include "ExportTestSupport.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>

using namespace celltrove;

QString ExportFixture::addFixture(const QString &name) {
    const QString target = dir.filePath(name);
    QFile::copy(testsupport::fixtureDir() + QStringLiteral("/export/") + name, target);
    return target;
}

run::RunRequest ExportFixture::request(const QStringList &files) const {
    run::RunRequest r;
    r.folder = run::WithTrailingSeparator(dir.path());
    r.selectedFiles = files;
    return r;
}

exporting::RunOutcome ExportFixture::run(const run::RunRequest &request) {
    return exporting::RunExport(request, texts, settings, ui);
}

QStringList ExportFixture::logLines() const {
    QString text = QString::fromUtf8(testsupport::readFile(dir.filePath(exporting::kExportLogName)));
    if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

QStringList markersInRtf(const QByteArray &rtf) {
    static const QRegularExpression marker(QStringLiteral("<!-- CellID: (\\d+,\\d+)-->"));
    QStringList out;
    for (const auto &m : marker.globalMatch(QString::fromLatin1(rtf))) out << m.captured(1);
    return out;
}

int totalLineNumber(const QByteArray &rtf) {
    static const QRegularExpression total(QStringLiteral("<!-- CellIDs-Gesamt:>>(\\d+)"));
    const auto m = total.match(QString::fromLatin1(rtf));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
