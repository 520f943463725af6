#pragma once

#include <QByteArray>
#include <QList>

namespace office::doc {

/// How a table row is stored: its cells' text ends in cell marks (character 7)
/// in paragraphs marked as in a table, and the row ends with a further mark
/// whose paragraph carries the row's properties.
namespace DocTables {

/// The most cells a row definition can describe.
constexpr int kMaxColumns = 63;
/// Gap between text and cell border, half of it on each side, in twips.
constexpr int kGapHalf = 108;

/// Property list of a paragraph inside a cell (without style index).
QByteArray cellParagraphProps();
/// Property list of a row-end paragraph (without style index): in table, row
/// end, the cell gap, the cell boundaries from `widths` (twips, one per cell, a
/// default width where missing) with single borders, and whether the widths
/// follow the contents.
QByteArray rowEndProps(const QList<int> &widths, int cells, bool autoFit);

}  // namespace DocTables

}  // namespace office::doc
