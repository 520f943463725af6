#pragma once

#include "office/doc/DocBytes.h"

#include <QByteArray>

namespace office::doc {

/// Single property modifiers this engine writes and reads, by their 16-bit codes.
namespace Sprm {
enum : quint16 {
    PFInTable = 0x2416,
    PFTtp = 0x2417,
    PFInnerTableCell = 0x244B,
    PFInnerTtp = 0x244C,
    PHugePapx = 0x6646,
    PItap = 0x6649,
    CIstd = 0x4A30,
    CFBold = 0x0835,
    CFItalic = 0x0836,
    CKul = 0x2A3E,
    CIco = 0x2A42,
    CHps = 0x4A43,
    CRgFtc0 = 0x4A4F,
    CRgFtc1 = 0x4A50,
    CRgFtc2 = 0x4A51,
    CRgLid0_80 = 0x486D,
    CRgLid1_80 = 0x486E,
    CRgLid0 = 0x4873,
    CFNoProof = 0x0875,
    CCv = 0x6870,
    TDxaGapHalf = 0x9602,
    TDefTable = 0xD608,
    TFAutofit = 0x3615,
    SXaPage = 0xB01F,
    SYaPage = 0xB020,
    SDxaLeft = 0xB021,
    SDxaRight = 0xB022,
    SDyaTop = 0x9023,
    SDyaBottom = 0x9024,
};

/// Appends a modifier with a fixed-size operand (1, 2 or 4 bytes as its code says).
void append(DocBytesOut &out, quint16 sprm, quint32 operand);

/// Size of the operand at `operand` (at most `available` bytes there), or -1
/// when the operand would run past them.
int operandSize(quint16 sprm, const char *operand, int available);

/// Calls f(sprm, operand, operandSize) for every modifier of a property list;
/// stops at one that runs past the end.
template <typename F>
void forEach(const char *grpprl, int size, F f) {
    int at = 0;
    while (at + 2 <= size) {
        const quint16 sprm = quint16(quint8(grpprl[at]) | quint8(grpprl[at + 1]) << 8);
        const int n = operandSize(sprm, grpprl + at + 2, size - at - 2);
        if (n < 0) return;
        f(sprm, grpprl + at + 2, n);
        at += 2 + n;
    }
}

/// Reads a little-endian operand of up to four bytes.
quint32 operandValue(const char *operand, int size);

}  // namespace Sprm

}  // namespace office::doc
