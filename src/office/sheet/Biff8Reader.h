#pragma once

#include "office/ole/OfficeStatus.h"
#include "office/sheet/BiffRecordReader.h"

#include <QHash>
#include <QString>

class QTextCodec;

namespace office::sheet {

class Workbook;
class Worksheet;

/// Reads the workbook stream (BIFF8, or BIFF5 from Excel 95) into a Workbook: the
/// globals first (code page, date system, formats, XFs, shared strings, sheet list),
/// then each sheet's substream at the offset its BOUNDSHEET gives. One handler per
/// record id; every record is bounded by its header, and every record is kept as a
/// RawRecord so that a writer can put back what it does not change.
class Biff8Reader {
public:
    explicit Biff8Reader(Workbook &book) : m_book(book) {}

    /// Reads book.stream(), which the caller has set (and decrypted).
    Status read();

private:
    struct SheetEntry {
        qint64 offset = 0;
        std::uint8_t state = 0;
        std::uint8_t type = 0;
        QString name;
    };
    struct SheetState;

    Status readGlobals(std::vector<SheetEntry> &entries);
    Status readSharedStrings(const BiffRecord &record);
    Status readSheet(Worksheet &sheet, const SheetEntry &entry);
    Status readCellRecord(Worksheet &sheet, SheetState &state, const BiffRecord &record);
    void readNote(Worksheet &sheet, SheetState &state, const BiffRecord &record, int rawIndex);
    void readTextObject(SheetState &state, const BiffRecord &record, int rawIndex);
    void finishSheet(Worksheet &sheet, SheetState &state);

    bool isBiff5() const;
    std::uint32_t addString(const QString &text);
    Status damaged(const BiffRecord &record) const;
    void warn(const QString &text, qint64 offset);

    Workbook &m_book;
    const QTextCodec *m_codec = nullptr;
    // Cells and rows the DIMENSIONS records of all sheets together may still reserve:
    // what the whole stream could hold. The rest of the stream bounds each sheet, but
    // hundreds of sheets before a long stream would each reserve by that rest.
    qint64 m_cellReserveLeft = 0;
    qint64 m_rowReserveLeft = 0;
};

}  // namespace office::sheet
