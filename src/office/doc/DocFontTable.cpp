#include "office/doc/DocFontTable.h"

#include "office/doc/DocBytes.h"

namespace office::doc::DocFontTable {

namespace {

// Size of an FFN before its name: flags, weight, charset, alternative-name
// index, PANOSE and the font signature.
constexpr int kFfnFixed = 1 + 2 + 1 + 1 + 10 + 24;
// Font names longer than this would not fit the one-byte entry length.
constexpr int kMaxNameLength = 100;

// prq (pitch) in bits 0-1, fTrueType in bit 2, ff (family) in bits 4-6.
quint8 familyByte(const QString &name) {
    constexpr quint8 trueType = 0x04;
    if (name == QLatin1String("Courier New") || name == QLatin1String("Courier")) return 0x01 | trueType | (3 << 4);
    if (name == QLatin1String("Symbol")) return 0x02 | trueType | (5 << 4);
    if (name == QLatin1String("Arial") || name == QLatin1String("Calibri") || name == QLatin1String("Tahoma") ||
        name == QLatin1String("Verdana"))
        return 0x02 | trueType | (2 << 4);
    if (name == QLatin1String("Times New Roman") || name == QLatin1String("Cambria")) return 0x02 | trueType | (1 << 4);
    return 0x02 | trueType;
}

}  // namespace

QByteArray write(const QStringList &names) {
    DocBytesOut out;
    out.u16(quint32(names.size()));
    out.u16(0);  // cbExtra
    for (const QString &fullName : names) {
        const QString name = fullName.left(kMaxNameLength);
        out.u8(quint32(kFfnFixed + 2 * (name.size() + 1)));
        out.u8(familyByte(name));
        out.u16(400);                                     // normal weight
        out.u8(name == QLatin1String("Symbol") ? 2 : 0);  // charset: ANSI (symbol for Symbol)
        out.u8(0);                                        // no alternative name
        out.zeros(10 + 24);
        for (QChar c : name) out.u16(c.unicode());
        out.u16(0);
    }
    return out.take();
}

Status read(const QByteArray &table, quint32 offset, quint32 length, QStringList &names) {
    names.clear();
    const DocBytesIn in(table);
    if (length == 0) return Status::success();
    if (!in.has(offset, length) || length < 4)
        return Status::failure(QStringLiteral("The font table lies outside the table stream."), offset);
    const qint64 end = qint64(offset) + length;
    qint64 at = offset;
    quint32 count = in.u16(at);
    at += 2;
    bool extended = false;
    if (count == 0xFFFF) {  // an extended table: two-byte lengths
        extended = true;
        count = in.u16(at);
        at += 2;
    }
    const quint32 cbExtra = in.u16(at);
    at += 2;
    for (quint32 i = 0; i < count; ++i) {
        if (at >= end) return Status::failure(QStringLiteral("The font table is cut short."), at);
        const qint64 size = extended ? in.u16(at) : in.u8(at);
        at += extended ? 2 : 1;
        if (size > end - at)
            return Status::failure(QStringLiteral("A font table entry runs past the table's end."), at);
        QString name;
        for (qint64 p = at + kFfnFixed; p + 1 < at + size; p += 2) {
            const char16_t c = char16_t(in.u16(p));
            if (c == 0) break;
            name.append(QChar(c));
        }
        names.append(name);
        at += size + cbExtra;
    }
    return Status::success();
}

}  // namespace office::doc::DocFontTable
