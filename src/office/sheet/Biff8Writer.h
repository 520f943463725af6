#pragma once

#include "office/ole/OfficeStatus.h"
#include "office/sheet/SheetTypes.h"

#include <QByteArray>

#include <cstdint>
#include <map>
#include <vector>

namespace office::sheet {

class Workbook;
class Worksheet;

/// Writes a workbook stream back from a Workbook that was read from BIFF8. Records
/// that nothing changed are copied byte for byte from the stream as read; what the
/// changes touch is rebuilt: the shared strings (SST, EXTSST) when new texts need a
/// place, the cell block of a changed sheet (ROW, cells, DBCELL) with its DIMENSIONS
/// and INDEX, TXO records of changed comments, and every BOUNDSHEET offset.
class Biff8Writer {
public:
    explicit Biff8Writer(const Workbook &book) : m_book(book) {}

    /// The new workbook stream, not yet encrypted.
    Status write(QByteArray &stream);

private:
    void planStrings();
    void writeGlobals(QByteArray &out, std::vector<qint64> &boundSheetOffsets);
    void writeSharedStrings(QByteArray &out);
    void writeSheet(const Worksheet &sheet, QByteArray &out);
    void writeCellBlock(const Worksheet &sheet, QByteArray &out, std::vector<qint64> &dbCells,
                        int &firstRow, int &lastRow);
    void writeCell(const Worksheet &sheet, const Cell &cell, QByteArray &out, std::vector<bool> &blockWritten);
    void writeMultiple(const CellList &cells, std::size_t first, std::size_t end, QByteArray &out);
    void writeTextObject(const Worksheet &sheet, int commentIndex, QByteArray &out);
    QByteArray raw(qint64 offset, qint64 length) const;

    const Workbook &m_book;
    /// String index (into the workbook's texts) -> SST index, for texts beyond the SST.
    std::map<std::uint32_t, std::uint32_t> m_newSstIndex;
    std::vector<std::uint32_t> m_newSstStrings;
    std::uint32_t m_newReferences = 0;
};

}  // namespace office::sheet
