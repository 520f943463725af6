#include "office/sheet/Biff8Reader.h"

#include "office/memory/BackgroundPrefault.h"
#include "office/sheet/Biff8Records.h"
#include "office/sheet/CodePage.h"
#include "office/sheet/DateFormatCheck.h"
#include "office/sheet/RecordCursor.h"
#include "office/sheet/RkNumber.h"
#include "office/sheet/SegmentCursor.h"
#include "office/sheet/StringPool.h"
#include "office/sheet/Workbook.h"
#include "office/sheet/Worksheet.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

namespace office::sheet {

using namespace biff;

namespace {

QString hex(std::uint16_t id) { return QStringLiteral("0x%1").arg(id, 4, 16, QLatin1Char('0')); }

bool before(const Cell &a, const Cell &b) {
    return a.row0 < b.row0 || (a.row0 == b.row0 && a.column0 < b.column0);
}

bool isCellBlockRecord(std::uint16_t id) {
    switch (id) {
    case kRow: case kDbCell: case kBlank: case kMulBlank: case kNumber: case kRk: case kMulRk:
    case kLabel: case kLabelSst: case kRString: case kBoolErr: case kFormula: case kString:
    case kShrFmla: case kArray: case kTable:
        return true;
    default: return false;
    }
}

}  // namespace

/// What reading one sheet's substream carries from record to record.
struct Biff8Reader::SheetState {
    int pendingStringFormula = -1;   // formula waiting for its STRING record
    std::uint16_t lastObjectId = 0;  // OBJ whose TXO may follow
    bool lastObjectIsNote = false;
    std::map<std::uint16_t, std::pair<QString, int>> noteTexts;  // object id -> text, TXO index
    bool cellBlockSeen = false;
    int dimensionsIndex = -1;
    bool dialog = false;
    bool cellsSorted = true;
    int biff5Note = -1;  // BIFF5 NOTE whose text continues (index into the comments)
    // Faults in the cells reserved from DIMENSIONS while the records are read;
    // stopped before the cells can move.
    std::optional<memory::BackgroundPrefault> cellPrefault;
};

bool Biff8Reader::isBiff5() const { return m_book.m_biffVersion == 5; }

std::uint32_t Biff8Reader::addString(const QString &text) {
    return m_book.m_strings.add(text);
}

Status Biff8Reader::damaged(const BiffRecord &record) const {
    return Status::failure(QStringLiteral("Datensatz %1 ist beschädigt").arg(hex(record.id)), record.offset);
}

void Biff8Reader::warn(const QString &text, qint64 offset) {
    m_book.m_warnings << QStringLiteral("%1 (Byte %2)").arg(text).arg(offset);
}

Status Biff8Reader::read() {
    m_cellReserveLeft = m_book.m_stream.size() / 6;  // a cell record takes at least 6 bytes
    m_rowReserveLeft = m_book.m_stream.size() / 20;  // a ROW record takes 20 bytes
    std::vector<SheetEntry> entries;
    Status st = readGlobals(entries);
    if (!st) return st;
    int index = 0;
    for (const SheetEntry &entry : entries) {
        auto sheet = std::make_unique<Worksheet>(&m_book);
        sheet->m_name = entry.name;
        sheet->m_index = ++index;
        sheet->m_visibility = entry.state == 1   ? SheetVisibility::Hidden
                              : entry.state == 2 ? SheetVisibility::VeryHidden
                                                 : SheetVisibility::Visible;
        switch (entry.type) {
        case 0: sheet->m_kind = SheetKind::Worksheet; break;
        case 1: sheet->m_kind = SheetKind::MacroSheet; break;
        case 2: sheet->m_kind = SheetKind::Chart; break;
        case 6: sheet->m_kind = SheetKind::VbModule; break;
        default: sheet->m_kind = SheetKind::Other; break;
        }
        st = readSheet(*sheet, entry);
        if (!st) return st;
        m_book.m_sheets.push_back(std::move(sheet));
    }
    for (const auto &sheet : m_book.m_sheets)
        if (sheet->kind() == SheetKind::Worksheet) m_book.m_worksheets.push_back(sheet.get());
    return Status::success();
}

Status Biff8Reader::readGlobals(std::vector<SheetEntry> &entries) {
    const QByteArray &stream = m_book.m_stream;
    BiffRecordReader reader(stream, 0);
    reader.leaveInPlace(kSst);
    BiffRecord record;
    if (!reader.next(record) || record.id != kBof)
        return Status::failure(QStringLiteral("Der Workbook-Datenstrom beginnt nicht mit einem BOF-Datensatz"), 0);
    {
        RecordCursor c(record.body);
        const std::uint16_t version = c.u16();
        const std::uint16_t type = c.u16();
        if (version == 0x0600) m_book.m_biffVersion = 8;
        else if (version == 0x0500) m_book.m_biffVersion = 5;
        else return Status::failure(QStringLiteral("Unbekannte Excel-Dateiversion (BOF %1)").arg(hex(version)), 0);
        if (!c.ok() || type != kGlobals)
            return Status::failure(QStringLiteral("Der Workbook-Datenstrom enthält keine Arbeitsmappe"), 0);
    }
    m_book.m_codePage = isBiff5() ? 1252 : 1200;
    m_codec = codecForCodePage(isBiff5() ? 1252 : 1200);
    std::vector<std::pair<int, std::uint16_t>> xfFormats;
    bool sawEof = false;
    do {
        m_book.m_globalRecords.push_back({record.id, record.offset, record.endOffset - record.offset});
        RecordCursor c(record.body, &record.boundaries);
        switch (record.id) {
        case kEof: sawEof = true; break;
        case kCodePage:
            m_book.m_codePage = c.u16();
            m_codec = codecForCodePage(m_book.m_codePage);
            break;
        case kDateMode: m_book.m_date1904 = c.u16() != 0; break;
        case kFormat: {
            const int index = c.u16();
            const QString code = isBiff5() ? c.byteString(1, m_codec) : c.unicodeString(2);
            if (!c.ok()) return damaged(record);
            m_book.m_formats[index] = code;
            break;
        }
        case kXf:
            c.u16();  // font
            m_book.m_xfFormats.push_back(c.u16());
            if (!c.ok()) return damaged(record);
            break;
        case kBoundSheet: {
            SheetEntry entry;
            entry.offset = c.u32();
            entry.state = c.u8() & 0x03;
            entry.type = c.u8();
            entry.name = isBiff5() ? c.byteString(1, m_codec) : c.unicodeString(1);
            if (!c.ok()) return damaged(record);
            entries.push_back(entry);
            break;
        }
        case kSst: {
            Status st = readSharedStrings(record);
            if (!st) return st;
            break;
        }
        case kExternSheet: m_book.m_externSheet = QByteArray(record.body.constData(), record.body.size()); break;
        case kSupBook: m_book.m_supBooks.emplace_back(record.body.constData(), record.body.size()); break;
        case kName: m_book.m_names.emplace_back(record.body.constData(), record.body.size()); break;
        case kFilePass:
            // The caller decrypted the stream; a second FILEPASS means it could not.
            if (!m_book.m_decrypted)
                return Status::failure(QStringLiteral("Arbeitsmappe ist verschlüsselt"), record.offset);
            break;
        default: break;
        }
    } while (!sawEof && reader.next(record));
    if (!sawEof)
        return Status::failure(QStringLiteral("Die Arbeitsmappe ist abgeschnitten (kein EOF nach den globalen Daten)"),
                               reader.position());
    // Dates are a property of the XF's number format; work it out once per XF.
    m_book.m_xfIsDate.reserve(m_book.m_xfFormats.size());
    for (std::uint16_t format : m_book.m_xfFormats) {
        const auto it = m_book.m_formats.find(format);
        m_book.m_xfIsDate.push_back(isDateFormat(format, it == m_book.m_formats.end() ? QString() : it->second));
    }
    m_book.m_sharedStringCount = std::max(m_book.m_sharedStringCount, 0);
    return Status::success();
}

Status Biff8Reader::readSharedStrings(const BiffRecord &record) {
    const QByteArray &stream = m_book.m_stream;
    SegmentCursor c(stream, recordBodyRanges(stream, record.offset, record.endOffset));
    m_book.m_sstReferences = c.u32();
    const std::uint32_t unique = c.u32();
    if (!c.ok()) return damaged(record);
    StringPool &strings = m_book.m_strings;
    strings.setStream(stream);
    // Each string takes at least three bytes; never reserve more than the data allows.
    strings.reserve(std::min<std::size_t>(unique, std::size_t(c.remaining() / 3 + 1)));
    QString text;
    for (std::uint32_t i = 0; i < unique && c.remaining() > 0; ++i) {
        // As RecordCursor::unicodeString, keeping runs and phonetic data for the writer.
        const qint64 start = c.pos();
        const qint64 partEnd = c.partEnd();
        const int count = c.u16();
        const std::uint8_t flags = c.u8();
        SstFormatting formatting;
        std::uint32_t phonetic = 0;
        if (flags & 0x08) formatting.runCount = c.u16();
        if (flags & 0x04) phonetic = c.u32();
        const qint64 charBytes = qint64(count) * ((flags & 0x01) ? 2 : 1);
        // A string that lies whole in one part is read from the stream when asked for;
        // one split by a CONTINUE record is decoded now.
        const bool inPlace = c.ok() && c.pos() + charBytes <= partEnd;
        if (inPlace) c.skip(charBytes);
        else c.unicodeCharsInto(count, flags, text);
        if (formatting.runCount) formatting.runs = c.bytes(formatting.runCount * 4);
        if (phonetic) formatting.phonetic = c.bytes(std::min<qint64>(phonetic, c.remaining() + 1));
        if (c.ok() && (formatting.runCount || phonetic))
            m_book.m_sstFormatting[std::uint32_t(strings.count())] = std::move(formatting);
        if (!c.ok())
            return Status::failure(QStringLiteral("Die Tabelle der gemeinsamen Texte (SST) ist beschädigt"),
                                   record.offset);
        if (inPlace) strings.addStreamString(start);
        else strings.add(text);
    }
    if (std::uint32_t(strings.count()) < unique)
        warn(QStringLiteral("SST enthält %1 statt %2 Texte").arg(strings.count()).arg(unique), record.offset);
    m_book.m_sharedStringCount = strings.count();
    return Status::success();
}

Status Biff8Reader::readSheet(Worksheet &sheet, const SheetEntry &entry) {
    const QByteArray &stream = m_book.m_stream;
    sheet.m_streamOffset = entry.offset;
    BiffRecordReader reader(stream, entry.offset);
    BiffRecord record;
    if (!reader.next(record) || record.id != kBof)
        return Status::failure(QStringLiteral("Blatt \"%1\": kein BOF-Datensatz an der angegebenen Stelle")
                                   .arg(entry.name),
                               entry.offset);
    {
        RecordCursor c(record.body);
        c.u16();
        const std::uint16_t type = c.u16();
        if (type == kChart) sheet.m_kind = SheetKind::Chart;
        else if (type == kMacroSheet && sheet.m_kind == SheetKind::Worksheet) sheet.m_kind = SheetKind::MacroSheet;
        else if (type == kVbModule) sheet.m_kind = SheetKind::VbModule;
    }
    const bool withCells = sheet.m_kind == SheetKind::Worksheet || sheet.m_kind == SheetKind::MacroSheet;
    SheetState state;
    int depth = 0;  // embedded chart substreams nest BOF ... EOF
    bool sawEof = false;
    do {
        const bool cellRecord = withCells && depth == 0 && isCellBlockRecord(record.id);
        if (cellRecord) {
            if (!state.cellBlockSeen) {
                state.cellBlockSeen = true;
                sheet.m_cellBlockPosition = int(sheet.m_records.size());
            }
            Status st = readCellRecord(sheet, state, record);
            if (!st) return st;
            continue;
        }
        const int rawIndex = int(sheet.m_records.size());
        sheet.m_records.push_back({record.id, record.offset, record.endOffset - record.offset});
        if (record.id == kBof && record.offset != entry.offset) {
            ++depth;
            continue;
        }
        if (record.id == kEof) {
            if (depth == 0) sawEof = true;
            else --depth;
            continue;
        }
        if (depth > 0 || !withCells) continue;
        RecordCursor c(record.body, &record.boundaries);
        switch (record.id) {
        case kDimensions: {
            state.dimensionsIndex = rawIndex;
            // Reserve for the cells the sheet says it spans, but never more than the
            // rest of the stream could hold (a cell record takes at least 6 bytes), nor
            // more than the workbook's reserve left.
            qint64 rows, columns;
            if (isBiff5()) {
                const int first = c.u16(), last = c.u16();
                rows = last - first;
            } else {
                const std::uint32_t first = c.u32(), last = c.u32();
                rows = qint64(last) - qint64(first);
            }
            const int firstColumn = c.u16(), lastColumn = c.u16();
            columns = lastColumn - firstColumn;
            if (c.ok() && rows > 0 && columns > 0 && sheet.m_cells.empty()) {
                const qint64 bound = std::min((stream.size() - record.offset) / 6, m_cellReserveLeft);
                const qint64 cells = std::min(rows * std::min<qint64>(columns, 256), bound);
                m_cellReserveLeft -= cells;
                state.cellPrefault.reset();  // a second DIMENSIONS record may move the cells
                sheet.m_cells.reserve(std::size_t(cells));
                state.cellPrefault.emplace(sheet.m_cells.data(), sheet.m_cells.capacity() * sizeof(Cell));
                const qint64 rowBound = std::min((stream.size() - record.offset) / 20, m_rowReserveLeft);
                const qint64 rowCount = std::min({rows, qint64(Worksheet::kRowCount), rowBound});
                m_rowReserveLeft -= rowCount;
                sheet.m_rows.reserve(std::size_t(rowCount));
            }
            break;
        }
        case kColInfo: {
            const int first = c.u16(), last = c.u16();
            c.u16();  // width
            c.u16();  // XF
            const std::uint16_t flags = c.u16();
            if (!c.ok()) {
                warn(QStringLiteral("COLINFO unvollständig"), record.offset);
                break;
            }
            for (int col = first; col <= std::min(last, Worksheet::kColumnCount - 1); ++col) {
                ColumnState &s = sheet.m_columns[std::size_t(col)];
                s.hidden = flags & 0x0001;
                s.outlineLevel = std::uint8_t((flags >> 8) & 0x07);
                s.collapsed = flags & 0x1000;
            }
            break;
        }
        case kWindow2: sheet.m_window2Flags = c.u16(); break;
        case kWsBool: state.dialog = c.u16() & 0x0010; break;
        case kMergedCells: {
            const int count = c.u16();
            for (int i = 0; i < count && c.remaining() >= 8; ++i) {
                CellRange r;
                r.firstRow = c.u16() + 1;
                r.lastRow = c.u16() + 1;
                r.firstColumn = c.u16() + 1;
                r.lastColumn = c.u16() + 1;
                if (r.firstRow <= r.lastRow && r.firstColumn <= r.lastColumn && r.firstColumn <= Worksheet::kColumnCount) {
                    r.lastColumn = std::min(r.lastColumn, Worksheet::kColumnCount);
                    sheet.m_merged.push_back(r);
                }
            }
            break;
        }
        case kObj: {
            // The first sub-record of an OBJ is its common data: type and id.
            const std::uint16_t ft = c.u16();
            c.u16();
            const std::uint16_t type = c.u16();
            const std::uint16_t id = c.u16();
            state.lastObjectId = id;
            state.lastObjectIsNote = c.ok() && ft == 0x15 && type == 0x19;
            break;
        }
        case kTxo: readTextObject(state, record, rawIndex); break;
        case kNote: readNote(sheet, state, record, rawIndex); break;
        default: break;
        }
    } while (!sawEof && reader.next(record));
    if (!sawEof)
        return Status::failure(QStringLiteral("Blatt \"%1\" ist abgeschnitten (kein EOF)").arg(entry.name),
                               reader.position());
    if (state.dialog && sheet.m_kind == SheetKind::Worksheet) sheet.m_kind = SheetKind::Dialog;
    if (!state.cellBlockSeen) {
        // No cells: a writer puts new ones right after DIMENSIONS.
        sheet.m_cellBlockPosition = state.dimensionsIndex >= 0 ? state.dimensionsIndex + 1
                                                               : std::max(0, int(sheet.m_records.size()) - 1);
    }
    finishSheet(sheet, state);
    return Status::success();
}

Status Biff8Reader::readCellRecord(Worksheet &sheet, SheetState &state, const BiffRecord &record) {
    RecordCursor c(record.body, &record.boundaries);
    auto addCell = [&](std::uint16_t row, std::uint16_t column, std::uint16_t xf, CellType type, double number,
                       std::uint32_t ref, std::uint8_t flags) {
        if (column >= Worksheet::kColumnCount) {
            warn(QStringLiteral("Zelle jenseits der Spalte 256 übergangen"), record.offset);
            return;
        }
        Cell cell;
        cell.row0 = row;
        cell.column0 = column;
        cell.xf = xf;
        cell.type = type;
        cell.ref = ref;
        cell.flags = flags;
        if (!(flags & (Cell::kFormula | Cell::kRkValue))) {
            if (type == CellType::Number) {
                cell.ref = std::uint32_t(sheet.m_numbers.size());
                sheet.m_numbers.push_back(number);
            } else if (type == CellType::Bool || type == CellType::Error) {
                cell.ref = std::uint32_t(number);
            }
        }
        if (!sheet.m_cells.empty() && !before(sheet.m_cells.back(), cell)) state.cellsSorted = false;
        if (sheet.m_cells.size() == sheet.m_cells.capacity()) state.cellPrefault.reset();
        sheet.m_cells.push_back(cell);
    };
    if (record.id != kString && record.id != kShrFmla && record.id != kArray && record.id != kTable)
        state.pendingStringFormula = -1;
    switch (record.id) {
    case kRow: {
        RowInfo info;
        info.row = c.u16() + 1;
        c.skip(10);
        const std::uint16_t flags = c.u16();
        if (!c.ok()) return damaged(record);
        info.outlineLevel = std::uint8_t(flags & 0x07);
        info.collapsed = flags & 0x10;
        info.hidden = flags & 0x20;
        info.hasRecord = record.body.size() >= qsizetype(info.record.size());
        if (info.hasRecord) std::memcpy(info.record.data(), record.body.constData(), info.record.size());
        sheet.m_rows.push_back(info);
        return Status::success();
    }
    case kDbCell: return Status::success();
    case kBlank: {
        const std::uint16_t row = c.u16(), col = c.u16(), xf = c.u16();
        if (!c.ok()) return damaged(record);
        addCell(row, col, xf, CellType::Blank, 0, 0, 0);
        return Status::success();
    }
    case kMulBlank: {
        const std::uint16_t row = c.u16(), first = c.u16();
        const int count = (c.remaining() - 2) / 2;
        if (!c.ok() || count < 0) return damaged(record);
        for (int i = 0; i < count; ++i)
            addCell(row, std::uint16_t(first + i), c.u16(), CellType::Blank, 0, 0, Cell::kInMultiple);
        return Status::success();
    }
    case kNumber: {
        const std::uint16_t row = c.u16(), col = c.u16(), xf = c.u16();
        const double value = c.f64();
        if (!c.ok()) return damaged(record);
        addCell(row, col, xf, CellType::Number, value, 0, 0);
        return Status::success();
    }
    case kRk: {
        const std::uint16_t row = c.u16(), col = c.u16(), xf = c.u16();
        const std::uint32_t rk = c.u32();
        if (!c.ok()) return damaged(record);
        addCell(row, col, xf, CellType::Number, decodeRk(rk), rk, Cell::kRkValue);
        return Status::success();
    }
    case kMulRk: {
        const std::uint16_t row = c.u16(), first = c.u16();
        const int count = (c.remaining() - 2) / 6;
        if (!c.ok() || count < 0) return damaged(record);
        for (int i = 0; i < count; ++i) {
            const std::uint16_t xf = c.u16();
            const std::uint32_t rk = c.u32();
            addCell(row, std::uint16_t(first + i), xf, CellType::Number, decodeRk(rk), rk,
                    Cell::kRkValue | Cell::kInMultiple);
        }
        return Status::success();
    }
    case kLabel:
    case kRString: {
        const std::uint16_t row = c.u16(), col = c.u16(), xf = c.u16();
        const QString text = isBiff5() ? c.byteString(2, m_codec) : c.unicodeString(2);
        if (!c.ok()) return damaged(record);
        addCell(row, col, xf, CellType::Text, 0, addString(text), 0);
        return Status::success();
    }
    case kLabelSst: {
        const std::uint16_t row = c.u16(), col = c.u16(), xf = c.u16();
        const std::uint32_t index = c.u32();
        if (!c.ok()) return damaged(record);
        if (index >= std::uint32_t(m_book.m_sharedStringCount))
            return Status::failure(QStringLiteral("Zelle verweist auf einen fehlenden gemeinsamen Text"),
                                   record.offset);
        addCell(row, col, xf, CellType::Text, 0, index, 0);
        return Status::success();
    }
    case kBoolErr: {
        const std::uint16_t row = c.u16(), col = c.u16(), xf = c.u16();
        const std::uint8_t value = c.u8(), isError = c.u8();
        if (!c.ok()) return damaged(record);
        addCell(row, col, xf, isError ? CellType::Error : CellType::Bool, value, 0, 0);
        return Status::success();
    }
    case kFormula: {
        const std::uint16_t row = c.u16(), col = c.u16(), xf = c.u16();
        const QByteArray result = c.bytes(8);
        if (!c.ok()) return damaged(record);
        const auto *r = reinterpret_cast<const unsigned char *>(result.constData());
        FormulaCell formula;
        formula.record = QByteArray(record.body.constData(), record.body.size());
        CellType type = CellType::Number;
        double number = 0;
        if (r[6] == 0xFF && r[7] == 0xFF) {
            switch (r[0]) {
            case 0: type = CellType::Text; break;  // the text follows in a STRING record
            case 1: type = CellType::Bool; number = r[2] ? 1 : 0; break;
            case 2: type = CellType::Error; number = r[2]; break;
            case 3: type = CellType::Text; break;  // empty text
            default: type = CellType::Blank; break;
            }
        } else {
            std::memcpy(&number, r, 8);
        }
        formula.number = number;
        // A text result arrives in the STRING record that follows; until then it is empty.
        formula.textIndex = StringPool::kNone;
        const std::uint32_t index = std::uint32_t(sheet.m_formulas.size());
        sheet.m_formulas.push_back(std::move(formula));
        addCell(row, col, xf, type, number, index, Cell::kFormula);
        if (type == CellType::Text && r[0] == 0) state.pendingStringFormula = int(index);
        return Status::success();
    }
    case kString: {
        const QString text = isBiff5() ? c.byteString(2, m_codec) : c.unicodeString(2);
        if (!c.ok()) return damaged(record);
        if (state.pendingStringFormula < 0) {
            warn(QStringLiteral("STRING ohne Formel übergangen"), record.offset);
            return Status::success();
        }
        FormulaCell &formula = sheet.m_formulas[std::size_t(state.pendingStringFormula)];
        formula.textIndex = addString(text);
        formula.stringRecord = QByteArray(record.body.constData(), record.body.size());
        state.pendingStringFormula = -1;
        return Status::success();
    }
    case kShrFmla:
    case kArray:
    case kTable: {
        FormulaBlock block;
        block.kind = record.id == kShrFmla ? FormulaBlock::Shared
                     : record.id == kArray ? FormulaBlock::Array
                                           : FormulaBlock::Table;
        block.range.firstRow = c.u16() + 1;
        block.range.lastRow = c.u16() + 1;
        block.range.firstColumn = c.u8() + 1;
        block.range.lastColumn = c.u8() + 1;
        if (!c.ok()) return damaged(record);
        block.record = QByteArray(record.body.constData(), record.body.size());
        sheet.m_formulaBlocks.push_back(std::move(block));
        return Status::success();
    }
    default: return Status::success();
    }
}

void Biff8Reader::readTextObject(SheetState &state, const BiffRecord &record, int rawIndex) {
    if (!state.lastObjectIsNote) return;
    state.lastObjectIsNote = false;
    RecordCursor c(record.body, &record.boundaries);
    c.skip(10);  // options, rotation, reserved
    const int length = c.u16();
    if (!c.ok()) {
        warn(QStringLiteral("TXO unvollständig"), record.offset);
        return;
    }
    QString text;
    if (length > 0) {
        // The text sits in the first CONTINUE, which begins with its flag byte.
        if (record.boundaries.empty()) {
            warn(QStringLiteral("Kommentartext fehlt"), record.offset);
            return;
        }
        RecordCursor t(record.body, &record.boundaries);
        t.skip(record.boundaries.front());
        text = t.unicodeChars(length, 0);
        if (!t.ok()) warn(QStringLiteral("Kommentartext abgeschnitten"), record.offset);
    }
    state.noteTexts[state.lastObjectId] = {text, rawIndex};
}

void Biff8Reader::readNote(Worksheet &sheet, SheetState &state, const BiffRecord &record, int rawIndex) {
    RecordCursor c(record.body, &record.boundaries);
    const std::uint16_t row = c.u16(), col = c.u16();
    if (isBiff5()) {
        // Excel 95 keeps the text in the NOTE itself; longer texts continue in NOTE
        // records whose row is 0xFFFF.
        const int length = c.u16();
        const int here = std::min(length, c.remaining());
        const QString part = decodeBytes(record.body.constData() + c.pos(), std::max(here, 0), m_codec);
        if (row == 0xFFFF) {
            if (state.biff5Note >= 0) sheet.m_comments[std::size_t(state.biff5Note)].text += part;
            return;
        }
        if (!c.ok() || col >= Worksheet::kColumnCount) return;
        Comment comment;
        comment.row = row + 1;
        comment.column = col + 1;
        comment.text = part;
        comment.noteRecord = rawIndex;
        sheet.m_comments.push_back(comment);
        state.biff5Note = int(sheet.m_comments.size()) - 1;
        return;
    }
    const std::uint16_t flags = c.u16();
    const std::uint16_t objectId = c.u16();
    const QString author = c.unicodeString(2);
    if (!c.ok() || col >= Worksheet::kColumnCount) {
        warn(QStringLiteral("NOTE unvollständig"), record.offset);
        if (col >= Worksheet::kColumnCount) return;
    }
    Comment comment;
    comment.row = row + 1;
    comment.column = col + 1;
    comment.author = author;
    comment.shown = flags & 0x0002;
    comment.objectId = objectId;
    comment.noteRecord = rawIndex;
    const auto it = state.noteTexts.find(objectId);
    if (it != state.noteTexts.end()) {
        comment.text = it->second.first;
        comment.textRecord = it->second.second;
    }
    sheet.m_comments.push_back(comment);
}

void Biff8Reader::finishSheet(Worksheet &sheet, SheetState &state) {
    state.cellPrefault.reset();
    auto &cells = sheet.m_cells;
    if (!state.cellsSorted) {
        std::stable_sort(cells.begin(), cells.end(), [](const Cell &a, const Cell &b) { return before(a, b); });
        // A later record for the same cell replaces the earlier one.
        CellList unique;
        unique.reserve(cells.size());
        for (const Cell &cell : cells) {
            if (!unique.empty() && unique.back().row0 == cell.row0 && unique.back().column0 == cell.column0)
                unique.back() = cell;
            else unique.push_back(cell);
        }
        cells.swap(unique);
    }
    for (const CellRange &area : sheet.m_merged) {
        auto it = std::lower_bound(cells.begin(), cells.end(), area.firstRow - 1,
                                   [](const Cell &c, int row0) { return c.row0 < row0; });
        for (; it != cells.end() && it->row() <= area.lastRow; ++it) {
            if (!area.contains(it->row(), it->column())) continue;
            if (it->row() == area.firstRow && it->column() == area.firstColumn) continue;
            it->flags |= Cell::kCoveredByMerge;
        }
    }
    // Files list their rows in order; sorting anyway would allocate for nothing.
    const auto byRow = [](const RowInfo &a, const RowInfo &b) { return a.row < b.row; };
    if (!std::is_sorted(sheet.m_rows.begin(), sheet.m_rows.end(), byRow))
        std::stable_sort(sheet.m_rows.begin(), sheet.m_rows.end(), byRow);
    std::stable_sort(sheet.m_comments.begin(), sheet.m_comments.end(), [](const Comment &a, const Comment &b) {
        return a.row < b.row || (a.row == b.row && a.column < b.column);
    });
}

}  // namespace office::sheet
