#include "office/doc/DocPieceTable.h"

#include "office/doc/DocBytes.h"

namespace office::doc::DocPieceTable {

namespace {

constexpr quint8 kClxtPrc = 0x01;
constexpr quint8 kClxtPcdt = 0x02;
constexpr quint32 kCompressedBit = 0x40000000;
constexpr int kPcdSize = 8;

}  // namespace

QByteArray write(const std::vector<DocPiece> &pieces) {
    DocBytesOut out;
    out.u8(kClxtPcdt);
    out.u32(quint32(4 * (pieces.size() + 1) + kPcdSize * pieces.size()));
    for (const DocPiece &p : pieces) out.u32(quint32(p.cpStart));
    out.u32(pieces.empty() ? 0 : quint32(pieces.back().cpEnd));
    for (const DocPiece &p : pieces) {
        out.u16(0);  // fNoParaLast and the rest
        out.u32(p.compressed ? (p.fc * 2) | kCompressedBit : p.fc);
        out.u16(p.prm);
    }
    return out.take();
}

Status read(const QByteArray &table, quint32 offset, quint32 length, qint64 streamSize, std::vector<DocPiece> &pieces) {
    pieces.clear();
    const DocBytesIn in(table);
    if (length == 0 || !in.has(offset, length))
        return Status::failure(QStringLiteral("The piece table lies outside the table stream."), offset);
    const qint64 end = qint64(offset) + length;
    qint64 at = offset;
    while (at < end) {
        const quint32 clxt = in.u8(at);
        if (clxt == kClxtPrc) {
            const qint64 cb = qint16(in.u16(at + 1));
            if (cb < 0 || at + 3 + cb > end)
                return Status::failure(QStringLiteral("A property list of the piece table runs past its end."), at);
            at += 3 + cb;
            continue;
        }
        if (clxt != kClxtPcdt)
            return Status::failure(QStringLiteral("The piece table holds an unknown entry (0x%1).").arg(clxt, 0, 16),
                                   at);
        const qint64 lcb = in.u32(at + 1);
        const qint64 plc = at + 5;
        if (in.failed() || lcb < 4 || lcb > end - plc || (lcb - 4) % 12 != 0)
            return Status::failure(QStringLiteral("The piece descriptor table has a wrong length."), at + 1);
        const qint64 n = (lcb - 4) / 12;
        if (n == 0) return Status::failure(QStringLiteral("The piece table holds no pieces."), at);
        pieces.reserve(size_t(n));
        for (qint64 i = 0; i < n; ++i) {
            DocPiece p;
            p.cpStart = qint32(in.u32(plc + 4 * i));
            p.cpEnd = qint32(in.u32(plc + 4 * (i + 1)));
            const qint64 pcd = plc + 4 * (n + 1) + kPcdSize * i;
            const quint32 fc = in.u32(pcd + 2);
            p.prm = quint16(in.u16(pcd + 6));
            p.compressed = fc & kCompressedBit;
            p.fc = p.compressed ? (fc & ~kCompressedBit) / 2 : fc;
            const qint64 bytes = qint64(p.cpEnd - qint64(p.cpStart)) * p.bytesPerChar();
            if (p.cpStart < 0 || p.cpEnd < p.cpStart || (i > 0 && p.cpStart != pieces.back().cpEnd))
                return Status::failure(QStringLiteral("The piece table's character positions are out of order."),
                                       plc + 4 * i);
            if (qint64(p.fc) + bytes > streamSize)
                return Status::failure(
                    QStringLiteral("A piece of text lies outside the WordDocument stream (offset %1).").arg(p.fc),
                    pcd + 2);
            pieces.push_back(p);
        }
        if (pieces.front().cpStart != 0)
            return Status::failure(QStringLiteral("The piece table does not start at the first character."), plc);
        return Status::success();
    }
    return Status::failure(QStringLiteral("The piece table has no piece descriptors."), offset);
}

}  // namespace office::doc::DocPieceTable
