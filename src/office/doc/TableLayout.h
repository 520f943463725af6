#pragma once

#include "office/doc/Formats.h"
#include "office/doc/Story.h"

#include <QList>

#include <vector>

namespace office::doc {

/// Where the tables of a story are. A row is a run of cells, each ending in a
/// cell mark (character 7), followed by the row-end mark (character 7 with
/// ParaFormat::rowEnd); rows that follow one another directly form one table.
/// All ends are exclusive and include the mark.
struct CellSpan {
    int start = 0;
    int end = 0;  ///< just after the cell mark
};

struct RowSpan {
    int start = 0;
    int end = 0;  ///< just after the row-end mark
    bool autoFit = false;
    std::vector<CellSpan> cells;
};

struct TableSpan {
    int start = 0;
    int end = 0;
    std::vector<RowSpan> rows;
    /// Number of cells of the widest row.
    int columnCount() const;
};

/// Scans the whole story (linear time).
std::vector<TableSpan> scanTables(const Story &story, const FormatTable<ParaFormat> &paraFormats);

/// Column widths in twips for a table starting at `tableStart`, from the longest
/// line of each column: what a table sized to its contents needs.
QList<int> contentColumnWidths(const Story &story, const FormatTable<ParaFormat> &paraFormats, int tableStart);

/// True when the paragraph holding pos lies in a table (its end mark is in a table).
bool paragraphInTable(const Story &story, const FormatTable<ParaFormat> &paraFormats, int pos);

}  // namespace office::doc
