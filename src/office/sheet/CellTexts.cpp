#include "office/sheet/CellTexts.h"

#include "office/sheet/BuiltInFormats.h"
#include "office/sheet/CellReferenceText.h"
#include "office/sheet/FormulaText.h"
#include "office/sheet/RecordCursor.h"
#include "office/sheet/Workbook.h"
#include "office/sheet/WorkbookFormulaContext.h"
#include "office/sheet/Worksheet.h"

namespace office::sheet {

namespace {

constexpr std::uint8_t kPtgExp = 0x01;
constexpr std::uint8_t kPtgTbl = 0x02;
// Where the token length stands in the records that hold the tokens of several cells.
constexpr int kSharedTokenLengthAt = 8;  // SHRFMLA: range 6, reserved 1, use count 1
constexpr int kArrayTokenLengthAt = 12;  // ARRAY: range 6, options 2, reserved 4

FormatValue formatValueOf(const CellValue &v) {
    switch (v.kind()) {
    case ValueKind::Number:
    case ValueKind::Date: return FormatValue::fromNumber(v.toDouble());
    case ValueKind::Text: return FormatValue::fromText(v.textValue());
    case ValueKind::Bool: return FormatValue::fromBoolean(v.boolValue());
    case ValueKind::Error: return FormatValue::fromError(v.errorCode());
    case ValueKind::Empty: break;
    }
    return FormatValue::fromText(QString());
}

/// Tokens and extra data of a SHRFMLA or ARRAY body.
bool blockTokens(const FormulaBlock &block, FormulaTokens &out) {
    const int at = block.kind == FormulaBlock::Shared ? kSharedTokenLengthAt : kArrayTokenLengthAt;
    RecordCursor c(block.record);
    c.skip(at);
    const int length = c.u16();
    const QByteArray tokens = c.bytes(length);
    if (!c.ok()) return false;
    out.tokens = tokens;
    out.extra = block.record.mid(at + 2 + length);
    out.shared = block.kind == FormulaBlock::Shared;
    return true;
}

/// A data table's formula as the spreadsheet shows it: "=TABLE(row input,column input)".
Status tableText(const FormulaBlock &block, QString &text) {
    RecordCursor c(block.record);
    c.skip(6);
    const std::uint16_t options = c.u16();
    const int rowInputRow = c.u16(), rowInputColumn = c.u16();
    const int columnInputRow = c.u16(), columnInputColumn = c.u16();
    if (!c.ok()) return Status::failure(QStringLiteral("TABLE-Datensatz ist abgeschnitten"));
    const QString first = cellReferenceText(rowInputRow, rowInputColumn & 0xFF, true, true);
    const QString second = cellReferenceText(columnInputRow, columnInputColumn & 0xFF, true, true);
    if (options & 0x08) text = QStringLiteral("=TABLE(%1,%2)").arg(first, second);  // two inputs
    else if (options & 0x04) text = QStringLiteral("=TABLE(%1,)").arg(first);      // row input
    else text = QStringLiteral("=TABLE(,%1)").arg(first);                          // column input
    return Status::success();
}

}  // namespace

CellTexts::CellTexts(const Workbook &book) : m_book(book) {}
CellTexts::~CellTexts() = default;

const NumberFormat &CellTexts::numberFormat(int xf, const QLocale &locale) {
    const int index = m_book.xfFormatIndex(xf);
    const auto it = m_book.formats().find(index);
    return m_formats.format(it != m_book.formats().end() ? it->second : builtInFormatCode(index, locale));
}

QString CellTexts::displayText(const Worksheet &sheet, const Cell &cell, const QLocale &locale) {
    const CellValue value = sheet.valueOf(cell);
    if (value.isEmpty()) return QString();
    const DisplaySettings settings{m_book.isDate1904() ? DateSystem::Mac1904 : DateSystem::Windows1900, locale};
    return numberFormat(cell.xf, locale).displayText(formatValueOf(value), settings);
}

Status CellTexts::formulaText(const Worksheet &sheet, const Cell &cell, QString &text) {
    text.clear();
    if (!cell.isFormula() || cell.ref >= sheet.formulas().size())
        return Status::failure(QStringLiteral("Zelle enthält keine Formel"));
    if (!m_context) m_context = std::make_unique<WorkbookFormulaContext>(m_book);

    const FormulaCell &formula = sheet.formulas()[cell.ref];
    const bool biff5 = m_book.biffVersion() == 5;
    FormulaTokens tokens{formula.tokens(), formula.extra(), false, biff5};
    if (tokens.tokens.size() == 5 && (tokens.tokens[0] == char(kPtgExp) || tokens.tokens[0] == char(kPtgTbl))) {
        // The cell is part of a shared formula, an array formula or a data table
        // whose tokens stand in the record anchored at the cell named here.
        RecordCursor c(tokens.tokens);
        c.u8();
        const int row = c.u16() + 1, column = c.u16() + 1;
        const FormulaBlock *block = sheet.formulaBlockAt(row, column);
        if (!block) return Status::failure(QStringLiteral("Gemeinsame Formel fehlt"));
        if (block->kind == FormulaBlock::Table) return tableText(*block, text);
        if (!blockTokens(*block, tokens)) return Status::failure(QStringLiteral("Gemeinsame Formel ist abgeschnitten"));
        tokens.biff5 = biff5;
    }
    return office::sheet::formulaText(tokens, cell.row0, cell.column0, *m_context, text);
}

// Worksheet's text members live here, next to what they use.

QString Worksheet::text(int row, int column) const {
    const Cell *c = cell(row, column);
    return c ? textOf(*c) : QString();
}

QString Worksheet::textOf(const Cell &cell) const {
    const Cell *c = &cell;
    if ((c->flags & Cell::kCoveredByMerge) || valueOf(*c).isEmpty()) return QString();
    CellTexts &texts = m_book->cellTexts();
    if (displayFormulas()) {
        QString formula;
        if (c->isFormula() && texts.formulaText(*this, *c, formula)) return formula;
        // Constants show their value unformatted.
        const CellValue v = valueOf(*c);
        const DisplaySettings settings{m_book->isDate1904() ? DateSystem::Mac1904 : DateSystem::Windows1900,
                                       QLocale::system()};
        return NumberFormat(QStringLiteral("General")).displayText(formatValueOf(v), settings);
    }
    return texts.displayText(*this, *c);
}

QString Worksheet::formula(int row, int column) const {
    const Cell *c = cell(row, column);
    QString text;
    if (c && c->isFormula()) (void)m_book->cellTexts().formulaText(*this, *c, text);
    return text;
}

CellTexts &Workbook::cellTexts() const {
    if (!m_cellTexts) m_cellTexts = std::make_shared<CellTexts>(*this);
    return *m_cellTexts;
}

}  // namespace office::sheet
