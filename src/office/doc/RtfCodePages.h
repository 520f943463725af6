#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class QTextCodec;

namespace office::doc {

/// The Windows code page that an RTF \fcharset stands for (0 when it names none).
int codePageForCharset(int charset);

/// Decoders for Windows code pages, looked up once per reader.
class CodePageDecoder {
public:
    /// Decodes bytes of a code page; unknown code pages decode as Windows-1252.
    QString decode(int codePage, const QByteArray &bytes);

private:
    QTextCodec *codec(int codePage);
    QHash<int, QTextCodec *> m_codecs;
};

}  // namespace office::doc
