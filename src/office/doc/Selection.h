#pragma once

#include "office/doc/DocTypes.h"
#include "office/doc/Range.h"
#include "office/doc/Table.h"
#include "office/ole/OfficeStatus.h"

#include <QString>

#include <algorithm>

namespace office::doc {

class Document;
class Find;

/// The selection of one document: a stretch [start, end) with an active end
/// that extending moves. A collapsed selection is the insertion point; it never
/// stands behind the document's final paragraph mark. Edits anywhere in the
/// document keep the selection on the same text.
class Selection {
public:
    explicit Selection(Document *document) : m_document(document) {}

    Document *document() const { return m_document; }
    int start() const { return m_start; }
    int end() const { return m_end; }
    /// Sets both ends (clamped to the story); the end is the active one.
    void setRange(int start, int end);
    void setStart(int start) { setRange(start, std::max(start, m_end)); }
    void setEnd(int end) { setRange(std::min(m_start, end), end); }
    /// kSelectionIP (1) when collapsed, else kSelectionNormal (2).
    int type() const { return m_start == m_end ? kSelectionIP : kSelectionNormal; }
    QString text() const;
    /// Replaces the selected text; the selection then covers the new text.
    void setText(const QString &text);
    Range range() const;
    Find find();

    /// Goes to the start (HomeKey) or end (EndKey) of the line or story;
    /// returns how far the active end moved.
    int homeKey(Unit unit = Unit::Line, MoveMode mode = MoveMode::Move);
    int endKey(Unit unit = Unit::Line, MoveMode mode = MoveMode::Move);
    /// Character moves. Without Extend a stretched selection first collapses
    /// to its left (right) end, which counts as one move. Return the number of moves made.
    int moveLeft(Unit unit = Unit::Character, int count = 1, MoveMode mode = MoveMode::Move);
    int moveRight(Unit unit = Unit::Character, int count = 1, MoveMode mode = MoveMode::Move);
    /// Moves only the start (the end follows when passed).
    int moveStart(Unit unit = Unit::Character, int count = 1);
    /// Moves only the end (the start follows when passed).
    int moveEnd(Unit unit = Unit::Character, int count = 1);
    /// Collapses and moves until one of the characters of cset is next (count > 0)
    /// or was passed (count < 0), at most |count| characters; 0 and no move when none.
    int moveUntil(const QString &cset, int count = kForward);
    /// Moves the end until one of the characters of cset follows it; 0 and no move when none.
    int moveEndUntil(const QString &cset, int count = kForward);

    /// Replaces the selection with the text and collapses behind it. A line feed
    /// becomes a paragraph mark (CR LF one mark).
    void typeText(const QString &text);
    /// Inserts at the end of the selection and stretches the selection over it.
    void insertAfter(const QString &text);
    /// Deletes the selection, or |count| characters after (count > 0) or before
    /// the insertion point; returns the number of units deleted.
    int deleteText(Unit unit = Unit::Character, int count = 1);
    /// Selects the whole story; an empty document leaves an insertion point at 0.
    void wholeStory();

    /// Copies to the application's clipboard: the touched table as a grid of
    /// cell texts, otherwise the paragraphs of the selected text.
    void copy();
    /// Pastes the clipboard: a grid of cells becomes a table at the insertion point.
    void paste();
    /// GoTo What:=2 (table), Which:=1 (first), Count: puts the insertion point at
    /// the start of table `count`; false (and no move) when there is no such table.
    bool goToTable(int count = 1);
    /// The tables the selection touches (or that hold it).
    Tables tables() const;
    /// Inserts a whole RTF or Word 97-2003 file at the insertion point (replacing a stretched
    /// selection), merging its styles; the selection collapses behind it.
    Status insertFile(const QString &path);

    /// Keeps the selection on its text while the document changes under it.
    void adjustForInsert(int pos, int length);
    void adjustForRemove(int start, int end);

private:
    int activePos() const { return m_activeAtEnd ? m_end : m_start; }
    int anchorPos() const { return m_activeAtEnd ? m_start : m_end; }
    void collapseTo(int pos);
    void extendTo(int activePos);
    int storyLength() const;
    int lastInsertionPoint() const;

    Document *m_document;
    int m_start = 0;
    int m_end = 0;
    bool m_activeAtEnd = true;
};

}  // namespace office::doc
