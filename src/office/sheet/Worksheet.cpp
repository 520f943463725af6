#include "office/sheet/Worksheet.h"

#include "office/sheet/ExcelDate.h"
#include "office/sheet/RkNumber.h"
#include "office/sheet/Workbook.h"

#include <algorithm>
#include <array>

namespace office::sheet {
namespace {

bool inSheet(int row, int column) {
    return row >= 1 && row <= Worksheet::kRowCount && column >= 1 && column <= Worksheet::kColumnCount;
}

bool before(const Cell &cell, int row0, int column0) {
    return cell.row0 < row0 || (cell.row0 == row0 && cell.column0 < column0);
}

}  // namespace

std::size_t Worksheet::cellPosition(int row0, int column0) const {
    // Callers mostly walk a sheet cell by cell: try the place after the last cell
    // found, then that cell itself (asked about, then written).
    const auto startsAt = [&](std::size_t at) {
        return at <= m_cells.size() && (at == 0 || before(m_cells[at - 1], row0, column0)) &&
               (at == m_cells.size() || !before(m_cells[at], row0, column0));
    };
    const std::size_t hint = m_lookupHint;
    if (startsAt(hint)) return hint;
    if (hint > 0 && startsAt(hint - 1)) return hint - 1;
    const auto it = std::lower_bound(m_cells.begin(), m_cells.end(), 0, [&](const Cell &c, int) {
        return before(c, row0, column0);
    });
    return std::size_t(it - m_cells.begin());
}

const Cell *Worksheet::cell(int row, int column) const {
    if (!inSheet(row, column)) return nullptr;
    const int row0 = row - 1, column0 = column - 1;
    const std::size_t at = cellPosition(row0, column0);
    if (at == m_cells.size() || m_cells[at].row0 != row0 || m_cells[at].column0 != column0) return nullptr;
    m_lookupHint = at + 1;
    return &m_cells[at];
}

double Worksheet::numberOf(const Cell &c) const {
    if (c.isFormula()) return c.ref < m_formulas.size() ? m_formulas[c.ref].number : 0;
    switch (c.type) {
    case CellType::Number:
        if (c.flags & Cell::kRkValue) return decodeRk(c.ref);
        return c.ref < m_numbers.size() ? m_numbers[c.ref] : 0;
    case CellType::Bool:
    case CellType::Error: return c.ref;
    default: return 0;
    }
}

CellValue Worksheet::valueOf(const Cell &c) const {
    CellType type = c.type;
    const double number = numberOf(c);
    std::uint32_t text = c.ref;
    if (c.isFormula()) {
        if (c.ref >= m_formulas.size()) return {};
        text = m_formulas[c.ref].textIndex;
    }
    switch (type) {
    case CellType::Blank: return {};
    case CellType::Number:
        if (m_book && m_book->xfIsDate(c.xf) && number >= 0 && number < kMaxDateSerial + 1)
            return CellValue::date(number, m_book->isDate1904());
        return CellValue::number(number);
    case CellType::Text: return CellValue::text(m_book ? m_book->string(text) : QString());
    case CellType::Bool: return CellValue::boolean(number != 0);
    case CellType::Error: return CellValue::error(std::uint8_t(number));
    }
    return {};
}

CellValue Worksheet::value(int row, int column) const {
    const Cell *c = cell(row, column);
    if (!c) return {};
    return valueOf(*c);
}

const FormulaBlock *Worksheet::formulaBlockAt(int row, int column) const {
    for (const FormulaBlock &b : m_formulaBlocks)
        if (b.range.firstRow == row && b.range.firstColumn == column) return &b;
    return nullptr;
}

bool Worksheet::isNonEmpty(const Cell &c) const {
    if (c.type == CellType::Blank) return false;
    // A formula whose result is the empty text still counts as filled for the jump,
    // as in the spreadsheet; a constant empty text cannot be stored.
    return true;
}

std::pair<std::size_t, std::size_t> Worksheet::rowSpan(int row0) const {
    const auto first = std::lower_bound(m_cells.begin(), m_cells.end(), row0,
                                        [](const Cell &c, int r) { return c.row0 < r; });
    const auto last = std::upper_bound(first, m_cells.end(), row0, [](int r, const Cell &c) { return r < c.row0; });
    return {std::size_t(first - m_cells.begin()), std::size_t(last - m_cells.begin())};
}

const std::vector<std::uint16_t> &Worksheet::nonEmptyRows(int column0) const {
    if (m_columnIndex.empty()) {
        m_columnIndex.resize(kColumnCount);
        for (const Cell &c : m_cells)
            if (isNonEmpty(c)) m_columnIndex[c.column0].push_back(c.row0);
    }
    return m_columnIndex[std::size_t(column0)];
}

// The jump along one line of cells, given the sorted positions (0-based) of its
// non-empty cells and the 0-based start.
static int jumpBack(const std::uint16_t *begin, const std::uint16_t *end, int from0) {
    const auto at = std::lower_bound(begin, end, from0);
    const bool hereFilled = at != end && *at == from0;
    if (at == begin) return 0;
    auto prev = at - 1;
    if (hereFilled && *prev == from0 - 1) {
        // Inside a run: go to its first cell.
        while (prev != begin && *(prev - 1) == *prev - 1) --prev;
        return *prev;
    }
    return *prev;
}

int Worksheet::endUp(int row, int column) const {
    if (!inSheet(row, column)) return std::clamp(row, 1, kRowCount);
    const std::vector<std::uint16_t> &filled = nonEmptyRows(column - 1);
    return jumpBack(filled.data(), filled.data() + filled.size(), row - 1) + 1;
}

int Worksheet::endLeft(int row, int column) const {
    if (!inSheet(row, column)) return std::clamp(column, 1, kColumnCount);
    const auto [first, last] = rowSpan(row - 1);
    // A row holds at most one cell per column; this runs once per row of a sheet scan.
    std::array<std::uint16_t, kColumnCount> filled;
    std::size_t n = 0;
    for (std::size_t i = first; i < last && n < filled.size(); ++i)
        if (isNonEmpty(m_cells[i])) filled[n++] = m_cells[i].column0;
    return jumpBack(filled.data(), filled.data() + n, column - 1) + 1;
}

std::pair<int, int> Worksheet::filledExtent() const {
    int row = 0, column = 0;
    for (const Cell &c : m_cells)
        if (isNonEmpty(c)) {
            row = std::max(row, c.row());
            column = std::max(column, c.column());
        }
    return {row, column};
}

int Worksheet::end(int row, int column, Direction direction) const {
    return direction == Direction::Up ? endUp(row, column) : endLeft(row, column);
}

bool Worksheet::isColumnHidden(int column) const {
    return column >= 1 && column <= kColumnCount && m_columns[std::size_t(column - 1)].hidden;
}

void Worksheet::setColumnHidden(int column, bool hidden) {
    if (column >= 1 && column <= kColumnCount) m_columns[std::size_t(column - 1)].hidden = hidden;
}

void Worksheet::showAllColumns() {
    for (ColumnState &c : m_columns) c.hidden = false;
}

int Worksheet::columnOutlineLevel(int column) const {
    return column >= 1 && column <= kColumnCount ? m_columns[std::size_t(column - 1)].outlineLevel : 0;
}

bool Worksheet::isColumnCollapsed(int column) const {
    return column >= 1 && column <= kColumnCount && m_columns[std::size_t(column - 1)].collapsed;
}

static const RowInfo *findRow(const RowInfoList &rows, int row) {
    const auto it = std::lower_bound(rows.begin(), rows.end(), row, [](const RowInfo &r, int n) { return r.row < n; });
    return it != rows.end() && it->row == row ? &*it : nullptr;
}

bool Worksheet::isRowHidden(int row) const {
    const RowInfo *r = findRow(m_rows, row);
    return r && r->hidden;
}

int Worksheet::rowOutlineLevel(int row) const {
    const RowInfo *r = findRow(m_rows, row);
    return r ? r->outlineLevel : 0;
}

void Worksheet::showAllOutlineLevels() {
    for (ColumnState &c : m_columns) {
        if (c.outlineLevel > 0) c.hidden = false;
        c.collapsed = false;
    }
    // A collapsed group's summary row carries the flag but no level of its own.
    for (RowInfo &r : m_rows) {
        if (r.outlineLevel > 0) r.hidden = false;
        r.collapsed = false;
    }
}

void Worksheet::setDisplayFormulas(bool on) {
    m_window2Flags = on ? (m_window2Flags | 0x0001) : (m_window2Flags & ~0x0001);
}

}  // namespace office::sheet
