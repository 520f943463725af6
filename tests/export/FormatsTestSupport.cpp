#include "FormatsTestSupport.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

bool addFormatsWorkbook(ExportFixture &f) {
    return QFile::copy(testsupport::fixtureDir() + QStringLiteral("/xls/") + kFormatsWorkbook,
                       f.path(kFormatsWorkbook));
}

celltrove::exporting::RunOutcome runFormat(ExportFixture &f, celltrove::run::ExportFormat format,
                                           const QStringList &files) {
    celltrove::run::RunRequest request = f.request(files);
    request.format = format;
    return f.run(request);
}

QJsonObject readBackWithLibreOffice(const QStringList &paths) {
    const auto r = testsupport::runProgram(
        QStringLiteral("/usr/bin/python3"),
        QStringList{QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../export/lo_formats.py"))} + paths,
        300000);
    return QJsonDocument::fromJson(r.out).object();
}

QList<QStringList> gridOf(const QJsonValue &grid) {
    QList<QStringList> rows;
    for (const QJsonValue &row : grid.toArray()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray()) cells.append(cell.toString());
        rows.append(cells);
    }
    return rows;
}
