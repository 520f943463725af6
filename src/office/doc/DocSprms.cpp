#include "office/doc/DocSprms.h"

namespace office::doc::Sprm {

namespace {

int fixedSize(quint16 sprm) {
    switch ((sprm >> 13) & 7) {
        case 0:
        case 1:
            return 1;
        case 2:
        case 4:
        case 5:
            return 2;
        case 3:
            return 4;
        case 7:
            return 3;
        default:
            return -1;  // variable
    }
}

}  // namespace

void append(DocBytesOut &out, quint16 sprm, quint32 operand) {
    out.u16(sprm);
    switch (fixedSize(sprm)) {
        case 1:
            out.u8(operand);
            break;
        case 2:
            out.u16(operand);
            break;
        case 3:
            out.u16(operand);
            out.u8(operand >> 16);
            break;
        case 4:
            out.u32(operand);
            break;
        default:
            break;
    }
}

int operandSize(quint16 sprm, const char *operand, int available) {
    int n = fixedSize(sprm);
    if (n < 0) {
        if (sprm == TDefTable || sprm == 0xD606 /* sprmTDefTable10 */) {
            if (available < 2) return -1;
            // The two-byte count covers the rest of the operand, plus one.
            n = 2 + std::max(int(quint8(operand[0]) | quint8(operand[1]) << 8) - 1, 0);
        } else if (sprm == 0xC615 /* sprmPChgTabs */ && available >= 1 && quint8(operand[0]) == 255) {
            // Deleted and added tab stops counted separately.
            if (available < 2) return -1;
            const int deleted = quint8(operand[1]);
            if (available < 2 + 4 * deleted + 1) return -1;
            const int added = quint8(operand[2 + 4 * deleted]);
            n = 1 + 1 + 4 * deleted + 1 + 3 * added;
        } else {
            if (available < 1) return -1;
            n = 1 + quint8(operand[0]);
        }
    }
    return n <= available ? n : -1;
}

quint32 operandValue(const char *operand, int size) {
    quint32 v = 0;
    for (int i = std::min(size, 4) - 1; i >= 0; --i) v = v << 8 | quint8(operand[i]);
    return v;
}

}  // namespace office::doc::Sprm
