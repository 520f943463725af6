// Worksheet: setting values, pasting grids and setting comment texts.

#include "office/sheet/RkNumber.h"
#include "office/sheet/TypedInput.h"
#include "office/sheet/Workbook.h"
#include "office/sheet/Worksheet.h"

#include <algorithm>

namespace office::sheet {
namespace {
constexpr std::uint16_t kDefaultCellXf = 15;  // the "Normal" cell format every BIFF8 file has
}

Cell &Worksheet::cellForWriting(int row0, int column0) {
    const std::size_t at = cellPosition(row0, column0);
    m_lookupHint = at + 1;
    if (at < m_cells.size() && m_cells[at].row0 == row0 && m_cells[at].column0 == column0) return m_cells[at];
    Cell cell;
    cell.row0 = std::uint16_t(row0);
    cell.column0 = std::uint16_t(column0);
    cell.xf = m_book && m_book->xfCount() > kDefaultCellXf ? kDefaultCellXf : 0;
    return *m_cells.insert(m_cells.begin() + std::ptrdiff_t(at), cell);
}

void Worksheet::storeTyped(Cell &cell, const QString &text, const TypingLocale &typing, bool *truncated) {
    // The old value is asked about in place: an import types hundreds of
    // thousands of texts, and a copy of each old text would cost as much as the typing.
    const bool wasBoolean = cell.type == CellType::Bool && (!cell.isFormula() || cell.ref < m_formulas.size());
    const TypedInput input = interpretTypedText(text, typing, m_book && m_book->isDate1904(), wasBoolean);
    if (truncated) *truncated = input.truncated;
    // Typing the text a text cell already holds changes nothing: the cell keeps its
    // record and its string's formatting runs, and an untouched sheet is saved as read.
    if (input.kind == TypedInput::Text && cell.type == CellType::Text && !cell.isFormula() &&
        (m_book ? m_book->stringIs(cell.ref, input.text) : input.text.isEmpty()))
        return;
    // A new value is a cell record of its own (no longer part of a MULRK or MULBLANK).
    cell.flags &= ~(Cell::kFormula | Cell::kRkValue | Cell::kInMultiple);
    cell.ref = 0;
    switch (input.kind) {
    case TypedInput::Empty: cell.type = CellType::Blank; break;
    case TypedInput::Number:
    case TypedInput::Date:
        cell.type = CellType::Number;
        if (input.kind == TypedInput::Date && m_book && !m_book->xfIsDate(cell.xf))
            cell.xf = std::uint16_t(m_book->dateXfFor(cell.xf));
        if (std::uint32_t rk = 0; encodeRk(input.number, rk)) {
            cell.flags |= Cell::kRkValue;
            cell.ref = rk;
        } else {
            cell.ref = std::uint32_t(m_numbers.size());
            m_numbers.push_back(input.number);
        }
        break;
    case TypedInput::Text:
        cell.type = CellType::Text;
        cell.ref = m_book ? m_book->addString(input.text) : 0;
        break;
    case TypedInput::Bool:
    case TypedInput::Error:  // the number holds the value or the error code
        cell.type = input.kind == TypedInput::Bool ? CellType::Bool : CellType::Error;
        cell.ref = std::uint32_t(input.number);
        break;
    }
    m_cellsModified = true;
    m_columnIndex.clear();
}

bool Worksheet::setValue(int row, int column, const QString &text, const QLocale &locale, bool *truncated) {
    return setValue(row, column, text, TypingLocale(locale), truncated);
}

bool Worksheet::setValue(int row, int column, const QString &text, const TypingLocale &typing, bool *truncated) {
    if (truncated) *truncated = false;
    if (row < 1 || row > kRowCount || column < 1 || column > kColumnCount) return false;
    storeTyped(cellForWriting(row - 1, column - 1), text, typing, truncated);
    return true;
}

int Worksheet::pasteGrid(int row, int column, const QList<QStringList> &grid, const QLocale &locale) {
    if (row < 1 || column < 1) return 0;
    const TypingLocale typing(locale);
    // New cells are appended and sorted in once, so a large paste stays linear.
    CellList added;
    int cut = 0;
    for (qsizetype r = 0; r < grid.size() && row + r <= kRowCount; ++r) {
        for (qsizetype c = 0; c < grid[r].size() && column + c <= kColumnCount; ++c) {
            const int row0 = int(row - 1 + r), column0 = int(column - 1 + c);
            bool truncated = false;
            if (cell(row0 + 1, column0 + 1)) {
                storeTyped(cellForWriting(row0, column0), grid[r][c], typing, &truncated);
            } else if (!grid[r][c].isEmpty()) {
                Cell fresh;
                fresh.row0 = std::uint16_t(row0);
                fresh.column0 = std::uint16_t(column0);
                fresh.xf = m_book && m_book->xfCount() > kDefaultCellXf ? kDefaultCellXf : 0;
                storeTyped(fresh, grid[r][c], typing, &truncated);
                added.push_back(fresh);
            }
            cut += truncated;
        }
    }
    if (!added.empty()) {
        m_cells.insert(m_cells.end(), added.begin(), added.end());
        std::stable_sort(m_cells.begin(), m_cells.end(), [](const Cell &a, const Cell &b) {
            return a.row0 < b.row0 || (a.row0 == b.row0 && a.column0 < b.column0);
        });
    }
    return cut;
}

bool Worksheet::setCommentText(int i, const QString &text, bool *truncated) {
    if (truncated) *truncated = false;
    if (i < 1 || i > commentCount()) return false;
    Comment &comment = m_comments[std::size_t(i - 1)];
    qsizetype keep = text.size();
    if (keep > kMaxCommentText) {
        keep = kMaxCommentText;
        if (text.at(keep - 1).isHighSurrogate()) --keep;  // never half a character
        if (truncated) *truncated = true;
    }
    comment.text = text.left(keep);
    m_changedComments.insert(i - 1);
    return true;
}

}  // namespace office::sheet
