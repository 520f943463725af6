#pragma once

#include "office/doc/Range.h"

#include <QList>
#include <QStringList>

#include <vector>

namespace office::doc {

class Document;

/// One cell, addressed by table number, row and column (all 1-based). Its range
/// is looked up afresh on every call, so a cell handle stays right while the
/// text of other cells changes.
class Cell {
public:
    Cell(Document *document, int table, int row, int column) : m_document(document), m_table(table), m_row(row), m_column(column) {}
    int rowIndex() const { return m_row; }
    int columnIndex() const { return m_column; }
    /// The cell's range, including its end mark; empty range when the cell is gone.
    Range range() const;

private:
    Document *m_document;
    int m_table;
    int m_row;
    int m_column;
};

/// A table of a document, addressed by its number (1-based, in story order).
class Table {
public:
    Table(Document *document, int index) : m_document(document), m_index(index) {}
    int index() const { return m_index; }
    /// From the start of the first cell to just after the last row-end mark.
    Range range() const;
    int rowCount() const;
    int columnCount() const;
    Cell cell(int row, int column) const { return Cell(m_document, m_index, row, column); }
    /// The text of every cell without its end mark; paragraph marks and line
    /// breaks inside a cell become line feeds.
    QList<QStringList> cellTexts() const;
    /// Selects the whole table.
    void select() const;
    /// 0 fixed widths, 1 widths follow the contents, 2 fit the window (kept as 1).
    void autoFitBehavior(int behavior);
    bool allowAutoFit() const;
    void setAllowAutoFit(bool allow);

private:
    Document *m_document;
    int m_index;
};

/// The tables of a document, or those a selection touches.
class Tables {
public:
    Tables(Document *document, std::vector<int> indexes) : m_document(document), m_indexes(std::move(indexes)) {}
    int count() const { return int(m_indexes.size()); }
    /// Table n (1-based within this collection); check count() first.
    Table item(int n) const;

private:
    Document *m_document;
    std::vector<int> m_indexes;
};

}  // namespace office::doc
