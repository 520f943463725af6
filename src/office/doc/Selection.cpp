#include "office/doc/Selection.h"

#include "office/doc/Application.h"
#include "office/doc/Document.h"
#include "office/doc/Find.h"
#include "office/doc/DocumentFile.h"

namespace office::doc {

namespace {

bool isLineEnd(char16_t c) { return c == kParagraphMark || c == kLineBreak || c == kCellMark; }

}  // namespace

int Selection::storyLength() const { return m_document->story().length(); }

int Selection::lastInsertionPoint() const { return std::max(0, storyLength() - 1); }

void Selection::setRange(int start, int end) {
    const int length = storyLength();
    m_start = std::clamp(start, 0, length);
    m_end = std::clamp(end, m_start, length);
    if (m_start == m_end) m_start = m_end = std::min(m_start, lastInsertionPoint());
    m_activeAtEnd = true;
}

void Selection::collapseTo(int pos) {
    m_start = m_end = std::clamp(pos, 0, lastInsertionPoint());
    m_activeAtEnd = true;
}

void Selection::extendTo(int active) {
    active = std::clamp(active, 0, storyLength());
    const int anchor = anchorPos();
    m_start = std::min(anchor, active);
    m_end = std::max(anchor, active);
    m_activeAtEnd = active >= anchor;
    if (m_start == m_end) collapseTo(m_start);
}

QString Selection::text() const { return range().text(); }

void Selection::setText(const QString &text) {
    const int start = m_start;
    const int end = m_document->replace(m_start, m_end, text);
    setRange(std::min(start, end), end);
}

Range Selection::range() const { return Range(m_document, m_start, m_end); }

Find Selection::find() { return Find(&m_document->application()->findSettings(), this); }

int Selection::homeKey(Unit unit, MoveMode mode) {
    const int from = activePos();
    int to = 0;
    if (unit == Unit::Line) {
        to = from;
        while (to > 0 && !isLineEnd(m_document->story().at(to - 1))) --to;
    }
    if (mode == MoveMode::Extend) extendTo(to);
    else collapseTo(to);
    return from - to;
}

int Selection::endKey(Unit unit, MoveMode mode) {
    const int from = activePos();
    int to = mode == MoveMode::Extend ? storyLength() : lastInsertionPoint();
    if (unit == Unit::Line) {
        to = from;
        while (to < lastInsertionPoint() && !isLineEnd(m_document->story().at(to))) ++to;
    }
    if (mode == MoveMode::Extend) extendTo(to);
    else collapseTo(to);
    return to - from;
}

int Selection::moveRight(Unit unit, int count, MoveMode mode) {
    if (count < 0) return -moveLeft(unit, -count, mode);
    if (unit != Unit::Character || count == 0) return 0;
    if (mode == MoveMode::Extend) {
        const int from = activePos();
        extendTo(from + count);
        return activePos() - from;
    }
    int moved = 0;
    int pos = m_end;
    if (m_start != m_end) {
        moved = 1;  // collapsing counts as the first move
        --count;
    }
    const int to = std::min(pos + count, lastInsertionPoint());
    moved += std::max(0, to - pos);
    collapseTo(std::max(to, pos));
    return moved;
}

int Selection::moveLeft(Unit unit, int count, MoveMode mode) {
    if (count < 0) return -moveRight(unit, -count, mode);
    if (unit != Unit::Character || count == 0) return 0;
    if (mode == MoveMode::Extend) {
        const int from = activePos();
        extendTo(from - count);
        return from - activePos();
    }
    int moved = 0;
    int pos = m_start;
    if (m_start != m_end) {
        moved = 1;
        --count;
    }
    const int to = std::max(pos - count, 0);
    moved += pos - to;
    collapseTo(to);
    return moved;
}

int Selection::moveStart(Unit unit, int count) {
    if (unit != Unit::Character) return 0;
    const int from = m_start;
    const int start = std::clamp(m_start + count, 0, storyLength());
    setRange(start, std::max(start, m_end));
    return m_start - from;
}

int Selection::moveEnd(Unit unit, int count) {
    if (unit != Unit::Character) return 0;
    const int from = m_end;
    const int end = std::clamp(m_end + count, 0, storyLength());
    setRange(std::min(m_start, end), end);
    return m_end - from;
}

int Selection::moveUntil(const QString &cset, int count) {
    const Story &story = m_document->story();
    if (count > 0) {
        const int from = m_end;
        const int limit = int(std::min<qint64>(qint64(from) + count, lastInsertionPoint()));
        for (int p = from; p < limit + 1 && p < story.length(); ++p) {
            if (cset.contains(QChar(story.at(p)))) {
                collapseTo(p);
                return p - from;
            }
        }
    } else if (count < 0) {
        const int from = m_start;
        const int limit = int(std::max<qint64>(qint64(from) + count, 0));
        for (int p = from; p > limit; --p) {
            if (cset.contains(QChar(story.at(p - 1)))) {
                collapseTo(p);
                return p - from;
            }
        }
    }
    return 0;
}

int Selection::moveEndUntil(const QString &cset, int count) {
    const Story &story = m_document->story();
    if (count > 0) {
        const int from = m_end;
        const int limit = int(std::min<qint64>(qint64(from) + count, story.length()));
        for (int p = from; p < limit; ++p) {
            if (cset.contains(QChar(story.at(p)))) {
                setRange(m_start, p);
                return p - from;
            }
        }
    } else if (count < 0) {
        const int from = m_end;
        const int limit = int(std::max<qint64>(qint64(from) + count, m_start));
        for (int p = from; p > limit; --p) {
            if (cset.contains(QChar(story.at(p - 1)))) {
                setRange(m_start, p);
                return p - from;
            }
        }
    }
    return 0;
}

void Selection::typeText(const QString &text) {
    const int end = m_document->replace(m_start, m_end, text);
    collapseTo(end);
}

void Selection::insertAfter(const QString &text) {
    const int start = m_start;
    const int pos = std::min(m_end, lastInsertionPoint());
    const int end = m_document->replace(pos, pos, text);
    setRange(std::min(start, pos), end);
}

int Selection::deleteText(Unit unit, int count) {
    if (unit != Unit::Character) return 0;
    if (m_start != m_end) {
        const int start = m_start;
        m_document->remove(m_start, m_end);
        collapseTo(start);
        return 1;
    }
    if (count == 0) return 0;
    const int pos = m_start;
    const int removed = count > 0 ? m_document->remove(pos, pos + count)
                                  : m_document->remove(std::max(0, pos + count), pos);
    collapseTo(count > 0 ? pos : std::max(0, pos - removed));
    return removed;
}

void Selection::wholeStory() {
    if (storyLength() <= 1) {
        collapseTo(0);
        return;
    }
    m_start = 0;
    m_end = storyLength();
    m_activeAtEnd = true;
}

void Selection::copy() {
    CellGridClipboard *clipboard = m_document->application()->clipboard();
    if (!clipboard) return;
    const Tables touched = tables();
    if (touched.count() > 0) {
        clipboard->setGrid(touched.item(1).cellTexts());
        return;
    }
    QList<QStringList> paragraphs;
    QString text = m_document->story().text(m_start, m_end);
    if (text.endsWith(QChar(kParagraphMark))) text.chop(1);
    for (QString &p : text.split(QChar(kParagraphMark))) paragraphs.append(QStringList{p.replace(QChar(kLineBreak), QChar(u'\n'))});
    clipboard->setText(paragraphs);
}

void Selection::paste() {
    CellGridClipboard *clipboard = m_document->application()->clipboard();
    if (!clipboard || clipboard->isEmpty()) return;
    const QList<QStringList> &rows = clipboard->rows();
    if (clipboard->isPlainText()) {
        QStringList lines;
        for (const QStringList &row : rows) lines.append(row.join(QChar(kTab)));
        typeText(lines.join(QChar(kParagraphMark)));
        return;
    }
    if (m_start != m_end) {
        m_document->remove(m_start, m_end);
        collapseTo(m_start);
    }
    int pos = m_start;
    Story const &story = m_document->story();
    const quint32 cf = m_document->charFormatForInsert(pos);
    const bool intoTable = paragraphInTable(story, m_document->paraFormats(), pos);
    if (intoTable) {
        // No nested tables: the cells arrive as tab-separated lines.
        QStringList lines;
        for (const QStringList &row : rows) lines.append(row.join(QChar(kTab)).replace(QChar(u'\n'), QChar(kLineBreak)));
        typeText(lines.join(QChar(kParagraphMark)));
        return;
    }
    FormatTable<ParaFormat> &pfs = m_document->paraFormats();
    if (pos > 0 && story.at(pos - 1) != kParagraphMark && story.at(pos - 1) != kCellMark) pos = m_document->replace(pos, pos, QStringLiteral("\n"));
    const quint16 bodyPf = quint16(pfs.id(pfs.at(story.paraFormatAt(pos))));
    const quint16 cellPf = quint16(pfs.id(ParaFormat{pfs.at(bodyPf).style, true, false, false}));
    const quint16 rowPf = quint16(pfs.id(ParaFormat{pfs.at(bodyPf).style, true, true, false}));
    const qsizetype columns = std::max<qsizetype>(clipboard->columnCount(), 1);
    QString text;
    std::vector<quint16> paras;
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < columns; ++c) {
            QString cell = c < row.size() ? row.at(c) : QString();
            cell.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            for (QChar ch : cell) {
                const char16_t u = ch.unicode();
                text.append(u == u'\n' || u == u'\r' ? QChar(kLineBreak) : (u == kCellMark ? QChar(u' ') : ch));
                paras.push_back(cellPf);
            }
            text.append(QChar(kCellMark));
            paras.push_back(cellPf);
        }
        text.append(QChar(kCellMark));
        paras.push_back(rowPf);
    }
    const int end = m_document->insertFormatted(pos, text, std::vector<quint32>(size_t(text.size()), cf), paras);
    collapseTo(end);
}

bool Selection::goToTable(int count) {
    const auto &layout = m_document->tableLayout();
    if (count < 1 || count > int(layout.size())) return false;
    collapseTo(layout[size_t(count - 1)].start);
    return true;
}

Tables Selection::tables() const {
    std::vector<int> indexes;
    const auto &layout = m_document->tableLayout();
    for (size_t i = 0; i < layout.size(); ++i) {
        const TableSpan &t = layout[i];
        const bool touches = m_start == m_end ? (m_start >= t.start && m_start < t.end)
                                              : (t.start < m_end && t.end > m_start);
        if (touches) indexes.push_back(int(i) + 1);
    }
    return Tables(m_document, std::move(indexes));
}

Status Selection::insertFile(const QString &path) {
    Document source(m_document->application(), QString());
    const Status status = readDocumentFile(path, source);
    if (!status) return status;
    if (m_start != m_end) {
        m_document->remove(m_start, m_end);
        collapseTo(m_start);
    }
    const int end = m_document->insertDocument(m_start, source);
    collapseTo(end);
    return Status::success();
}

void Selection::adjustForInsert(int pos, int length) {
    if (m_start > pos) m_start += length;
    if (m_end > pos || (m_end == pos && m_start < m_end)) m_end += length;
}

void Selection::adjustForRemove(int start, int end) {
    auto shift = [&](int p) { return p >= end ? p - (end - start) : (p > start ? start : p); };
    m_start = shift(m_start);
    m_end = shift(m_end);
}

}  // namespace office::doc
