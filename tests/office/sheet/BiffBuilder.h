#pragma once
// Builds small workbook streams record by record, for tests that need exact bytes.

#include "office/ole/CompoundFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <initializer_list>

namespace biffbuild {

inline QByteArray u16(unsigned v) { return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF); }
inline QByteArray u32(std::uint32_t v) { return u16(v & 0xFFFF) + u16(v >> 16); }
inline QByteArray f64(double v) { return QByteArray(reinterpret_cast<const char *>(&v), 8); }

inline QByteArray record(unsigned id, const QByteArray &body) { return u16(id) + u16(unsigned(body.size())) + body; }

/// XLUnicodeString with a 16-bit count, compressed when every character fits in 8 bits.
inline QByteArray xlString(const QString &text, int lengthBytes = 2) {
    bool wide = false;
    for (QChar c : text) wide |= c.unicode() > 0xFF;
    QByteArray out = lengthBytes == 1 ? QByteArray(1, char(text.size())) : u16(unsigned(text.size()));
    out += char(wide ? 1 : 0);
    for (QChar c : text) out += wide ? u16(c.unicode()) : QByteArray(1, char(c.unicode()));
    return out;
}

inline QByteArray bof(unsigned type, unsigned version = 0x0600) {
    return record(0x0809, u16(version) + u16(type) + QByteArray(12, 0));
}
inline QByteArray eof() { return record(0x000A, {}); }

/// A workbook stream: globals with one XF per format index given (XF 0 = General),
/// the shared strings, one BOUNDSHEET per sheet body, then the sheet substreams.
/// Each sheet body is the records between the sheet's BOF and EOF.
struct Book {
    QByteArray globalsExtra;  ///< records put before the BOUNDSHEETs
    QByteArray sst;           ///< a complete SST record (and CONTINUEs), or empty
    std::vector<std::pair<QString, QByteArray>> sheets;

    QByteArray stream() const {
        QByteArray head = bof(0x0005) + globalsExtra + record(0x00E0, u16(0) + u16(0) + QByteArray(16, 0));
        QByteArray bounds;
        qint64 boundsSize = 0;
        for (const auto &s : sheets) boundsSize += 4 + 6 + xlString(s.first, 1).size();
        qint64 offset = head.size() + boundsSize + sst.size() + 4;
        QByteArray bodies;
        for (const auto &s : sheets) {
            bounds += record(0x0085, u32(std::uint32_t(offset)) + char(0) + char(0) + xlString(s.first, 1));
            const QByteArray sub = bof(0x0010) + s.second + eof();
            bodies += sub;
            offset += sub.size();
        }
        return head + bounds + sst + eof() + bodies;
    }
};

/// An .xls file image holding the stream under the name.
inline QByteArray file(const QByteArray &stream, const QString &name = QStringLiteral("Workbook")) {
    office::ole::CompoundFile cf;
    cf.setStream(name, stream);
    QByteArray out;
    (void)cf.writeBytes(out);
    return out;
}

inline QByteArray cellHeader(int row0, int col0, int xf = 0) { return u16(unsigned(row0)) + u16(unsigned(col0)) + u16(unsigned(xf)); }

}  // namespace biffbuild
