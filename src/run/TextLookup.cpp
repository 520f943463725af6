#include "run/TextLookup.h"

#include "run/LanguageFolder.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTextCodec>

namespace celltrove::run {

namespace {

// Language files are small; anything beyond this is not one.
constexpr qint64 kMaxLanguageFileBytes = 16 * 1024 * 1024;

QString findCaseInsensitive(const QString &folder, const QString &fileName) {
    const QDir dir(folder);
    if (dir.exists(fileName)) return dir.filePath(fileName);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return {};
}

QString decodeLanguageBytes(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    QTextCodec *cp1252 = QTextCodec::codecForName("Windows-1252");
    return cp1252 ? cp1252->toUnicode(bytes) : QString::fromLatin1(bytes);
}

}  // namespace

bool TextLookup::LoadLanguageFile(const QString &name) {
    return LoadLanguageFile(LanguageFolder(), name);
}

bool TextLookup::LoadLanguageFile(const QString &folder, const QString &name) {
    m_text.clear();
    const QString path = findCaseInsensitive(folder, name + QStringLiteral(".lng"));
    if (path.isEmpty()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLanguageFileBytes) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    m_text = decodeLanguageBytes(bytes);
    return true;
}

bool TextLookup::HasText(const QString &key) const {
    return !m_text.isEmpty() && m_text.lastIndexOf(u'\n' + key + u'=') >= 0;
}

QString TextLookup::LookupText(const QString &key) const {
    if (m_text.isEmpty()) return key;
    const QString needle = u'\n' + key + u'=';
    const qsizetype at = m_text.lastIndexOf(needle);
    if (at < 0) return key;
    const qsizetype start = at + needle.size();
    const qsizetype end = m_text.indexOf(u'\r', start);
    return m_text.mid(start, end < 0 ? -1 : end - start);
}

}  // namespace celltrove::run
