#include "office/sheet/WorkbookFormulaContext.h"

#include "office/sheet/Biff8Records.h"
#include "office/sheet/RecordCursor.h"
#include "office/sheet/Workbook.h"

#include <algorithm>
#include <iterator>

namespace office::sheet {

namespace {

constexpr std::uint16_t kExternName = 0x0023;
constexpr std::uint16_t kSelfMarker = 0x0401;   // SUPBOOK of this workbook
constexpr std::uint16_t kAddInMarker = 0x3A01;  // SUPBOOK of add-in functions
constexpr int kSheetDeleted = 0xFFFF;
constexpr int kNoSheet = 0xFFFE;

/// Names Excel gives the built-in defined names (one-character NAME records).
const char *builtInName(int code) {
    static const char *const kNames[] = {"Consolidate_Area", "Auto_Open",     "Auto_Close",      "Extract",
                                         "Database",         "Criteria",      "Print_Area",      "Print_Titles",
                                         "Recorder",         "Data_Form",     "Auto_Activate",   "Auto_Deactivate",
                                         "Sheet_Title",      "_FilterDatabase"};
    return code >= 0 && code < int(std::size(kNames)) ? kNames[code] : nullptr;
}

/// The file name of an encoded SUPBOOK path (control characters separate volume,
/// folders and file), without its folders.
QString fileNameOfVirtualPath(const QString &path) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (c < 0x20 || c == u'\\' || c == u'/') start = i + 1;
    }
    return path.mid(start);
}

}  // namespace

WorkbookFormulaContext::WorkbookFormulaContext(const Workbook &book) {
    for (int i = 1; i <= book.sheetCount(); ++i) m_sheetNames << book.sheet(i)->name();
    readSupBooks(book);
    readExternSheet(book);
    readNames(book);
}

void WorkbookFormulaContext::readSupBooks(const Workbook &book) {
    for (const QByteArray &body : book.supBookRecords()) {
        RecordCursor c(body);
        SupBook s;
        const int sheets = c.u16();
        const std::uint16_t marker = c.u16();
        if (c.ok() && marker == kSelfMarker) {
            s.kind = BookKind::Self;
        } else if (c.ok() && marker == kAddInMarker) {
            s.kind = BookKind::AddIn;
        } else if (c.ok()) {
            const QString path = c.unicodeChars(marker, c.u8());
            for (int i = 0; i < sheets && c.ok(); ++i) s.sheetNames << c.unicodeString(2);
            if (c.ok()) {
                s.kind = BookKind::External;
                s.fileName = fileNameOfVirtualPath(path);
            }
        }
        m_supBooks.push_back(s);
    }
    // EXTERNNAME records follow their SUPBOOK; the reader keeps them only as raw records.
    int current = -1;
    const QByteArray &stream = book.stream();
    for (const RawRecord &r : book.globalRecords()) {
        if (r.id == biff::kSupBook) ++current;
        if (r.id != kExternName || current < 0 || current >= int(m_supBooks.size())) continue;
        if (r.offset < 0 || r.length < 4 || r.offset + r.length > stream.size()) continue;
        RecordCursor c(stream.constData() + r.offset + 4, int(std::min<qint64>(r.length - 4, biff::kMaxRecordData)));
        c.skip(6);  // options, then a sheet index or reserved bytes
        const int count = c.u8();
        const QString name = c.unicodeChars(count, c.u8());
        m_supBooks[std::size_t(current)].externalNames << (c.ok() ? name : QString());
    }
}

void WorkbookFormulaContext::readExternSheet(const Workbook &book) {
    RecordCursor c(book.externSheetRecord());
    const int count = c.u16();
    for (int i = 0; i < count; ++i) {
        Xti x;
        x.supBook = c.u16();
        x.firstSheet = c.u16();
        x.lastSheet = c.u16();
        if (!c.ok()) break;
        m_xti.push_back(x);
    }
}

void WorkbookFormulaContext::readNames(const Workbook &book) {
    for (const QByteArray &body : book.nameRecords()) {
        RecordCursor c(body);
        const std::uint16_t options = c.u16();
        c.u8();  // keyboard shortcut
        const int length = c.u8();
        c.skip(2 + 2 + 2 + 4);  // formula size, reserved, sheet index, menu and help text sizes
        // Excel 95 names are 8-bit text without the option byte.
        const QByteArray raw = book.biffVersion() == 5 ? c.bytes(length) : QByteArray();
        QString name = book.biffVersion() == 5 ? QString::fromLatin1(raw) : c.unicodeChars(length, c.u8());
        if (c.ok() && (options & 0x0020) && !name.isEmpty()) {
            if (const char *builtIn = builtInName(name.front().unicode())) name = QString::fromLatin1(builtIn);
        }
        m_names.push_back(c.ok() ? name : QString());
    }
}

std::optional<SheetSpan> WorkbookFormulaContext::sheetSpan(int xti) const {
    if (xti < 0 || xti >= int(m_xti.size())) return std::nullopt;
    const Xti &x = m_xti[std::size_t(xti)];
    if (x.supBook < 0 || x.supBook >= int(m_supBooks.size())) return std::nullopt;
    const SupBook &book = m_supBooks[std::size_t(x.supBook)];
    SheetSpan span;
    if (x.firstSheet == kSheetDeleted || x.lastSheet == kSheetDeleted) {
        span.deleted = true;
        return span;
    }
    if (x.firstSheet == kNoSheet) return std::nullopt;
    const QStringList *names = nullptr;
    if (book.kind == BookKind::Self) {
        names = &m_sheetNames;
    } else if (book.kind == BookKind::External) {
        names = &book.sheetNames;
        span.workbook = book.fileName;
    } else {
        return std::nullopt;
    }
    if (x.firstSheet >= names->size() || x.lastSheet >= names->size()) {
        span.deleted = true;
        return span;
    }
    span.firstSheet = names->at(x.firstSheet);
    span.lastSheet = names->at(x.lastSheet);
    return span;
}

std::optional<QString> WorkbookFormulaContext::definedName(int index) const {
    if (index < 1 || index > int(m_names.size()) || m_names[std::size_t(index - 1)].isNull()) return std::nullopt;
    return m_names[std::size_t(index - 1)];
}

std::optional<QString> WorkbookFormulaContext::externalName(int xti, int index) const {
    if (xti < 0 || xti >= int(m_xti.size())) return std::nullopt;
    const int supBook = m_xti[std::size_t(xti)].supBook;
    if (supBook < 0 || supBook >= int(m_supBooks.size())) return std::nullopt;
    const SupBook &book = m_supBooks[std::size_t(supBook)];
    if (book.kind == BookKind::Self) return definedName(index);
    if (index < 1 || index > book.externalNames.size() || book.externalNames[index - 1].isNull()) return std::nullopt;
    const QString &name = book.externalNames[index - 1];
    if (book.kind == BookKind::External) return book.fileName + QLatin1Char('!') + name;
    return name;
}

}  // namespace office::sheet
