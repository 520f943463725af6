#include "office/doc/TextDump.h"

#include "office/doc/Document.h"

namespace office::doc {

namespace {

void appendEscaped(QString &out, QChar c, bool inCell) {
    switch (c.unicode()) {
    case u'\\': out += QLatin1String("\\\\"); return;
    case kLineBreak: out += QLatin1String("\\v"); return;
    case kTab: out += QLatin1String("\\t"); return;
    case kParagraphMark: out += QLatin1String("\\p"); return;
    case u'|':
        if (inCell) {
            out += QLatin1String("\\|");
            return;
        }
        break;
    default: break;
    }
    out += c;
}

// Text of [start, end) with the character-style runs bracketed.
QString runsText(const Document &doc, int start, int end, bool inCell) {
    const Story &story = doc.story();
    QString out;
    QString open;
    for (int p = start; p < end; ++p) {
        const Style *style = doc.styles().at(doc.charFormats().at(story.charFormatAt(p)).style);
        const QString name = style ? style->nameLocal() : QString();
        if (name != open) {
            if (!open.isEmpty()) out += QLatin1String("[/]");
            if (!name.isEmpty()) out += QLatin1Char('[') + name + QLatin1Char(']');
            open = name;
        }
        appendEscaped(out, QChar(story.at(p)), inCell);
    }
    if (!open.isEmpty()) out += QLatin1String("[/]");
    return out;
}

}  // namespace

QString dumpText(const Document &doc) {
    const Story &story = doc.story();
    const auto &tables = doc.tableLayout();
    size_t nextTable = 0;
    QString out;
    int number = 0;
    int start = 0;
    while (start < story.length()) {
        if (nextTable < tables.size() && tables[nextTable].start == start) {
            for (const RowSpan &row : tables[nextTable].rows) {
                out += QString::number(number + 1) + QLatin1String("\t#cell-row\t");
                for (size_t c = 0; c < row.cells.size(); ++c) {
                    const CellSpan &cell = row.cells[c];
                    if (c > 0) out += QLatin1Char('|');
                    out += runsText(doc, cell.start, cell.end - 1, true);
                    for (int p = cell.start; p < cell.end; ++p)
                        if (story.at(p) == kParagraphMark || story.at(p) == kCellMark) ++number;
                }
                ++number;  // the row-end mark
                out += QLatin1Char('\n');
            }
            start = tables[nextTable].end;
            ++nextTable;
            continue;
        }
        int end = start;
        while (end < story.length() && story.at(end) != kParagraphMark && story.at(end) != kCellMark) ++end;
        ++number;
        out += QString::number(number) + QLatin1Char('\t') + runsText(doc, start, end, false) + QLatin1Char('\n');
        start = end + 1;
    }
    return out;
}

}  // namespace office::doc
