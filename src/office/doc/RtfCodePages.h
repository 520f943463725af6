#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

class QTextCodec;

namespace office::doc {

/// The Windows code page that an RTF \fcharset stands for (0 when it names none).
int codePageForCharset(int charset);

/// Decoders for Windows code pages, looked up once per reader.
class CodePageDecoder {
public:
    /// Decodes bytes of a code page; unknown code pages decode as Windows-1252.
    QString decode(int codePage, const QByteArray &bytes);
    /// decode() into `out`, whose room is reused: the reader decodes every run of
    /// text through one string instead of allocating one per run.
    void decodeInto(int codePage, const QByteArray &bytes, QString &out);
    /// The 256 characters of a single-byte code page, by byte; null for a multi-byte
    /// one. `asciiAsIs` tells whether the printable ASCII bytes stand for themselves.
    const char16_t *byteTable(int codePage, bool *asciiAsIs = nullptr);

private:
    /// A code page's decoder: single-byte code pages by a table of their 256
    /// characters, built once (asking the codec for every run of text costs far
    /// more than the text); multi-byte ones through the codec.
    struct Decoder {
        QTextCodec *codec = nullptr;
        std::vector<char16_t> table;  ///< 256 characters; empty for a multi-byte code page
        bool asciiAsIs = false;       ///< table maps 0x20-0x7F to themselves
    };
    const Decoder &decoder(int codePage);
    QHash<int, Decoder> m_decoders;
    // The last code page asked for: runs of text mostly share one.
    int m_lastCodePage = -1;
    const Decoder *m_last = nullptr;
};

}  // namespace office::doc
