#include "office/doc/TableLayout.h"

namespace office::doc {

namespace {

// Longest line of a cell, in characters: what a column sized to its contents needs.
int longestLine(const Story &story, int start, int end) {
    int longest = 0;
    int current = 0;
    for (int p = start; p < end; ++p) {
        const char16_t c = story.at(p);
        if (c == kParagraphMark || c == kLineBreak || c == kCellMark) {
            longest = std::max(longest, current);
            current = 0;
        } else {
            ++current;
        }
    }
    return std::max(longest, current);
}

}  // namespace

int TableSpan::columnCount() const {
    size_t n = 0;
    for (const RowSpan &r : rows) n = std::max(n, r.cells.size());
    return int(n);
}

std::vector<TableSpan> scanTables(const Story &story, const FormatTable<ParaFormat> &paraFormats) {
    std::vector<TableSpan> tables;
    if (story.cellMarkCount() == 0) return tables;
    const int length = story.length();
    int paragraphStart = 0;
    RowSpan row;
    bool inRow = false;
    int cellStart = 0;
    for (int pos = 0; pos < length; ++pos) {
        const char16_t c = story.at(pos);
        if (c != kParagraphMark && c != kCellMark) continue;
        const ParaFormat &pf = paraFormats.at(story.paraFormatAt(pos));
        const bool tableMark = c == kCellMark || pf.inTable;
        if (!tableMark) {
            // A body paragraph mark inside an unterminated row: the row is dropped.
            inRow = false;
            paragraphStart = pos + 1;
            continue;
        }
        if (!inRow) {
            inRow = true;
            row = RowSpan{};
            row.start = paragraphStart;
            cellStart = paragraphStart;
        }
        if (c == kCellMark && pf.rowEnd) {
            row.end = pos + 1;
            row.autoFit = pf.autoFit;
            if (!row.cells.empty()) {
                if (!tables.empty() && tables.back().end == row.start) {
                    tables.back().end = row.end;
                    tables.back().rows.push_back(std::move(row));
                } else {
                    TableSpan t;
                    t.start = row.start;
                    t.end = row.end;
                    t.rows.push_back(std::move(row));
                    tables.push_back(std::move(t));
                }
            }
            row = RowSpan{};
            inRow = false;
        } else if (c == kCellMark) {
            row.cells.push_back({cellStart, pos + 1});
            cellStart = pos + 1;
        }
        paragraphStart = pos + 1;
    }
    return tables;
}

QList<int> contentColumnWidths(const Story &story, const FormatTable<ParaFormat> &pfs, int pos) {
    auto isRowEnd = [&](int p) { return story.at(p) == kCellMark && pfs.at(story.paraFormatAt(p)).rowEnd; };
    QList<int> longest;
    int p = pos;
    while (p < story.length()) {
        int column = 0;
        int cellStart = p;
        for (; p < story.length() && !isRowEnd(p); ++p) {
            if (story.at(p) != kCellMark) continue;
            if (longest.size() <= column) longest.append(0);
            longest[column] = std::max(longest[column], longestLine(story, cellStart, p));
            ++column;
            cellStart = p + 1;
        }
        ++p;  // past the row end
        if (p >= story.length() || !paragraphInTable(story, pfs, p)) break;
    }
    QList<int> widths;
    for (int chars : longest) widths.append(std::clamp(chars * 120 + 216, 500, 8000));
    return widths;
}

bool paragraphInTable(const Story &story, const FormatTable<ParaFormat> &paraFormats, int pos) {
    if (story.cellMarkCount() == 0) return false;
    for (int p = std::max(pos, 0); p < story.length(); ++p) {
        const char16_t c = story.at(p);
        if (c == kCellMark) return true;
        if (c == kParagraphMark) return paraFormats.at(story.paraFormatAt(p)).inTable;
    }
    return false;
}

}  // namespace office::doc
