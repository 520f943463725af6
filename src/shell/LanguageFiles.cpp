#include "shell/LanguageFiles.h"

#include <QDir>

namespace celltrove::shell {

QStringList languageCaptions(const QString &folder) {
    QStringList captions;
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        if (!name.endsWith(QLatin1String(".lng"), Qt::CaseInsensitive) || name.size() <= 4) continue;
        if (name.compare(QLatin1String("deutsch.lng"), Qt::CaseInsensitive) == 0) continue;
        captions.append(name.left(1).toUpper() + name.mid(1, name.size() - 5));
    }
    return captions;
}

}  // namespace celltrove::shell
