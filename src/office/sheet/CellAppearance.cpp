#include "office/sheet/CellAppearance.h"

#include "office/sheet/Workbook.h"

#include <array>

namespace office::sheet {

namespace {

constexpr std::uint16_t kFontRecord = 0x0031;
constexpr std::uint16_t kPaletteRecord = 0x0092;
constexpr std::uint16_t kXfRecord = 0x00E0;
constexpr int kBoldWeight = 700;

// The default colour palette of Excel 97-2003, colour indexes 8 … 63; 0 … 7 repeat
// the first eight. A PALETTE record replaces 8 … 63.
constexpr std::array<std::uint32_t, 56> kDefaultPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
    0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, 0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF,
    0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, 0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000,
    0x008080, 0x0000FF, 0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, 0x003366, 0x339966,
    0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

struct FontLook {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colorIndex = 0x7FFF;
};

unsigned u16(const QByteArray &body, int at) {
    return quint8(body[at]) | (unsigned(quint8(body[at + 1])) << 8);
}

}  // namespace

CellAppearance::CellAppearance(const Workbook &book) {
    std::array<std::uint32_t, 56> palette = kDefaultPalette;
    std::vector<FontLook> fonts;
    std::vector<QByteArray> xfs;
    const QByteArray &stream = book.stream();
    for (const RawRecord &r : book.globalRecords()) {
        if (r.id != kFontRecord && r.id != kPaletteRecord && r.id != kXfRecord) continue;
        if (r.offset < 0 || r.length < 4 || r.offset + r.length > stream.size()) continue;
        // The record's own length, without any CONTINUE that follows it.
        const int own = int(u16(stream, int(r.offset) + 2));
        const QByteArray body = stream.mid(r.offset + 4, std::min<qint64>(own, r.length - 4));
        if (r.id == kFontRecord) {
            FontLook f;
            if (body.size() >= 11) {
                f.italic = u16(body, 2) & 0x0002;
                f.colorIndex = int(u16(body, 4));
                f.bold = u16(body, 6) >= kBoldWeight;
                f.underline = quint8(body[10]) != 0;
            }
            fonts.push_back(f);
        } else if (r.id == kPaletteRecord) {
            const int count = body.size() >= 2 ? int(u16(body, 0)) : 0;
            for (int i = 0; i < count && i < int(palette.size()) && 2 + 4 * i + 3 < body.size(); ++i) {
                const int at = 2 + 4 * i;
                palette[std::size_t(i)] = (std::uint32_t(quint8(body[at])) << 16) |
                                          (std::uint32_t(quint8(body[at + 1])) << 8) | quint8(body[at + 2]);
            }
        } else {
            xfs.push_back(body);
        }
    }

    auto colorOf = [&](int index) -> std::optional<std::uint32_t> {
        if (index >= 0 && index < 8) return kDefaultPalette[std::size_t(index)];
        if (index >= 8 && index < 64) return palette[std::size_t(index - 8)];
        return std::nullopt;  // 0x7FFF and the system colours: automatic
    };
    m_looks.reserve(xfs.size());
    for (const QByteArray &xf : xfs) {
        CellLook look;
        if (xf.size() >= 7) {
            // Font index 4 does not exist: indexes above it are one behind in the record list.
            int font = int(u16(xf, 0));
            if (font > 4) --font;
            if (font >= 0 && std::size_t(font) < fonts.size()) {
                const FontLook &f = fonts[std::size_t(font)];
                look.bold = f.bold;
                look.italic = f.italic;
                look.underline = f.underline;
                look.color = colorOf(f.colorIndex);
                // Black is how the automatic colour shows; leave it unstated.
                if (look.color == 0u) look.color.reset();
            }
            look.alignment = HorizontalAlignment(quint8(xf[6]) & 0x07);
        }
        m_looks.push_back(look);
    }
}

const CellLook &CellAppearance::look(int xf) const {
    return xf >= 0 && std::size_t(xf) < m_looks.size() ? m_looks[std::size_t(xf)] : m_default;
}

}  // namespace office::sheet
