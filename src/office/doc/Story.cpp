#include "office/doc/Story.h"

#include <algorithm>
#include <utility>

namespace office::doc {

namespace {

// Counted in a loop the compiler vectorises: every inserted character passes here.
int countCellMarks(QStringView text) {
    const char16_t *s = text.utf16();
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) count += s[i] == kCellMark;
    return count;
}

}  // namespace

QString Story::text(int start, int end) const {
    QString out;
    textInto(start, end, out);
    return out;
}

void Story::textInto(int start, int end, QString &out) const {
    start = std::clamp(start, 0, length());
    end = std::clamp(end, start, length());
    out.resize(end - start);
    m_text.copyTo(start, end - start, reinterpret_cast<char16_t *>(out.data()));
}

QStringView Story::textView(int start, int end, QString &scratch) const {
    start = std::clamp(start, 0, length());
    end = std::clamp(end, start, length());
    if (const char16_t *inPlace = m_text.contiguous(start, end - start)) return QStringView(inPlace, end - start);
    textInto(start, end, scratch);
    return scratch;
}

void Story::insert(int pos, QStringView text, quint32 charFormat, quint32 paraFormat) {
    pos = std::clamp(pos, 0, length());
    m_cellMarks += countCellMarks(text);
    const qsizetype n = text.size();
    m_text.insert(pos, reinterpret_cast<const char16_t *>(text.utf16()), n);
    m_charFormats.insertFill(pos, n, charFormat);
    m_paraFormats.insertFill(pos, n, quint16(std::min<quint32>(paraFormat, 0xFFFF)));
    noteChange(pos);
}

void Story::insert(int pos, QStringView text, const quint32 *charFormats, const quint16 *paraFormats) {
    pos = std::clamp(pos, 0, length());
    m_cellMarks += countCellMarks(text);
    const qsizetype n = text.size();
    m_text.insert(pos, reinterpret_cast<const char16_t *>(text.utf16()), n);
    m_charFormats.insert(pos, charFormats, n);
    m_paraFormats.insert(pos, paraFormats, n);
    noteChange(pos);
}

void Story::append(const Story &source, int start, int end) {
    insertMapped(length(), source, start, end, [](quint32 f) { return f; }, [](quint16 f) { return f; });
}

void Story::replaceWith(Story &&other) {
    m_text = std::move(other.m_text);
    m_charFormats = std::move(other.m_charFormats);
    m_paraFormats = std::move(other.m_paraFormats);
    m_cellMarks = std::exchange(other.m_cellMarks, 0);
    other.m_text.clear();
    other.m_charFormats.clear();
    other.m_paraFormats.clear();
    // Later than any revision either story had, so caches of the old text are stale.
    m_revision = std::max(m_revision, other.m_revision) + 1;
    noteChange(0);
}

void Story::copyInto(Story &into, int start, int end) const {
    const int n = end - start;
    const int pos = into.length();
    char16_t *text = into.m_text.insertSlots(pos, n);
    m_text.copyTo(start, n, text);
    m_charFormats.copyTo(start, n, into.m_charFormats.insertSlots(pos, n));
    m_paraFormats.copyTo(start, n, into.m_paraFormats.insertSlots(pos, n));
    into.noteInserted(pos, text, n);
}

void Story::noteInserted(int pos, const char16_t *text, int n) {
    m_cellMarks += countCellMarks(QStringView(text, n));
    noteChange(pos);
}

void Story::remove(int start, int end) {
    start = std::clamp(start, 0, length());
    end = std::clamp(end, start, length());
    if (m_cellMarks > 0)
        for (int p = start; p < end; ++p) m_cellMarks -= m_text.at(p) == kCellMark;
    m_text.remove(start, end - start);
    m_charFormats.remove(start, end - start);
    m_paraFormats.remove(start, end - start);
    noteChange(start);
}

void Story::setCharFormat(int pos, quint32 format) {
    if (pos < 0 || pos >= length() || m_charFormats.at(pos) == format) return;
    m_charFormats.ref(pos) = format;
    noteChange(pos);
}

void Story::setParaFormat(int pos, quint32 format) {
    if (pos < 0 || pos >= length()) return;
    const quint16 f = quint16(std::min<quint32>(format, 0xFFFF));
    if (m_paraFormats.at(pos) == f) return;
    m_paraFormats.ref(pos) = f;
    noteChange(pos);
}

}  // namespace office::doc
