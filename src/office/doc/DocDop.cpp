#include "office/doc/DocDop.h"

#include "office/doc/DocBytes.h"

namespace office::doc::DocDop {

namespace {

constexpr quint8 kWidowControl = 0x02;
constexpr quint8 kFootnotesAtPageBottom = 1 << 5;
constexpr quint16 kNumberFromOne = 1 << 2;  // nFtn / nEdn = 1 above the two restart bits
constexpr int kDefaultTab = 708;
constexpr int kHyphenationZone = 360;

}  // namespace

QByteArray write() {
    DocBytesOut out;
    out.u8(kWidowControl | kFootnotesAtPageBottom);
    out.u8(0);  // grpfIhdt
    out.u16(kNumberFromOne);
    out.zeros(6);
    out.u16(kDefaultTab);
    out.u16(0);
    out.u16(kHyphenationZone);
    out.zeros(52 - out.size());
    out.u16(kNumberFromOne);  // endnotes
    out.zeros(kSize97 - out.size());
    return out.take();
}

}  // namespace office::doc::DocDop
