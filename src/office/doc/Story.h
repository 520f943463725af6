#pragma once

#include "office/doc/GapBuffer.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <climits>

namespace office::doc {

/// Characters with a meaning of their own in the story.
enum StoryChar : char16_t {
    kCellMark = 7,        ///< ends a table cell, or (ParaFormat::rowEnd) a table row
    kTab = 9,
    kLineBreak = 11,      ///< manual line break
    kPageBreak = 12,
    kParagraphMark = 13,
};

/// The text of a document's main story with the format numbers of every
/// character (see FormatTable). Positions are UTF-16 offsets from 0. The store
/// is a gap buffer: edits near the previous edit are cheap.
///
/// The story remembers the lowest position changed since markClean(), which is
/// what lets a save append only what was added at the end.
class Story {
public:
    int length() const { return int(m_text.size()); }
    char16_t at(int pos) const { return m_text.at(pos); }
    quint32 charFormatAt(int pos) const { return m_charFormats.at(pos); }
    quint32 paraFormatAt(int pos) const { return m_paraFormats.at(pos); }

    /// Text of [start, end), clamped to the story.
    QString text(int start, int end) const;
    /// The same into out, whose storage is reused: for loops over many runs.
    void textInto(int start, int end, QString &out) const;
    /// Text of [start, end) in place where it is stored in one piece, else copied
    /// into scratch; valid until the story or scratch changes.
    QStringView textView(int start, int end, QString &scratch) const;

    /// The characters and formats of [start, end) where all three lie in one piece
    /// of the store, indexed from start; all nullptr otherwise.
    struct Piece {
        const char16_t *text = nullptr;
        const quint32 *charFormats = nullptr;
        const quint16 *paraFormats = nullptr;
        explicit operator bool() const { return text && charFormats && paraFormats; }
    };
    Piece piece(int start, int end) const {
        return {m_text.contiguous(start, end - start), m_charFormats.contiguous(start, end - start),
                m_paraFormats.contiguous(start, end - start)};
    }

    /// Inserts text at pos; every character gets the same formats.
    void insert(int pos, QStringView text, quint32 charFormat, quint32 paraFormat);
    /// Inserts text at pos with one pair of format numbers per character.
    void insert(int pos, QStringView text, const quint32 *charFormats, const quint16 *paraFormats);
    /// Inserts [start, end) of `source` at pos with its formats, each passed through
    /// charMap and paraMap (a source format number in, this story's number out).
    /// The characters and formats go straight into place, with no copy in between.
    /// Returns the number of characters inserted.
    template <typename CharMap, typename ParaMap>
    int insertMapped(int pos, const Story &source, int start, int end, CharMap &&charMap, ParaMap &&paraMap);
    /// Removes every character but keeps the room, for a story refilled again and again.
    void removeAll() {
        m_text.removeAll();
        m_charFormats.removeAll();
        m_paraFormats.removeAll();
        m_cellMarks = 0;
        noteChange(0);
    }
    /// Room for n characters in all: appending up to there moves and copies nothing.
    void reserve(int n) {
        m_text.reserve(n);
        m_charFormats.reserve(n);
        m_paraFormats.reserve(n);
    }
    /// Gives back room reserved but not used.
    void shrinkToFit() {
        m_text.shrinkToFit();
        m_charFormats.shrinkToFit();
        m_paraFormats.shrinkToFit();
    }
    /// Takes over the characters and formats of `other`, as removing every
    /// character and inserting those of `other` would; `other` is left empty.
    void replaceWith(Story &&other);
    /// Appends [start, end) of `source` with its formats.
    void append(const Story &source, int start, int end);
    /// Lays the story out in one piece (see piece()); cheap after typing at the end.
    void closeGap() {
        m_text.closeGap();
        m_charFormats.closeGap();
        m_paraFormats.closeGap();
    }
    /// Removes [start, end).
    void remove(int start, int end);
    void setCharFormat(int pos, quint32 format);
    void setParaFormat(int pos, quint32 format);

    /// Lowest position whose text or format changed since markClean(); length() when none.
    int lowestChange() const { return m_lowestChange; }
    /// Records a change at pos that is not a text or format edit of that character
    /// (a paragraph's formatting is written where the paragraph starts).
    void noteChange(int pos) {
        m_lowestChange = std::min(m_lowestChange, pos);
        ++m_revision;
    }
    void markClean() { m_lowestChange = INT_MAX; }
    /// Number of table marks (character 7) in the story: zero means no tables.
    int cellMarkCount() const { return m_cellMarks; }
    /// Grows with every change; caches of derived structure (tables) compare it.
    quint64 revision() const { return m_revision; }

private:
    // Appends [start, end) with its formats as they are to `into` (another story).
    void copyInto(Story &into, int start, int end) const;
    // Counts the table marks of text just put at pos and records the change.
    void noteInserted(int pos, const char16_t *text, int n);
    // Copies n format numbers from `from` at start to `to`, each passed through map.
    // Neighbouring characters mostly share their formats: each change is mapped once.
    template <typename T, typename Map>
    static void copyMapped(const GapBuffer<T> &from, int start, int n, T *to, Map &map);

    GapBuffer<char16_t> m_text;
    GapBuffer<quint32> m_charFormats;
    GapBuffer<quint16> m_paraFormats;
    int m_lowestChange = 0;
    quint64 m_revision = 0;
    int m_cellMarks = 0;
};

template <typename CharMap, typename ParaMap>
int Story::insertMapped(int pos, const Story &source, int start, int end, CharMap &&charMap, ParaMap &&paraMap) {
    pos = std::clamp(pos, 0, length());
    start = std::clamp(start, 0, source.length());
    end = std::clamp(end, start, source.length());
    const int n = end - start;
    if (n == 0) return 0;
    if (&source == this) {  // the stretch would move under the copy: take it out first
        Story copy;
        copyInto(copy, start, end);
        return insertMapped(pos, copy, 0, n, charMap, paraMap);
    }
    char16_t *text = m_text.insertSlots(pos, n);
    source.m_text.copyTo(start, n, text);
    copyMapped(source.m_charFormats, start, n, m_charFormats.insertSlots(pos, n), charMap);
    copyMapped(source.m_paraFormats, start, n, m_paraFormats.insertSlots(pos, n), paraMap);
    noteInserted(pos, text, n);
    return n;
}

template <typename T, typename Map>
void Story::copyMapped(const GapBuffer<T> &from, int start, int n, T *to, Map &map) {
    T last = 0, lastMapped = 0;
    bool known = false;
    from.forEachPiece(start, n, [&](const T *items, qsizetype count) {
        for (qsizetype i = 0; i < count; ++i) {
            if (!known || items[i] != last) {
                known = true;
                last = items[i];
                lastMapped = T(map(last));
            }
            *to++ = lastMapped;
        }
    });
}

}  // namespace office::doc
