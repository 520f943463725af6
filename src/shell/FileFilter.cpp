#include "shell/FileFilter.h"

#include <QDir>

namespace celltrove::shell {

bool passesFileFilter(const QString &filterText, const QString &fileName) {
    const QString tail = filterText.right(5);
    const QString extension = fileName.right(3).toLower();
    if (tail == QLatin1String(".rtf)")) return extension == QLatin1String("rtf");
    if (tail == QLatin1String(".xls)")) return extension == QLatin1String("xls");
    if (tail == QLatin1String(".xlf)")) return extension == QLatin1String("xlf");
    return true;
}

QStringList listFolderFiles(const QString &folder, const QString &filterText) {
    // Sorted by name: readdir order on Linux is arbitrary, and the run works in list order.
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    QStringList listed;
    for (const QString &name : names)
        if (passesFileFilter(filterText, name)) listed.append(name);
    return listed;
}

QString lastPathComponent(const QString &path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/'))) trimmed.chop(1);
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

QString withTrailingSeparator(const QString &path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

}  // namespace celltrove::shell
