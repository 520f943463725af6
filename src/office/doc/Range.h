#pragma once

#include "office/ole/OfficeStatus.h"

#include <QList>
#include <QString>

namespace office::doc {

class Document;
class Find;
class Cell;

/// A stretch [start, end) of a document's story (UTF-16 positions). A Range is a
/// plain value: unlike the selection it does not follow later edits, so take a
/// fresh one after changing the text before it.
class Range {
public:
    Range() = default;
    Range(Document *document, int start, int end);

    Document *document() const { return m_document; }
    int start() const { return m_start; }
    int end() const { return m_end; }
    void setRange(int start, int end);
    bool isCollapsed() const { return m_start == m_end; }

    /// The text; a table mark reads as CR followed by character 7, as the word
    /// processor reports cell and row ends.
    QString text() const;
    /// Replaces the text; the range then covers the new text.
    void setText(const QString &text);
    /// Removes the text (table marks of rows only partly covered stay).
    void deleteText();

    /// Applies a style by name: a character style to the characters, a paragraph
    /// style to the paragraphs the range touches. Fails for an unknown name.
    Status setStyle(const QString &styleName);
    /// Name of the character style of the first character ("" when none).
    QString characterStyleName() const;

    /// Makes the document's selection cover this range.
    void select() const;
    /// Find bound to this range; a successful find moves the range onto the match.
    Find find();
    /// The table cells this range touches, table by table, row by row.
    QList<Cell> cells() const;

private:
    Document *m_document = nullptr;
    int m_start = 0;
    int m_end = 0;
};

}  // namespace office::doc
