#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace office::doc {

/// One token of an RTF file.
struct RtfToken {
    enum Type { GroupStart, GroupEnd, ControlWord, ControlSymbol, Text, HexByte, Binary, End };
    Type type = End;
    QByteArrayView word;    ///< control word name (letters only), or the text / binary bytes
    bool hasParameter = false;
    int parameter = 0;      ///< clamped to the int range
    char symbol = 0;        ///< the character of a control symbol
    int byte = 0;           ///< value of a \'hh
    qint64 offset = 0;      ///< byte offset of the token
};

/// Splits RTF bytes into tokens. Line ends outside control words are dropped, as
/// RTF says; \binN takes the next N bytes (at most what is left) as one token.
/// Never reads past the end of the data.
class RtfTokenizer {
public:
    explicit RtfTokenizer(const QByteArray &data) : m_data(data) {}
    RtfToken next();
    qint64 offset() const { return m_pos; }

private:
    const QByteArray &m_data;
    qint64 m_pos = 0;
};

}  // namespace office::doc
