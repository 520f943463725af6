#include "office/doc/Table.h"

#include "office/doc/Document.h"

namespace office::doc {

namespace {

const TableSpan *tableAt(Document *document, int index) {
    const auto &layout = document->tableLayout();
    return index >= 1 && index <= int(layout.size()) ? &layout[size_t(index - 1)] : nullptr;
}

}  // namespace

Range Cell::range() const {
    const TableSpan *table = tableAt(m_document, m_table);
    if (!table || m_row < 1 || m_row > int(table->rows.size())) return Range(m_document, 0, 0);
    const RowSpan &row = table->rows[size_t(m_row - 1)];
    if (m_column < 1 || m_column > int(row.cells.size())) return Range(m_document, 0, 0);
    const CellSpan &cell = row.cells[size_t(m_column - 1)];
    return Range(m_document, cell.start, cell.end);
}

Range Table::range() const {
    const TableSpan *table = tableAt(m_document, m_index);
    return table ? Range(m_document, table->start, table->end) : Range(m_document, 0, 0);
}

int Table::rowCount() const {
    const TableSpan *table = tableAt(m_document, m_index);
    return table ? int(table->rows.size()) : 0;
}

int Table::columnCount() const {
    const TableSpan *table = tableAt(m_document, m_index);
    return table ? table->columnCount() : 0;
}

QList<QStringList> Table::cellTexts() const {
    QList<QStringList> grid;
    const TableSpan *table = tableAt(m_document, m_index);
    if (!table) return grid;
    for (const RowSpan &row : table->rows) {
        QStringList cells;
        for (const CellSpan &cell : row.cells) {
            QString text = m_document->story().text(cell.start, cell.end - 1);
            text.replace(QChar(kParagraphMark), QChar(u'\n'));
            text.replace(QChar(kLineBreak), QChar(u'\n'));
            cells.append(text);
        }
        grid.append(cells);
    }
    return grid;
}

void Table::select() const {
    const Range r = range();
    m_document->selection().setRange(r.start(), r.end());
}

void Table::autoFitBehavior(int behavior) { m_document->setTableAutoFit(m_index, behavior != 0); }

bool Table::allowAutoFit() const {
    const TableSpan *table = tableAt(m_document, m_index);
    return table && !table->rows.empty() && table->rows.front().autoFit;
}

void Table::setAllowAutoFit(bool allow) { m_document->setTableAutoFit(m_index, allow); }

Table Tables::item(int n) const {
    return Table(m_document, n >= 1 && n <= count() ? m_indexes[size_t(n - 1)] : 0);
}

}  // namespace office::doc
