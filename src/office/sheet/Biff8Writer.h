#pragma once

#include "office/memory/MappedAllocator.h"
#include "office/ole/OfficeStatus.h"
#include "office/sheet/SheetTypes.h"

#include <QByteArray>

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace office::sheet {

class FormulaBlockPlan;
class Workbook;
class Worksheet;

/// A list with an entry per string, megabytes long for a large workbook.
using IndexList = std::vector<std::uint32_t, memory::MappedAllocator<std::uint32_t>>;

/// Writes a workbook stream back from a Workbook that was read from BIFF8. Records
/// that nothing changed are copied byte for byte from the stream as read; what the
/// changes touch is rebuilt: the shared strings (SST, EXTSST) when texts were added
/// or are no longer used, the cell block of a changed sheet (ROW, cells, DBCELL) with
/// its DIMENSIONS and INDEX, TXO records of changed comments, and every BOUNDSHEET
/// offset. A rebuilt SST keeps the strings that cells still use, in their order, and
/// adds the new texts that it does not hold yet; the LABELSST records of copied sheets
/// get the new indexes in place (their size stays, so no offset moves).
class Biff8Writer {
public:
    explicit Biff8Writer(const Workbook &book) : m_book(book) {}

    /// The new workbook stream, not yet encrypted, in pieces that follow one another
    /// in the stream: the globals, then each sheet. A rebuilt stream of tens of
    /// megabytes is so never held twice to join it.
    Status write(std::vector<QByteArray> &pieces);

private:
    /// A sheet written on its own, as if it began the stream.
    struct SheetPart {
        QByteArray bytes;
        std::vector<qint64> offsetFields;
    };

    void planStrings();
    /// The SST index a text cell's string gets in the written SST.
    std::uint32_t sstIndexOf(std::uint32_t stringIndex) const;
    void writeGlobals(QByteArray &out, std::vector<qint64> &boundSheetOffsets);
    void writeSharedStrings(QByteArray &out);
    /// Writes the sheet at the end of `out`, noting the positions of the fields
    /// that hold stream offsets (INDEX), which move when the sheet does.
    void writeSheet(const Worksheet &sheet, QByteArray &out, std::vector<qint64> &offsetFields);
    void writeCellBlock(const Worksheet &sheet, QByteArray &out, std::vector<qint64> &dbCells,
                        int &firstRow, int &lastRow);
    void writeCell(const Worksheet &sheet, const Cell &cell, QByteArray &out, FormulaBlockPlan &blocks);
    void writeMultiple(const CellList &cells, std::size_t first, std::size_t end, QByteArray &out);
    void writeTextObject(const Worksheet &sheet, int commentIndex, QByteArray &out);
    QByteArray raw(qint64 offset, qint64 length) const;

    const Workbook &m_book;
    bool m_rebuildSst = false;
    /// SST index as read -> SST index as written (kDropped for strings no cell uses).
    IndexList m_sstIndex;
    /// String index (into the workbook's texts) -> SST index, for texts beyond the SST.
    IndexList m_newSstIndex;  // SST index of each text after the SST, by index - SST size
    /// The SST as written: indexes as read of the kept strings, then new texts.
    IndexList m_keptStrings;
    IndexList m_newSstStrings;
    std::uint32_t m_references = 0;
};

}  // namespace office::sheet
