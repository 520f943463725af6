#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

class QTextCodec;

namespace office::sheet {

/// Reads little-endian fields from one record's body (and the bodies of its CONTINUE
/// records, whose start offsets are the segment boundaries). Every read is checked
/// against the end: reading past it returns zeros and clears ok(), so a handler reads
/// its fields and checks ok() once.
class RecordCursor {
public:
    /// data stays owned by the caller. boundaries: offsets in data where a CONTINUE
    /// body starts (ascending); may be null for a single record.
    RecordCursor(const char *data, int size, const std::vector<int> *boundaries = nullptr);
    explicit RecordCursor(const QByteArray &data, const std::vector<int> *boundaries = nullptr)
        : RecordCursor(data.constData(), int(data.size()), boundaries) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    void skip(qint64 bytes);
    QByteArray bytes(int count);

    /// A BIFF8 XLUnicodeString: a character count of lengthBytes (1 or 2) bytes, option
    /// flags, optional rich-text run count and phonetic size, the characters (8-bit
    /// compressed or UTF-16LE; a string split by a CONTINUE boundary resumes with a new
    /// flag byte), then the runs and phonetic data, which are skipped.
    QString unicodeString(int lengthBytes);
    /// The characters of a BIFF8 string whose count and flags were already read.
    QString unicodeChars(int count, std::uint8_t flags);
    /// The same into out, replacing its text but keeping its storage (for long loops).
    void unicodeCharsInto(int count, std::uint8_t flags, QString &out);
    /// A BIFF5 byte string: a count of lengthBytes bytes, then bytes in the code page.
    QString byteString(int lengthBytes, const QTextCodec *codec);

    int pos() const { return m_pos; }
    int size() const { return m_size; }
    int remaining() const { return m_size - m_pos; }
    bool ok() const { return m_ok; }
    bool atSegmentStart() const;

private:
    bool need(qint64 bytes);
    int segmentEnd() const;

    const char *m_data;
    int m_size;
    int m_pos = 0;
    bool m_ok = true;
    const std::vector<int> *m_boundaries;
};

/// Appends count characters of a BIFF8 character array at data: UTF-16LE when wide,
/// else 8-bit (Latin-1, the "compressed" form).
void appendStringChars(QString &out, const char *data, int count, bool wide);

/// Decodes 8-bit text with the code page's codec, or as Windows-1252 without one.
QString decodeBytes(const char *data, int size, const QTextCodec *codec);

}  // namespace office::sheet
