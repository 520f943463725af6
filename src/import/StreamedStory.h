#pragma once

#include "office/doc/RtfTextStream.h"

#include <QString>

namespace celltrove::importing {

/// The story of a document read front to back through an RtfTextStream, as
/// the import's searches see it: positions are story positions (UTF-16 units
/// from the story's start), text is read on as a search needs it, and text
/// before the oldest position still wanted is let go. Searches compare as the
/// import's find does: letters without regard to case.
class StreamedStory {
public:
    /// Text kept at most before the story gives up (the caller then reads the
    /// document whole): a window this wide means nothing is let go any more.
    static constexpr qsizetype kMaxWindow = qsizetype(16) << 20;

    explicit StreamedStory(office::doc::RtfTextStream &stream) : m_stream(stream) {}

    /// First position from `from` on where `pattern` starts, reading on as
    /// needed; -1 when the story ends first (or reading stopped: see failed()).
    qint64 find(const QString &pattern, qint64 from);
    /// First position from `from` on that holds one of `a` and `b`; -1 as find.
    qint64 findChar(char16_t a, char16_t b, qint64 from);
    /// Like find, but only in the text read so far: -1 when it is not there yet.
    qint64 findRead(const QString &pattern, qint64 from) const;
    /// The character at `pos`, a position that find or findChar has reached.
    char16_t at(qint64 pos) const { return m_text.at(qsizetype(pos - m_base)).unicode(); }
    /// The text from `from` to `to`, both inside what has been read.
    QString text(qint64 from, qint64 to) const;
    /// The story position up to which text has been read, and whether that is its end.
    qint64 readEnd() const { return m_base + m_text.size(); }
    bool ended() const { return m_ended; }
    /// True when reading stopped short of the end: a table, or the window filled up.
    bool failed() const { return m_failed; }
    /// Text before `pos` is no longer wanted.
    void forget(qint64 pos);
    /// Reads the next piece; false when nothing more comes.
    bool readMore();

private:
    bool matchesAt(const QString &pattern, qsizetype index) const;

    office::doc::RtfTextStream &m_stream;
    QString m_text;      // the story from m_base on
    qint64 m_base = 0;
    bool m_ended = false;
    bool m_failed = false;
};

}  // namespace celltrove::importing
