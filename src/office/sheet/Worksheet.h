#pragma once

#include "office/ole/CellGridClipboard.h"
#include "office/sheet/CellValue.h"
#include "office/sheet/SheetTypes.h"
#include "office/sheet/TypedInput.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <set>
#include <vector>

namespace office::sheet {

class Workbook;

/// Direction of an End jump (Ctrl+Arrow).
enum class Direction { Up, Left };

/// One sheet of a workbook. Worksheets carry cells, comments, column and row
/// attributes and merged areas; other kinds (charts, macro and dialog sheets) keep
/// only their records. Rows and columns are 1-based throughout.
class Worksheet {
public:
    static constexpr int kRowCount = 65536;   ///< Rows.Count
    static constexpr int kColumnCount = 256;  ///< Columns.Count

    explicit Worksheet(Workbook *book) : m_book(book) {}

    const QString &name() const { return m_name; }
    /// 1-based position among all sheets of the workbook (worksheets or not).
    int index() const { return m_index; }
    SheetKind kind() const { return m_kind; }
    SheetVisibility visibility() const { return m_visibility; }

    // --- cells ---------------------------------------------------------------
    /// The value of a cell (its cached result for a formula); empty outside the sheet
    /// and for BLANK cells. A cell that a merged area covers keeps the value its record
    /// holds, as the spreadsheet keeps it (hidden, but there for formulas and Value).
    CellValue value(int row, int column) const;
    /// The stored cell at (row, column), or nullptr.
    const Cell *cell(int row, int column) const;
    /// Every stored cell (BLANK formatting cells included), row-major.
    const CellList &cells() const { return m_cells; }
    /// Formula records; Cell::ref of a formula cell indexes them.
    const std::vector<FormulaCell> &formulas() const { return m_formulas; }
    /// SHRFMLA, ARRAY and TABLE records in the order read.
    const std::vector<FormulaBlock> &formulaBlocks() const { return m_formulaBlocks; }
    /// The shared, array or table formula anchored at (row, column) (the cell a PtgExp
    /// or PtgTbl token names), or nullptr.
    const FormulaBlock *formulaBlockAt(int row, int column) const;
    /// The value a cell record holds, as value() reports it (ignores merging).
    CellValue valueOf(const Cell &cell) const;
    /// A number, boolean (0/1) or error (its code) cell's number, or a formula's
    /// cached one; 0 for others.
    double numberOf(const Cell &cell) const;
    /// What the cell shows (Range.Text): its value through its number format in the
    /// system locale, or with displayFormulas() its formula text (constants
    /// unformatted); "" where value() is empty. Defined in CellTexts.cpp.
    QString text(int row, int column) const;
    /// text() of a stored cell of this sheet.
    QString textOf(const Cell &cell) const;
    /// The formula text of a formula cell (Range.Formula): "=SUM(A1:A3)" with English
    /// function names; "" for other cells and for tokens that cannot be read.
    QString formula(int row, int column) const;

    /// End(Up) from (row, column): the row the jump lands on. From a non-empty cell
    /// whose neighbour above is non-empty, the top of that run; otherwise the next
    /// non-empty cell above, or row 1.
    int endUp(int row, int column) const;
    /// End(Left) from (row, column): the column the jump lands on, as endUp sideways.
    int endLeft(int row, int column) const;
    /// endUp or endLeft; returns the row for Up and the column for Left.
    int end(int row, int column, Direction direction) const;
    /// The lowest row and the rightmost column holding a cell that endUp and endLeft
    /// count as filled; {0, 0} when there is none.
    std::pair<int, int> filledExtent() const;

    // --- comments ------------------------------------------------------------
    /// Comments in row-major order of their cells.
    int commentCount() const { return int(m_comments.size()); }
    /// The i-th comment, 1-based.
    const Comment &comment(int i) const { return m_comments.at(std::size_t(i - 1)); }
    const std::vector<Comment> &comments() const { return m_comments; }

    // --- columns, rows, outline, merged areas ---------------------------------
    bool isColumnHidden(int column) const;
    void setColumnHidden(int column, bool hidden);
    /// Shows every column (EntireColumn.Hidden = false on all cells).
    void showAllColumns();
    int columnOutlineLevel(int column) const;
    bool isColumnCollapsed(int column) const;
    /// Row attributes from ROW records, ascending by row.
    const RowInfoList &rowInfos() const { return m_rows; }
    bool isRowHidden(int row) const;
    int rowOutlineLevel(int row) const;
    /// Opens every outline level of rows and columns (ShowLevels 8, 8): rows and
    /// columns inside an outline are shown and no group stays collapsed. Rows and
    /// columns hidden outside any outline stay hidden.
    void showAllOutlineLevels();
    const std::vector<CellRange> &mergedAreas() const { return m_merged; }

    // --- clipboard --------------------------------------------------------------
    /// Range.Copy: puts the texts of `range` on the clipboard as a grid, one row per
    /// sheet row, each cell's text() (display text, or formula text when formulas
    /// are displayed; "" for empty and merge-covered cells). Hidden rows and columns
    /// are copied too, as the spreadsheet copies a plain selection: the grid keeps
    /// the sheet's shape, so pasting it back from the same corner hits the same cells.
    void copyRange(const CellRange &range, CellGridClipboard &clipboard) const;

    // --- window ---------------------------------------------------------------
    /// WINDOW2 option flags (0 when the sheet has none).
    std::uint16_t window2Flags() const { return m_window2Flags; }
    bool displayFormulas() const { return m_window2Flags & 0x0001; }
    void setDisplayFormulas(bool on);

    // --- editing ----------------------------------------------------------------
    /// Sets a cell from a text as typing it does (interpretTypedText with the
    /// workbook's date system): a number, a date, an error, a text or, for "", an
    /// empty cell; "True" and "False" give a boolean only to a cell that holds a
    /// boolean (elsewhere they are words). The cell keeps its format; a date typed into a cell without a date format gets
    /// one. A formula in the cell is replaced. Texts longer than a cell holds are cut
    /// and *truncated is set. False for a cell outside the sheet.
    bool setValue(int row, int column, const QString &text, const QLocale &locale = QLocale::system(),
                  bool *truncated = nullptr);
    bool setValue(int row, int column, const QString &text, const TypingLocale &typing, bool *truncated = nullptr);
    /// Sets each text of the grid (rows of cells) as setValue does, the first at
    /// (row, column); cells beyond the sheet are left out. Returns how many texts were cut.
    int pasteGrid(int row, int column, const QList<QStringList> &grid, const QLocale &locale = QLocale::system());
    /// Sets the text of the i-th comment (1-based); author, box and anchor stay. Texts
    /// longer than a comment holds (kMaxCommentText) are cut and *truncated is set.
    /// False when there is no such comment.
    bool setCommentText(int i, const QString &text, bool *truncated = nullptr);
    /// True once a cell or comment of the sheet was changed.
    bool isModified() const { return m_cellsModified || !m_changedComments.empty(); }
    bool cellsModified() const { return m_cellsModified; }
    /// Indexes (0-based) of the comments whose text was set.
    const std::set<int> &changedComments() const { return m_changedComments; }

    // --- records, for the writer ----------------------------------------------
    /// The sheet's records other than ROW, DBCELL and the cell and formula records,
    /// in stream order, from its BOF to its EOF.
    const std::vector<RawRecord> &records() const { return m_records; }
    /// Index into records() before which the cell block (ROW and cell records) stood;
    /// records().size() when the sheet has none.
    int cellBlockPosition() const { return m_cellBlockPosition; }
    /// Stream offset of the sheet's BOF record.
    qint64 streamOffset() const { return m_streamOffset; }

private:
    friend class Biff8Reader;

    // Rows (0-based) of non-empty cells in each column, ascending; built on first use.
    const std::vector<std::uint16_t> &nonEmptyRows(int column0) const;
    bool isNonEmpty(const Cell &cell) const;
    // Index of the first stored cell at or after (row0, column0) in row-major order.
    std::size_t cellPosition(int row0, int column0) const;
    // The stored cell at (row0, column0), created (as a BLANK with the default XF) if missing.
    Cell &cellForWriting(int row0, int column0);
    void storeTyped(Cell &cell, const QString &text, const TypingLocale &typing, bool *truncated);
    std::pair<std::size_t, std::size_t> rowSpan(int row0) const;

    Workbook *m_book;
    QString m_name;
    int m_index = 0;
    SheetKind m_kind = SheetKind::Worksheet;
    SheetVisibility m_visibility = SheetVisibility::Visible;
    CellList m_cells;
    std::vector<FormulaCell> m_formulas;
    /// The numbers of number cells that no RK value holds, as Cell::ref indexes them.
    std::vector<double, memory::MappedAllocator<double>> m_numbers;
    std::vector<FormulaBlock> m_formulaBlocks;
    std::vector<Comment> m_comments;
    std::array<ColumnState, kColumnCount> m_columns{};
    RowInfoList m_rows;
    std::vector<CellRange> m_merged;
    std::uint16_t m_window2Flags = 0;
    std::vector<RawRecord> m_records;
    int m_cellBlockPosition = 0;
    qint64 m_streamOffset = 0;
    mutable std::vector<std::vector<std::uint16_t>> m_columnIndex;
    mutable std::size_t m_lookupHint = 0;  // where cellPosition() looks first
    bool m_cellsModified = false;
    std::set<int> m_changedComments;
};

}  // namespace office::sheet
