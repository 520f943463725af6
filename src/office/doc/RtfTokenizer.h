#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace office::doc {

/// One token of an RTF file.
struct RtfToken {
    enum Type : std::uint8_t { GroupStart, GroupEnd, ControlWord, ControlSymbol, Text, HexByte, Binary, End };
    // 32 bytes, made for every token: the fields are ordered to leave no holes.
    QByteArrayView word;    ///< control word name (letters only), or the text / binary bytes
    std::uint64_t head = 0; ///< a control word's rtfWordHead, packed while it was read
    int parameter = 0;      ///< clamped to the int range
    Type type = End;
    bool hasParameter = false;
    char symbol = 0;        ///< the character of a control symbol
    std::uint8_t byte = 0;  ///< value of a \'hh
};

/// Splits RTF bytes into tokens. Line ends outside control words are dropped, as
/// RTF says; \binN takes the next N bytes (at most what is left) as one token.
/// Never reads past the end of the data.
class RtfTokenizer {
public:
    explicit RtfTokenizer(const QByteArray &data) : m_data(data) {}
    RtfToken next();
    qint64 offset() const { return m_pos; }
    /// Bytes of the data not yet read.
    qint64 remaining() const { return m_data.size() - m_pos; }

    /// For data that is a window on a longer file: more follows the data's end
    /// (`partial`), and the bytes before `count` have been dropped from its front.
    void setPartial(bool partial) { m_partial = partial; }
    void dropFront(qint64 count) { m_pos -= count; }
    /// True once a token other than text ran into the end of a partial window
    /// (a \binN longer than the window, a word cut off): the tokens are then
    /// not those of the whole file.
    bool cutShort() const { return m_cutShort; }

private:
    const QByteArray &m_data;
    qint64 m_pos = 0;
    bool m_partial = false;
    bool m_cutShort = false;
};

}  // namespace office::doc
