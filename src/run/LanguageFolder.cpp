#include "run/LanguageFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace celltrove::run {

QString LanguageFolderFor(const QString &programFolder) {
    const QDir beside(programFolder);
    if (!beside.entryList({QStringLiteral("*.lng")}, QDir::Files).isEmpty()) return beside.path();
    // Relative, so that an installed tree works wherever it was unpacked.
    return QDir::cleanPath(beside.filePath(QStringLiteral(CELLTROVE_LNG_FROM_BIN)));
}

QString LanguageFolder() { return LanguageFolderFor(QCoreApplication::applicationDirPath()); }

}  // namespace celltrove::run
