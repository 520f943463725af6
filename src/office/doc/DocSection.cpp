#include "office/doc/DocSection.h"

#include "office/doc/DocBytes.h"
#include "office/doc/DocSprms.h"

namespace office::doc::DocSection {

QByteArray sepx() {
    DocBytesOut grpprl;
    Sprm::append(grpprl, Sprm::SXaPage, 11906);
    Sprm::append(grpprl, Sprm::SYaPage, 16838);
    Sprm::append(grpprl, Sprm::SDxaLeft, 1417);
    Sprm::append(grpprl, Sprm::SDxaRight, 1417);
    Sprm::append(grpprl, Sprm::SDyaTop, 1417);
    Sprm::append(grpprl, Sprm::SDyaBottom, 1134);
    DocBytesOut out;
    out.u16(quint32(grpprl.size()));
    out.bytes(grpprl.data());
    return out.take();
}

QByteArray plcfSed(qint32 ccpText, quint32 fcSepx) {
    DocBytesOut out;
    out.u32(0);
    out.u32(quint32(ccpText));
    out.u16(0);  // fn
    out.u32(fcSepx);
    out.u16(0);           // fnMpr
    out.u32(0xFFFFFFFF);  // fcMpr: none
    return out.take();
}

}  // namespace office::doc::DocSection
