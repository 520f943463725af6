#include "office/doc/DocSummaryInformation.h"

#include "office/doc/DocBytes.h"

namespace office::doc::DocSummaryInformation {

namespace {

constexpr quint8 kFmtidSummaryInformation[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                                 0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr quint32 kPidCodePage = 1;
constexpr quint32 kPidTitle = 2;
constexpr quint32 kPidAuthor = 4;
constexpr quint32 kVtI2 = 0x0002;
constexpr quint32 kVtLpstr = 0x001E;
constexpr int kSectionOffset = 48;

}  // namespace

QByteArray write() {
    DocBytesOut out;
    out.u16(0xFFFE);      // byte order
    out.u16(0);           // version
    out.u32(0x00020005);  // Windows, version 5
    out.zeros(16);        // CLSID
    out.u32(1);           // one property set
    for (quint8 b : kFmtidSummaryInformation) out.u8(b);
    out.u32(kSectionOffset);
    // The section: size, count, (id, offset) pairs, then the values.
    const quint32 ids[] = {kPidCodePage, kPidTitle, kPidAuthor};
    const quint32 headerSize = 8 + 8 * 3;
    const quint32 offsets[] = {headerSize, headerSize + 8, headerSize + 8 + 12};
    const quint32 size = headerSize + 8 + 12 + 12;
    out.u32(size);
    out.u32(3);
    for (int i = 0; i < 3; ++i) {
        out.u32(ids[i]);
        out.u32(offsets[i]);
    }
    out.u32(kVtI2);
    out.u16(1252);
    out.u16(0);
    for (int i = 0; i < 2; ++i) {  // title and author: an empty string (its terminating zero)
        out.u32(kVtLpstr);
        out.u32(1);
        out.u32(0);
    }
    return out.take();
}

}  // namespace office::doc::DocSummaryInformation
