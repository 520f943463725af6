#include "office/sheet/HtmlWorkbook.h"

#include "office/sheet/AtomicFile.h"
#include "office/sheet/CellAppearance.h"
#include "office/sheet/Workbook.h"

#include <QHash>

#include <vector>

namespace office::sheet {

namespace {

const char *alignmentName(HorizontalAlignment a) {
    switch (a) {
        case HorizontalAlignment::Left:
            return "left";
        case HorizontalAlignment::Center:
        case HorizontalAlignment::CenterAcross:
            return "center";
        case HorizontalAlignment::Right:
            return "right";
        case HorizontalAlignment::Justify:
        case HorizontalAlignment::Distributed:
            return "justify";
        default:
            return nullptr;
    }
}

// The style attribute of one cell: its font and, where it differs from the
// default left, its alignment. Under General, numbers lean right and booleans
// and errors sit in the middle, as the spreadsheet shows them.
QString cellStyle(const CellLook &look, ValueKind kind, bool showsFormula) {
    QString style;
    if (look.bold) style += QStringLiteral("font-weight:bold;");
    if (look.italic) style += QStringLiteral("font-style:italic;");
    if (look.underline) style += QStringLiteral("text-decoration:underline;");
    if (look.color) style += QStringLiteral("color:#%1;").arg(*look.color, 6, 16, QLatin1Char('0'));
    const char *align = alignmentName(look.alignment);
    if (look.alignment == HorizontalAlignment::General && !showsFormula) {
        if (kind == ValueKind::Number || kind == ValueKind::Date)
            align = "right";
        else if (kind == ValueKind::Bool || kind == ValueKind::Error)
            align = "center";
    }
    if (align && qstrcmp(align, "left") != 0) style += QStringLiteral("text-align:%1;").arg(QLatin1String(align));
    return style;
}

void writeSheet(QString &out, const Worksheet &sheet, const CellAppearance &appearance) {
    const auto [lastRow, lastColumn] = sheet.filledExtent();
    const int rows = std::max(lastRow, 1);
    const int columns = std::max(lastColumn, 1);

    // Where each merged area's top-left cell spans, and which positions it covers.
    struct Span {
        int rows = 1;
        int columns = 1;
    };
    QHash<int, Span> anchors;  // by (row * 256 + column) of the top-left cell
    std::vector<bool> covered(std::size_t(rows) * std::size_t(columns), false);
    for (const CellRange &m : sheet.mergedAreas()) {
        if (m.firstRow > rows || m.firstColumn > columns) continue;
        const int toRow = std::min(m.lastRow, rows), toColumn = std::min(m.lastColumn, columns);
        anchors.insert(m.firstRow * 256 + m.firstColumn, {toRow - m.firstRow + 1, toColumn - m.firstColumn + 1});
        for (int r = m.firstRow; r <= toRow; ++r)
            for (int c = m.firstColumn; c <= toColumn; ++c)
                if (r != m.firstRow || c != m.firstColumn)
                    covered[std::size_t(r - 1) * std::size_t(columns) + std::size_t(c - 1)] = true;
    }

    out += QStringLiteral("<h2>") + escapedHtmlText(sheet.name()) + QStringLiteral("</h2>\n<table>\n");
    const bool formulas = sheet.displayFormulas();
    const CellList &cells = sheet.cells();
    auto next = cells.begin();
    for (int row = 1; row <= rows; ++row) {
        out += sheet.isRowHidden(row) ? QStringLiteral("<tr hidden>") : QStringLiteral("<tr>");
        while (next != cells.end() && next->row() < row) ++next;
        for (int column = 1; column <= columns; ++column) {
            if (covered[std::size_t(row - 1) * std::size_t(columns) + std::size_t(column - 1)]) continue;
            while (next != cells.end() && next->row() == row && next->column() < column) ++next;
            const Cell *cell = next != cells.end() && next->row() == row && next->column() == column ? &*next : nullptr;
            out += QStringLiteral("<td");
            if (sheet.isColumnHidden(column)) out += QStringLiteral(" hidden");
            const Span span = anchors.isEmpty() ? Span{} : anchors.value(row * 256 + column);
            if (span.columns > 1) out += QStringLiteral(" colspan=\"%1\"").arg(span.columns);
            if (span.rows > 1) out += QStringLiteral(" rowspan=\"%1\"").arg(span.rows);
            QString text;
            if (cell) {
                text = sheet.textOf(*cell);
                const ValueKind kind = sheet.valueOf(*cell).kind();
                const QString style = cellStyle(appearance.look(cell->xf), kind, formulas && cell->isFormula());
                if (!style.isEmpty()) out += QStringLiteral(" style=\"") + style + u'"';
            }
            out += u'>';
            out += escapedHtmlText(text);
            out += QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table>\n");
}

}  // namespace

QString escapedHtmlText(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
            case u'&':
                out += QStringLiteral("&amp;");
                break;
            case u'<':
                out += QStringLiteral("&lt;");
                break;
            case u'>':
                out += QStringLiteral("&gt;");
                break;
            case u'"':
                out += QStringLiteral("&quot;");
                break;
            default:
                if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F)
                    out += QStringLiteral("&#%1;").arg(int(u));
                else
                    out += c;
        }
    }
    return out;
}

QString workbookHtml(const Workbook &book, const QString &title) {
    const CellAppearance appearance(book);
    QString out = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>") +
                  escapedHtmlText(title) +
                  QStringLiteral(
                      "</title>\n<style>\n"
                      "table { border-collapse: collapse; margin-bottom: 1em; }\n"
                      "td { border: 1px solid #c0c0c0; padding: 1px 4px; vertical-align: bottom; "
                      "white-space: pre-wrap; }\n"
                      "</style>\n</head>\n<body>\n");
    for (int n = 1; n <= book.worksheetCount(); ++n) {
        const Worksheet &sheet = *book.worksheet(n);
        const bool hidden = sheet.visibility() != SheetVisibility::Visible;
        out += hidden ? QStringLiteral("<section hidden>\n") : QStringLiteral("<section>\n");
        writeSheet(out, sheet, appearance);
        out += QStringLiteral("</section>\n");
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out;
}

Status saveWorkbookAsHtml(const Workbook &book, const QString &path, const QString &title) {
    return writeFileAtomically(path, workbookHtml(book, title).toUtf8());
}

}  // namespace office::sheet
