#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>

#include <array>

namespace office::doc {

/// Where a structure lies in the table stream: byte offset and length.
struct FcLcb {
    quint32 fc = 0;
    quint32 lcb = 0;
};

/// The File Information Block at the start of the WordDocument stream: the
/// version, the flags that decide how the rest is read, the character counts of
/// the stories and where each table-stream structure lies.
struct DocFib {
    /// Indexes into the FibRgFcLcb97 pairs.
    enum Pair {
        kStshfOrig = 0,
        kStshf = 1,
        kPlcfSed = 6,
        kPlcfBteChpx = 12,
        kPlcfBtePapx = 13,
        kSttbfFfn = 15,
        kDop = 31,
        kClx = 33,
    };
    static constexpr int kPairCount97 = 93;
    static constexpr quint16 kWordIdent = 0xA5EC;
    static constexpr quint16 kNFib97 = 0x00C1;
    /// Size of the Word 97 FIB as this writer stores it; the text starts at kTextStart.
    static constexpr int kSize97 = 900;
    static constexpr int kTextStart = 0x400;

    quint16 nFib = kNFib97;
    quint16 lid = 0x0407;
    bool complex = false;  ///< fast-saved: the piece table carries property changes
    bool encrypted = false;
    bool obfuscated = false;
    bool whichTable1 = true;  ///< the table stream is "1Table" (else "0Table")
    quint32 fcMin = 0;        ///< start of the text in the stream (kept for old readers)
    quint32 fcMac = 0;        ///< end of the text
    quint32 cbMac = 0;        ///< length of the WordDocument stream
    qint32 ccpText = 0;
    qint32 ccpFtn = 0;
    qint32 ccpHdd = 0;
    qint32 ccpAtn = 0;
    qint32 ccpEdn = 0;
    qint32 ccpTxbx = 0;
    qint32 ccpHdrTxbx = 0;
    std::array<FcLcb, kPairCount97> pairs{};

    /// The FIB of a Word 97 file, kSize97 bytes.
    QByteArray write() const;
    /// Reads the FIB at the start of a WordDocument stream. Refuses files that are
    /// not Word documents, Word 6/95 and older files, and a FIB cut short, with the
    /// byte offset of the field in question.
    static Status read(const QByteArray &wordDocument, DocFib &out);
};

}  // namespace office::doc
