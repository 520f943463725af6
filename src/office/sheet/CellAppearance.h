#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace office::sheet {

class Workbook;

/// Horizontal alignment of an XF record (its alc field).
enum class HorizontalAlignment : unsigned char {
    General,
    Left,
    Center,
    Right,
    Fill,
    Justify,
    CenterAcross,
    Distributed
};

/// What a cell's format says about its look, as far as a web page shows it.
struct CellLook {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<std::uint32_t> color;  ///< 0xRRGGBB; none for the automatic (window text) colour
    HorizontalAlignment alignment = HorizontalAlignment::General;
};

/// The fonts, XF records and palette of a workbook's globals, read once, giving
/// the look of every XF index. XF records the reader could not parse, and XF
/// indexes beyond the file's, give the default look.
class CellAppearance {
public:
    explicit CellAppearance(const Workbook &book);

    /// The look of cells formatted with XF `xf` (0-based index into the XF records).
    const CellLook &look(int xf) const;

private:
    std::vector<CellLook> m_looks;
    CellLook m_default;
};

}  // namespace office::sheet
