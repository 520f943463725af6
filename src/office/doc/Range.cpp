#include "office/doc/Range.h"

#include "office/doc/Application.h"
#include "office/doc/Document.h"
#include "office/doc/Find.h"

namespace office::doc {

Range::Range(Document *document, int start, int end) : m_document(document) { setRange(start, end); }

void Range::setRange(int start, int end) {
    const int length = m_document ? m_document->story().length() : 0;
    m_start = std::clamp(start, 0, length);
    m_end = std::clamp(end, m_start, length);
}

QString Range::text() const {
    if (!m_document) return {};
    const QString raw = m_document->story().text(m_start, m_end);
    if (!raw.contains(QChar(kCellMark))) return raw;
    QString out;
    out.reserve(raw.size() + 8);
    for (QChar c : raw) {
        if (c.unicode() == kCellMark) out.append(QChar(kParagraphMark));
        out.append(c);
    }
    return out;
}

void Range::setText(const QString &text) {
    if (!m_document) return;
    const int end = m_document->replace(m_start, m_end, text);
    const int length = m_document->story().length();
    m_start = std::min(m_start, length);
    m_end = std::clamp(end, m_start, length);
}

void Range::deleteText() {
    if (!m_document) return;
    m_end = m_start + std::max(0, (m_end - m_start) - m_document->remove(m_start, m_end));
}

Status Range::setStyle(const QString &styleName) {
    if (!m_document) return Status::failure(QStringLiteral("The range belongs to no document."));
    const int index = m_document->styles().indexOf(styleName);
    if (index < 0) return Status::failure(QStringLiteral("The document has no style named \"%1\".").arg(styleName));
    if (m_document->styles().at(index)->type() == StyleType::Character) {
        const int style = index == Styles::kDefaultParagraphFont ? -1 : index;
        m_document->editCharFormat(m_start, m_end, [style](CharFormat &f) { f.style = style; });
    } else {
        m_document->setParagraphStyle(m_start, m_end, index);
    }
    return Status::success();
}

QString Range::characterStyleName() const {
    if (!m_document || m_start >= m_document->story().length()) return {};
    const CharFormat &f = m_document->charFormats().at(m_document->story().charFormatAt(m_start));
    const Style *s = m_document->styles().at(f.style);
    return s ? s->nameLocal() : QString();
}

void Range::select() const {
    if (m_document) m_document->selection().setRange(m_start, m_end);
}

Find Range::find() {
    return Find(m_document ? &m_document->application()->findSettings() : nullptr, this);
}

QList<Cell> Range::cells() const {
    QList<Cell> out;
    if (!m_document) return out;
    const auto &layout = m_document->tableLayout();
    for (size_t t = 0; t < layout.size(); ++t) {
        const TableSpan &table = layout[t];
        if (table.end <= m_start || table.start >= std::max(m_end, m_start + 1)) continue;
        for (size_t r = 0; r < table.rows.size(); ++r) {
            const RowSpan &row = table.rows[r];
            if (row.end <= m_start || row.start >= std::max(m_end, m_start + 1)) continue;
            for (size_t c = 0; c < row.cells.size(); ++c) {
                const CellSpan &cell = row.cells[c];
                if (cell.end <= m_start || cell.start >= std::max(m_end, m_start + 1)) continue;
                out.append(Cell(m_document, int(t) + 1, int(r) + 1, int(c) + 1));
            }
        }
    }
    return out;
}

}  // namespace office::doc
