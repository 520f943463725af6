#pragma once

#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace sheettest {

/// The LibreOffice-made fixtures, then the corpus workbooks (when the corpus is
/// there), each list by name; with maxBytes > 0 only files up to that size.
inline QStringList workbookFiles(qint64 maxBytes = 0) {
    QStringList paths;
    QStringList folders{testsupport::fixtureDir() + QStringLiteral("/xls")};
    if (!testsupport::corpusDir().isEmpty()) folders << testsupport::corpusDir() + QStringLiteral("/xls");
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name))
            if (maxBytes <= 0 || QFileInfo(dir.filePath(name)).size() <= maxBytes) paths << dir.filePath(name);
    }
    return paths;
}

/// `java` arguments that run tests/fixtures/poi_dump.java (Apache POI's HSSF reader,
/// strict about record structure); empty when Java or POI is not installed.
inline QStringList poiDumpArguments() {
    const QString jars = QStringLiteral("/usr/share/java/");
    if (!testsupport::haveProgram(QStringLiteral("java")) || !QFileInfo::exists(jars + QStringLiteral("poi.jar"))) return {};
    QStringList classPath;
    for (const char *jar : {"poi.jar", "commons-collections4.jar", "commons-math3.jar", "commons-codec.jar"})
        classPath << jars + QLatin1String(jar);
    return {QStringLiteral("-cp"), classPath.join(u':'), testsupport::fixtureDir() + QStringLiteral("/poi_dump.java")};
}

}  // namespace sheettest
