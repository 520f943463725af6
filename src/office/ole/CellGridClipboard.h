#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace office {

/// The in-process clipboard that the workbook and document engines copy to and
/// paste from. It holds a grid of cell texts: one QStringList per row, left to
/// right. A line break inside a cell is a line feed (character 10). The system
/// clipboard is never touched; the run that owns both engines owns one of these.
class CellGridClipboard {
public:
    /// Replaces the content with a grid of cells (a copied table or cell range).
    void setGrid(QList<QStringList> rows) {
        m_rows = std::move(rows);
        m_plainText = false;
    }
    /// Replaces the content with running text: one row of one cell per paragraph.
    /// Pasting it into a document gives paragraphs, not a table.
    void setText(QList<QStringList> paragraphs) {
        m_rows = std::move(paragraphs);
        m_plainText = true;
    }
    void clear() {
        m_rows.clear();
        m_plainText = false;
    }

    bool isEmpty() const { return m_rows.isEmpty(); }
    /// True when the content came from running text rather than from cells.
    bool isPlainText() const { return m_plainText; }
    const QList<QStringList> &rows() const { return m_rows; }
    /// Number of columns of the widest row.
    qsizetype columnCount() const {
        qsizetype n = 0;
        for (const QStringList &r : m_rows) n = std::max(n, r.size());
        return n;
    }

private:
    QList<QStringList> m_rows;
    bool m_plainText = false;
};

}  // namespace office
