// Fuzz target: a language file's bytes as the program loads them (UTF-8 or
// Windows-1252, BOM, CR LF lines), then lookups of keys it holds and does not hold.
#include "run/TextLookup.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("Fuzz.lng")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    celltrove::run::TextLookup texts;
    if (!texts.LoadLanguageFile(folder.path(), QStringLiteral("fuzz"))) return 0;
    // Keys the program looks up, and every key the file itself defines.
    (void)texts.LookupText(QStringLiteral("Abbrechen"));
    (void)texts.HasText(QStringLiteral("&Datei"));
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &line : text.split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0) (void)texts.LookupText(line.left(equals));
    }
    return 0;
}
