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

}  // namespace sheettest
