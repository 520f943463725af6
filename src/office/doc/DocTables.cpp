#include "office/doc/DocTables.h"

#include "office/doc/DocBytes.h"
#include "office/doc/DocSprms.h"

namespace office::doc::DocTables {

namespace {

constexpr int kDefaultWidth = 1500;
constexpr int kTcSize = 20;
constexpr quint16 kWidthInTwips = 3 << 9;  // TC80 ftsWidth: wWidth is in twips

// A single border half a point wide (Brc80: width in eighths of a point, type 1).
void appendBorder(DocBytesOut &out) {
    out.u8(4);
    out.u8(1);
    out.u8(0);
    out.u8(0);
}

}  // namespace

QByteArray cellParagraphProps() {
    DocBytesOut out;
    Sprm::append(out, Sprm::PFInTable, 1);
    return out.take();
}

QByteArray rowEndProps(const QList<int> &widths, int cells, bool autoFit) {
    DocBytesOut out;
    Sprm::append(out, Sprm::PFInTable, 1);
    Sprm::append(out, Sprm::PFTtp, 1);
    Sprm::append(out, Sprm::TDxaGapHalf, kGapHalf);
    const int columns = std::min(cells, kMaxColumns);
    out.u16(Sprm::TDefTable);
    out.u16(quint32(1 + 2 * (columns + 1) + kTcSize * columns + 1));
    out.u8(quint32(columns));
    int edge = -kGapHalf;
    out.u16(quint32(qint16(edge)));
    for (int c = 0; c < columns; ++c) {
        edge += c < widths.size() ? widths[c] : kDefaultWidth;
        out.u16(quint32(qint16(std::min(edge, 31680))));
    }
    for (int c = 0; c < columns; ++c) {
        out.u16(kWidthInTwips);
        out.u16(quint32(c < widths.size() ? widths[c] : kDefaultWidth));
        for (int b = 0; b < 4; ++b) appendBorder(out);
    }
    if (autoFit) Sprm::append(out, Sprm::TFAutofit, 1);
    return out.take();
}

}  // namespace office::doc::DocTables
