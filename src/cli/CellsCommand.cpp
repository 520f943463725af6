// celltrove-cli cells FILE.xls: a dump of what the workbook engine reads, one line
// per non-empty cell, comment, hidden column and outline level.

#include "cli/CliCommand.h"

#include "office/sheet/CellTexts.h"
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"

namespace celltrove::cli {

const char *const kCellsHelp =
    "Zeigt, was Celltrove aus einer Excel-97-2003-Arbeitsmappe liest, eine Zeile je Zelle:\n"
    "Blattnummer, Blattname, Zeile, Spalte, Art, Wert, angezeigter Text, Formel (durch\n"
    "Tabulatoren getrennt). Danach Zeilen für Kommentare (#comment), ausgeblendete Spalten\n"
    "(#hidden-column) und Gliederungsebenen (#column-outline, #row-outline).\n\n"
    "Exit-Status: 0, oder 2 wenn die Datei nicht gelesen werden kann.\n";

namespace {

using office::sheet::CellValue;
using office::sheet::ValueKind;
using office::sheet::Workbook;
using office::sheet::Worksheet;

// Keeps every line one record: backslash, tab, line feed and carriage return escaped.
QString field(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

const char *kindName(ValueKind kind) {
    switch (kind) {
    case ValueKind::Number: return "number";
    case ValueKind::Date: return "date";
    case ValueKind::Text: return "text";
    case ValueKind::Bool: return "bool";
    case ValueKind::Error: return "error";
    case ValueKind::Empty: break;
    }
    return "";
}

void printCells(const Worksheet &sheet, office::sheet::CellTexts &texts, QTextStream &out) {
    const QString prefix = QString::number(sheet.index()) + QLatin1Char('\t') + field(sheet.name()) + QLatin1Char('\t');
    for (const auto &cell : sheet.cells()) {
        const CellValue value = sheet.value(cell.row(), cell.column());
        if (value.isEmpty() || (value.kind() == ValueKind::Text && value.textValue().isEmpty())) continue;
        out << prefix << cell.row() << '\t' << cell.column() << '\t' << kindName(value.kind()) << '\t'
            << field(office::sheet::valueToText(value)) << '\t' << field(texts.displayText(sheet, cell)) << '\t'
            << field(sheet.formula(cell.row(), cell.column())) << '\n';
    }
}

}  // namespace

int cellsCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.size() != 1) {
        err << "Aufruf: celltrove-cli cells DATEI.xls\n";
        return kExitUsage;
    }
    std::unique_ptr<Workbook> book;
    const office::Status status = Workbook::open(args.first(), book);
    if (!status) {
        err << args.first() << ": " << status.message;
        if (status.offset >= 0) err << " (Byte " << status.offset << ")";
        err << "\n";
        return kExitUsage;
    }
    for (int n = 1; n <= book->worksheetCount(); ++n) printCells(*book->worksheet(n), book->cellTexts(), out);
    for (int n = 1; n <= book->worksheetCount(); ++n) {
        const Worksheet &sheet = *book->worksheet(n);
        for (const auto &c : sheet.comments())
            out << "#comment\t" << sheet.index() << '\t' << c.row << '\t' << c.column << '\t' << field(c.author)
                << '\t' << field(c.text) << '\n';
    }
    for (int n = 1; n <= book->worksheetCount(); ++n) {
        const Worksheet &sheet = *book->worksheet(n);
        for (int col = 1; col <= Worksheet::kColumnCount; ++col)
            if (sheet.isColumnHidden(col)) out << "#hidden-column\t" << sheet.index() << '\t' << col << '\n';
    }
    for (int n = 1; n <= book->worksheetCount(); ++n) {
        const Worksheet &sheet = *book->worksheet(n);
        for (int col = 1; col <= Worksheet::kColumnCount; ++col)
            if (const int level = sheet.columnOutlineLevel(col))
                out << "#column-outline\t" << sheet.index() << '\t' << col << '\t' << level << '\n';
        for (const auto &row : sheet.rowInfos())
            if (row.outlineLevel > 0)
                out << "#row-outline\t" << sheet.index() << '\t' << row.row << '\t' << row.outlineLevel << '\n';
    }
    return kExitOk;
}

}  // namespace celltrove::cli
