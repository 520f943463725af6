#include "office/doc/DocCharProps.h"

#include "office/doc/DocSprms.h"

namespace office::doc {

namespace {

constexpr int kNoProofing = 1024;

// A toggle operand: 0 off, 1 on; 0x80 (as the style) and 0x81 (against the style)
// are read as inherited.
int toggle(quint32 operand) {
    return operand <= 1 ? int(operand) : -1;
}

}  // namespace

void DocCharProps::write(DocBytesOut &out) const {
    if (istd >= 0) Sprm::append(out, Sprm::CIstd, quint32(istd));
    if (font >= 0) {
        Sprm::append(out, Sprm::CRgFtc0, quint32(font));
        Sprm::append(out, Sprm::CRgFtc2, quint32(font));
    }
    if (halfPoints > 0) Sprm::append(out, Sprm::CHps, quint32(halfPoints));
    if (bold >= 0) Sprm::append(out, Sprm::CFBold, quint32(bold));
    if (italic >= 0) Sprm::append(out, Sprm::CFItalic, quint32(italic));
    if (underline >= 0) Sprm::append(out, Sprm::CKul, underline ? 1 : 0);
    if (color != kColorAutomatic) {
        const int index = indexFromColor(color);
        if (index > 0)
            Sprm::append(out, Sprm::CIco, quint32(index));
        else
            Sprm::append(out, Sprm::CCv, quint32(color) & 0xFFFFFF);
    }
    if (language >= 0) {
        Sprm::append(out, Sprm::CRgLid0_80, quint32(language));
        Sprm::append(out, Sprm::CRgLid1_80, quint32(language));
        if (language == kNoProofing) Sprm::append(out, Sprm::CFNoProof, 1);
    }
}

DocCharProps DocCharProps::read(const char *grpprl, int size) {
    DocCharProps p;
    Sprm::forEach(grpprl, size, [&](quint16 sprm, const char *operand, int n) {
        const quint32 v = Sprm::operandValue(operand, n);
        switch (sprm) {
            case Sprm::CIstd:
                p.istd = int(v);
                break;
            case Sprm::CRgFtc0:
                p.font = int(v);
                break;
            case Sprm::CHps:
                p.halfPoints = int(v);
                break;
            case Sprm::CFBold:
                p.bold = toggle(v);
                break;
            case Sprm::CFItalic:
                p.italic = toggle(v);
                break;
            case Sprm::CKul:
                p.underline = v ? 1 : 0;
                break;
            case Sprm::CIco:
                p.color = v == 0 ? kColorAutomatic : colorFromIndex(int(v));
                break;
            case Sprm::CCv:
                p.color = (v & 0xFF000000) ? kColorAutomatic : int(v & 0xFFFFFF);
                break;
            case Sprm::CRgLid0_80:
            case Sprm::CRgLid0:
                p.language = int(v);
                break;
            default:
                break;
        }
    });
    return p;
}

}  // namespace office::doc
