#pragma once

#include "office/memory/MappedAllocator.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace office::sheet {

/// A rectangle of cells; rows and columns 1-based and inclusive.
struct CellRange {
    int firstRow = 1;
    int lastRow = 1;
    int firstColumn = 1;
    int lastColumn = 1;
    bool contains(int row, int column) const {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool operator==(const CellRange &) const = default;
};

/// One record of the workbook stream kept as read: its header's byte offset in the
/// (decrypted) stream and its length including the header and any CONTINUE records
/// that follow it.
struct RawRecord {
    std::uint16_t id = 0;
    qint64 offset = 0;
    qint64 length = 0;
};

/// Longest text a comment holds, in UTF-16 characters (as long as a cell's text).
constexpr int kMaxCommentText = 32767;

/// A comment (note) attached to a cell.
struct Comment {
    int row = 1;     ///< 1-based
    int column = 1;  ///< 1-based
    QString author;
    QString text;
    bool shown = false;           ///< always displayed, not only on hover
    std::uint16_t objectId = 0;   ///< id of the OBJ that holds the note's text box
    int noteRecord = -1;          ///< index of the NOTE record among the sheet's raw records
    int textRecord = -1;          ///< index of the TXO record among the sheet's raw records
};

/// How a stored cell's value (or a formula's cached result) is typed.
enum class CellType : std::uint8_t { Blank, Number, Text, Bool, Error };

/// One cell record as stored: value cells, formula cells, and BLANK cells that carry
/// only formatting. Rows and columns are kept 0-based and the value is one 32-bit
/// field, so that a cell takes 12 bytes: a full sheet holds 16 million of them.
struct Cell {
    enum Flag : std::uint8_t {
        kFormula = 0x01,        ///< a FORMULA cell; ref indexes the sheet's formulas
        kCoveredByMerge = 0x02, ///< inside a merged area, not its top-left cell (its value stays)
        kRkValue = 0x04,        ///< a number stored as an RK value; ref holds it
        kInMultiple = 0x08,     ///< read from a MULRK or MULBLANK record (kept so when saved)
    };
    std::uint16_t row0 = 0;
    std::uint16_t column0 = 0;
    std::uint16_t xf = 0;  ///< index into the workbook's XF records
    CellType type = CellType::Blank;
    std::uint8_t flags = 0;
    /// Text cells: index into the workbook's strings; formula cells: index into the
    /// sheet's formulas; kRkValue numbers: the RK value; other numbers: index into
    /// the sheet's numbers; booleans: 0/1; errors: the error code.
    /// Worksheet::numberOf gives a cell's number.
    std::uint32_t ref = 0;

    int row() const { return row0 + 1; }
    int column() const { return column0 + 1; }
    bool isFormula() const { return flags & kFormula; }
};

static_assert(sizeof(Cell) == 12, "a cell stays small: a full sheet holds 16 million");

/// A sheet's cells, in row-major order; a large sheet holds hundreds of thousands.
using CellList = std::vector<Cell, memory::MappedAllocator<Cell>>;

/// A formula cell's record, kept whole for the formula text and the writer.
struct FormulaCell {
    /// The FORMULA record body: row, column, XF, cached result, flags, cell id, token
    /// length, tokens (rgce) and any trailing extra data.
    QByteArray record;
    /// Cached result of a number, boolean (0/1) or error (its code) result.
    double number = 0;
    /// Cached text result (index into the workbook's strings; StringPool::kNone for
    /// none) when the result is text.
    std::uint32_t textIndex = 0xFFFFFFFFu;
    /// The STRING record body that held the cached text, as read (empty when none).
    QByteArray stringRecord;

    /// Token bytes (rgce); empty when the record is shorter than it says.
    QByteArray tokens() const;
    /// Bytes after the tokens (rgcb: array constants and similar).
    QByteArray extra() const;
};

/// A SHRFMLA, ARRAY or TABLE record and the range it covers.
struct FormulaBlock {
    enum Kind : std::uint8_t { Shared, Array, Table };
    Kind kind = Shared;
    CellRange range;
    /// Record body as read (its range field first).
    QByteArray record;
};

/// Rich-text runs and phonetic data of a shared string, kept as read.
struct SstFormatting {
    std::uint16_t runCount = 0;
    QByteArray runs;      ///< runCount runs of 4 bytes
    QByteArray phonetic;  ///< the phonetic block (ExtRst), empty when none
};

/// Column attributes from COLINFO, one per column.
struct ColumnState {
    bool hidden = false;
    std::uint8_t outlineLevel = 0;
    bool collapsed = false;
};

/// Row attributes from a ROW record.
struct RowInfo {
    int row = 1;  ///< 1-based
    bool hidden = false;
    std::uint8_t outlineLevel = 0;
    bool collapsed = false;
    /// ROW record body as read (16 bytes in BIFF5/8); hasRecord is false when the
    /// record was shorter.
    std::array<char, 16> record{};
    bool hasRecord = false;
};

using RowInfoList = std::vector<RowInfo, memory::MappedAllocator<RowInfo>>;

/// What kind of sheet a BOUNDSHEET names.
enum class SheetKind : std::uint8_t { Worksheet, Chart, MacroSheet, Dialog, VbModule, Other };
enum class SheetVisibility : std::uint8_t { Visible, Hidden, VeryHidden };

}  // namespace office::sheet
