#include "office/doc/DocFib.h"

#include "office/doc/DocBytes.h"

namespace office::doc {

namespace {

// Field offsets of FibBase and of the counted blocks that follow it.
constexpr int kFlagsOffset = 10;
constexpr int kCswOffset = 32;
constexpr quint16 kCsw97 = 14;
constexpr quint16 kCslw97 = 22;
constexpr quint16 kFlagComplex = 0x0004;
constexpr quint16 kFlagEncrypted = 0x0100;
constexpr quint16 kFlagWhichTable = 0x0200;
constexpr quint16 kFlagExtChar = 0x1000;
constexpr quint16 kFlagObfuscated = 0x8000;
// The first Word 97 FIB version; Word 6 and 95 files carry 0x0065..0x0068.
constexpr quint16 kMinNFib = 0x00C1;

}  // namespace

QByteArray DocFib::write() const {
    DocBytesOut out;
    out.reserve(kSize97);
    // FibBase
    out.u16(kWordIdent);
    out.u16(nFib);
    out.u16(0);  // unused
    out.u16(lid);
    out.u16(0);  // pnNext
    quint16 flags = kFlagExtChar;
    if (complex) flags |= kFlagComplex;
    if (encrypted) flags |= kFlagEncrypted;
    if (whichTable1) flags |= kFlagWhichTable;
    if (obfuscated) flags |= kFlagObfuscated;
    out.u16(flags);
    out.u16(0x00BF);  // nFibBack
    out.u32(0);       // lKey
    out.u8(0);        // envr: Windows
    out.u8(0);        // fMac and the rest
    out.u16(0);
    out.u16(0);
    out.u32(fcMin);  // reserved since Word 97; older readers find the text here
    out.u32(fcMac);
    // FibRgW97: fourteen words, the last one lidFE.
    out.u16(kCsw97);
    for (int i = 0; i < 13; ++i) out.u16(0);
    out.u16(lid);
    // FibRgLw97
    out.u16(kCslw97);
    const qint32 longs[kCslw97] = {qint32(cbMac), 0,      0,       ccpText,   ccpFtn, ccpHdd, 0,
                                   ccpAtn,        ccpEdn, ccpTxbx, ccpHdrTxbx};
    for (qint32 v : longs) out.u32(quint32(v));
    // FibRgFcLcb97
    out.u16(kPairCount97);
    for (const FcLcb &p : pairs) {
        out.u32(p.fc);
        out.u32(p.lcb);
    }
    out.u16(0);  // cswNew: no FibRgCswNew for nFib 0x00C1
    return out.take();
}

Status DocFib::read(const QByteArray &stream, DocFib &fib) {
    const DocBytesIn in(stream);
    if (!in.has(0, kCswOffset + 2))
        return Status::failure(QStringLiteral("The WordDocument stream is too short for a file information block."),
                               in.size());
    if (in.u16(0) != kWordIdent)
        return Status::failure(QStringLiteral("The WordDocument stream does not start with a Word signature."), 0);
    fib.nFib = quint16(in.u16(2));
    if (fib.nFib < kMinNFib)
        return Status::failure(
            QStringLiteral("Word documents older than Word 97 (version 0x%1) are not supported.").arg(fib.nFib, 0, 16),
            2);
    fib.lid = quint16(in.u16(6));
    const quint16 flags = quint16(in.u16(kFlagsOffset));
    fib.complex = flags & kFlagComplex;
    fib.encrypted = flags & kFlagEncrypted;
    fib.whichTable1 = flags & kFlagWhichTable;
    fib.obfuscated = flags & kFlagObfuscated;
    fib.fcMin = in.u32(24);
    fib.fcMac = in.u32(28);

    qint64 at = kCswOffset;
    const quint32 csw = in.u16(at);
    at += 2 + 2 * qint64(csw);
    const quint32 cslw = in.u16(at);
    if (in.failed() || cslw < 11)
        return Status::failure(QStringLiteral("The file information block has too few long values."), at);
    const qint64 longs = at + 2;
    auto longAt = [&](int i) { return qint32(in.u32(longs + 4 * i)); };
    fib.cbMac = quint32(longAt(0));
    fib.ccpText = longAt(3);
    fib.ccpFtn = longAt(4);
    fib.ccpHdd = longAt(5);
    fib.ccpAtn = longAt(7);
    fib.ccpEdn = longAt(8);
    fib.ccpTxbx = longAt(9);
    fib.ccpHdrTxbx = longAt(10);
    at = longs + 4 * qint64(cslw);
    const quint32 pairCount = in.u16(at);
    if (in.failed() || pairCount < DocFib::kClx + 1)
        return Status::failure(QStringLiteral("The file information block lists too few table-stream structures."), at);
    at += 2;
    if (!in.has(at, 8 * qint64(pairCount)))
        return Status::failure(QStringLiteral("The file information block is cut short."), in.size());
    fib.pairs = {};
    for (quint32 i = 0; i < pairCount && i < quint32(kPairCount97); ++i)
        fib.pairs[i] = {in.u32(at + 8 * i), in.u32(at + 8 * i + 4)};
    if (fib.ccpText < 0 || fib.ccpFtn < 0 || fib.ccpHdd < 0 || fib.ccpAtn < 0 || fib.ccpEdn < 0 || fib.ccpTxbx < 0 ||
        fib.ccpHdrTxbx < 0)
        return Status::failure(QStringLiteral("The file information block gives a negative character count."), longs);
    return Status::success();
}

}  // namespace office::doc
