#include "office/sheet/FormulaBlockPlan.h"

#include "office/sheet/Biff8Records.h"
#include "office/sheet/Worksheet.h"

#include <algorithm>

namespace office::sheet {

using namespace biff;

namespace {

constexpr qsizetype kFormulaTokens = 22;  // FORMULA: row, column, XF, result, flags, chn, cce
constexpr qsizetype kArrayFormula = 12;   // ARRAY: range, flags, chn, then cce
constexpr std::uint16_t kSharedFlag = 0x0008;

unsigned get16(const QByteArray &b, qsizetype at) { return quint8(b[at]) | (quint8(b[at + 1]) << 8); }
void set16(QByteArray &b, qsizetype at, unsigned v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

// SHRFMLA body for a part of a shared formula: the new range, then the tokens as read.
QByteArray sharedRecord(const QByteArray &original, const CellRange &range, int uses) {
    QByteArray body = original;
    set16(body, 0, unsigned(range.firstRow - 1));
    set16(body, 2, unsigned(range.lastRow - 1));
    body[4] = char(range.firstColumn - 1);
    body[5] = char(range.lastColumn - 1);
    body[7] = char(std::min(uses, 255));
    return body;
}

}  // namespace

std::optional<std::pair<int, int>> sharedReferenceOf(const QByteArray &record) {
    if (record.size() < kFormulaTokens + 5 || get16(record, 20) != 5 || quint8(record[kFormulaTokens]) != 0x01)
        return std::nullopt;
    return std::pair<int, int>{int(get16(record, kFormulaTokens + 1)) + 1, int(get16(record, kFormulaTokens + 3)) + 1};
}

FormulaBlockPlan::FormulaBlockPlan(const Worksheet &sheet)
    : m_sheet(sheet), m_written(sheet.formulaBlocks().size(), false), m_broken(sheet.formulaBlocks().size(), false) {
    const auto &blocks = sheet.formulaBlocks();
    for (std::size_t b = 0; b < blocks.size(); ++b)
        m_blockAt.emplace(std::pair{blocks[b].range.firstRow, blocks[b].range.firstColumn}, b);
    // The cells that still name each block, row-major.
    std::vector<std::vector<std::pair<int, int>>> users(blocks.size());
    for (const Cell &cell : sheet.cells()) {
        if (!cell.isFormula() || cell.ref >= sheet.formulas().size()) continue;
        const auto target = sharedReferenceOf(sheet.formulas()[cell.ref].record);
        if (!target) continue;
        const auto it = m_blockAt.find(*target);
        if (it != m_blockAt.end() && blocks[it->second].range.contains(cell.row(), cell.column()))
            users[it->second].emplace_back(cell.row(), cell.column());
    }
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const FormulaBlock &block = blocks[b];
        const auto &cells = users[b];
        const std::pair anchor{block.range.firstRow, block.range.firstColumn};
        if (block.kind == FormulaBlock::Array) {
            const qint64 area = qint64(block.range.lastRow - block.range.firstRow + 1) *
                                (block.range.lastColumn - block.range.firstColumn + 1);
            m_broken[b] = !cells.empty() && qint64(cells.size()) < area;
            continue;
        }
        if (block.kind != FormulaBlock::Shared || cells.empty() || cells.front() == anchor) continue;
        m_broken[b] = true;
        CellRange box{cells.front().first, cells.front().first, cells.front().second, cells.front().second};
        for (const auto &[row, column] : cells) {
            box.lastRow = std::max(box.lastRow, row);
            box.firstColumn = std::min(box.firstColumn, column);
            box.lastColumn = std::max(box.lastColumn, column);
        }
        if (box.firstColumn == cells.front().second) {
            for (const auto &cell : cells) m_subBlockOf[cell] = SubBlock{box, int(cells.size())};
            continue;
        }
        for (std::size_t i = 0; i < cells.size();) {  // one block per row
            std::size_t end = i;
            while (end < cells.size() && cells[end].first == cells[i].first) ++end;
            const SubBlock part{CellRange{cells[i].first, cells[i].first, cells[i].second, cells[end - 1].second},
                                int(end - i)};
            for (; i < end; ++i) m_subBlockOf[cells[i]] = part;
        }
    }
}

std::vector<std::pair<std::uint16_t, QByteArray>> FormulaBlockPlan::recordsFor(const Cell &cell) {
    std::vector<std::pair<std::uint16_t, QByteArray>> out;
    const auto &blocks = m_sheet.formulaBlocks();
    QByteArray record = m_sheet.formulas()[cell.ref].record;
    const auto target = sharedReferenceOf(record);
    const auto named = target ? m_blockAt.find(*target) : m_blockAt.end();
    const bool inBrokenBlock = named != m_blockAt.end() && m_broken[named->second] &&
                               blocks[named->second].range.contains(cell.row(), cell.column());
    if (inBrokenBlock) {
        const FormulaBlock &block = blocks[named->second];
        m_written[named->second] = true;
        if (block.kind == FormulaBlock::Array) {
            if (block.record.size() >= kArrayFormula + 2) {
                record = record.left(kFormulaTokens - 2) + block.record.mid(kArrayFormula);
                set16(record, 14, get16(record, 14) & ~kSharedFlag);
            }
            out.emplace_back(kFormula, record);
            return out;
        }
        const SubBlock &part = m_subBlockOf.at({cell.row(), cell.column()});
        set16(record, kFormulaTokens + 1, unsigned(part.range.firstRow - 1));
        set16(record, kFormulaTokens + 3, unsigned(part.range.firstColumn - 1));
        out.emplace_back(kFormula, record);
        if (part.range.firstRow == cell.row() && part.range.firstColumn == cell.column() && block.record.size() >= 8)
            out.emplace_back(kShrFmla, sharedRecord(block.record, part.range, part.uses));
        return out;
    }
    out.emplace_back(kFormula, record);
    // An intact shared, array or table formula follows the first formula cell of its range.
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        if (m_written[b] || m_broken[b] || !blocks[b].range.contains(cell.row(), cell.column())) continue;
        const std::uint16_t id = blocks[b].kind == FormulaBlock::Shared  ? kShrFmla
                                 : blocks[b].kind == FormulaBlock::Array ? kArray
                                                                         : kTable;
        out.emplace_back(id, blocks[b].record);
        m_written[b] = true;
    }
    return out;
}

}  // namespace office::sheet
