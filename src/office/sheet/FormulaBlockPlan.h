#pragma once

#include "office/sheet/SheetTypes.h"

#include <QByteArray>

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace office::sheet {

class Worksheet;

/// How the shared and array formulas of a sheet go back when cells of their ranges
/// were overwritten. The formula cells of such a range name the range's first cell
/// (PtgExp), and the SHRFMLA or ARRAY record must follow that cell's FORMULA record.
/// - A shared formula whose first cell is gone is anchored anew: one SHRFMLA for the
///   remaining cells when the first of them is the top-left of their bounding box,
///   otherwise one per row of remaining cells; their PtgExp tokens name the new anchor.
///   Shared tokens are relative to the cell that uses them, so they stay as they are.
/// - An array formula with any cell overwritten can no longer be one array: each
///   remaining cell gets the array's tokens as a formula of its own.
/// Intact blocks are written as they were read, after the first formula cell of
/// their range.
class FormulaBlockPlan {
public:
    explicit FormulaBlockPlan(const Worksheet &sheet);

    /// The records to write for a formula cell: its FORMULA record, then any SHRFMLA,
    /// ARRAY or TABLE record that follows it, each as (record id, body).
    std::vector<std::pair<std::uint16_t, QByteArray>> recordsFor(const Cell &cell);

private:
    struct SubBlock {
        CellRange range;  // 1-based; its first cell is the anchor
        int uses = 0;
    };
    const Worksheet &m_sheet;
    std::vector<bool> m_written;
    std::vector<bool> m_broken;
    std::map<std::pair<int, int>, std::size_t> m_blockAt;  // anchor (1-based) -> block index
    std::map<std::pair<int, int>, SubBlock> m_subBlockOf;  // cell -> new shared block it belongs to
};

/// The cell (1-based row, column) a FORMULA record body's PtgExp names, if its tokens
/// are just that reference.
std::optional<std::pair<int, int>> sharedReferenceOf(const QByteArray &formulaRecord);

}  // namespace office::sheet
