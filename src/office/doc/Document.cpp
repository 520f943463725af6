#include "office/doc/Document.h"

#include "office/doc/Application.h"
#include "office/doc/DocWriter.h"
#include "office/doc/RtfFileSave.h"
#include "office/doc/TypedText.h"

#include <QFileInfo>

namespace office::doc {

namespace {

bool isWordChar(char16_t c) { return QChar(c).isLetterOrNumber() || c == u'_'; }

}  // namespace

Document::Document(Application *application, const QString &name)
    : m_application(application), m_name(name), m_selection(this) {
    m_story.insert(0, QStringView(u"\r"), quint32(0), quint32(0));
    m_story.markClean();
}

Range Document::range(int start, int end) { return Range(this, start, end); }

Range Document::content() { return Range(this, 0, m_story.length()); }

int Document::paragraphCount() const {
    int n = 0;
    for (int p = 0; p < m_story.length(); ++p) {
        const char16_t c = m_story.at(p);
        if (c == kParagraphMark || c == kCellMark) ++n;
    }
    return n;
}

Range Document::paragraphs(int n) {
    int start = 0;
    int count = 0;
    for (int p = 0; p < m_story.length(); ++p) {
        const char16_t c = m_story.at(p);
        if (c != kParagraphMark && c != kCellMark) continue;
        if (++count == n) return Range(this, start, p + 1);
        start = p + 1;
    }
    return Range(this, m_story.length(), m_story.length());
}

Range Document::words(int n) {
    int pos = 0;
    const int length = m_story.length();
    for (int i = 1; pos < length; ++i) {
        const int start = pos;
        if (isWordChar(m_story.at(pos))) {
            while (pos < length && isWordChar(m_story.at(pos))) ++pos;
        } else {
            ++pos;
        }
        while (pos < length && m_story.at(pos) == u' ') ++pos;
        if (i == n) return Range(this, start, pos);
    }
    return Range(this, length, length);
}

Tables Document::tables() {
    std::vector<int> indexes;
    for (size_t i = 0; i < tableLayout().size(); ++i) indexes.push_back(int(i) + 1);
    return Tables(this, std::move(indexes));
}

const std::vector<TableSpan> &Document::tableLayout() const {
    if (m_tableCacheRevision != m_story.revision()) {
        m_tableCache = scanTables(m_story, m_paraFormats);
        m_tableCacheRevision = m_story.revision();
    }
    return m_tableCache;
}

// --- Files -------------------------------------------------------------------------------------

Status Document::save() {
    if (m_path.isEmpty()) return Status::failure(QStringLiteral("The document has no file name yet; use SaveAs."));
    return m_format == SaveFormat::Doc ? writeDoc() : writeRtf();
}

Status Document::saveAs(const QString &path, SaveFormat format) {
    if (path.isEmpty()) return Status::failure(QStringLiteral("No file name given."));
    if (format != SaveFormat::Rtf && format != SaveFormat::Document)
        return Status::failure(QStringLiteral("Unknown save format."));
    m_path = QFileInfo(path).absoluteFilePath();
    m_name = QFileInfo(path).fileName();
    m_format = format;
    m_saveMark.valid = false;
    return format == SaveFormat::Doc ? writeDoc() : writeRtf();
}

Status Document::writeRtf() {
    const Status status =
        saveRtfFile(m_path, {m_styles, m_charFormats, m_paraFormats, m_story}, m_saveMark, RtfRewrite::Allowed);
    if (status) m_saved = true;
    return status;
}

Status Document::writeDoc() {
    m_story.closeGap();  // the writer reads every character
    const Status status = DocWriter(*this).save(m_path);
    if (status) {
        m_saved = true;
        m_story.markClean();
    }
    return status;
}

void Document::close() { m_application->documents().remove(this); }

void Document::markLoaded(const QString &path, SaveFormat format) {
    m_path = QFileInfo(path).absoluteFilePath();
    m_name = QFileInfo(path).fileName();
    m_format = format;
    m_saveMark.valid = false;
    m_story.markClean();
    m_saved = true;
    m_selection.setRange(0, 0);
}

// --- Editing -----------------------------------------------------------------------------------

int Document::normalizeInsertPos(int pos) const {
    pos = std::clamp(pos, 0, m_story.length() - 1);
    // Between a row's last cell mark and its row-end mark nothing may stand: the
    // text goes to the end of the last cell instead.
    if (m_story.at(pos) == kCellMark && m_paraFormats.at(m_story.paraFormatAt(pos)).rowEnd && pos > 0) return pos - 1;
    return pos;
}

quint32 Document::charFormatForInsert(int pos) const {
    if (pos > 0) {
        const char16_t before = m_story.at(pos - 1);
        if (before != kParagraphMark && before != kCellMark) return m_story.charFormatAt(pos - 1);
    }
    return pos < m_story.length() ? m_story.charFormatAt(pos) : 0;
}

// A paragraph mark typed at pos gets the formatting of the paragraph it splits.
quint16 Document::paraFormatForInsert(int pos) const {
    for (int p = pos; p < m_story.length(); ++p) {
        const char16_t c = m_story.at(p);
        if (c == kParagraphMark || c == kCellMark) {
            ParaFormat f = m_paraFormats.at(m_story.paraFormatAt(p));
            f.rowEnd = false;
            f.autoFit = false;
            return quint16(const_cast<FormatTable<ParaFormat> &>(m_paraFormats).id(f));
        }
    }
    return 0;
}

int Document::replace(int start, int end, const QString &text, std::optional<quint32> charFormat) {
    start = std::clamp(start, 0, m_story.length());
    end = std::clamp(end, start, m_story.length());
    if (end > start) {
        if (!charFormat && start < m_story.length()) charFormat = m_story.charFormatAt(start);
        remove(start, end);
    }
    const QString typed = normalizeTypedText(text);
    if (typed.isEmpty()) return start;
    const int pos = normalizeInsertPos(start);
    const quint32 cf = charFormat.value_or(charFormatForInsert(pos));
    const quint16 pf = paraFormatForInsert(pos);
    m_story.insert(pos, typed, cf, pf);
    m_selection.adjustForInsert(pos, int(typed.size()));
    m_saved = false;
    return pos + int(typed.size());
}

int Document::insertFormatted(int pos, const QString &text, const std::vector<quint32> &charFormats,
                              const std::vector<quint16> &paraFormats) {
    pos = normalizeInsertPos(pos);
    if (text.isEmpty() || charFormats.size() != size_t(text.size()) || paraFormats.size() != size_t(text.size()))
        return pos;
    m_story.insert(pos, text, charFormats.data(), paraFormats.data());
    m_selection.adjustForInsert(pos, int(text.size()));
    m_saved = false;
    return pos + int(text.size());
}

int Document::remove(int start, int end) {
    start = std::clamp(start, 0, m_story.length() - 1);
    end = std::clamp(end, start, m_story.length() - 1);  // the final paragraph mark stays
    if (start >= end) return 0;
    bool touchesTable = paragraphInTable(m_story, m_paraFormats, end);
    for (int p = start; p < end && !touchesTable; ++p) touchesTable = m_story.at(p) == kCellMark;
    if (!touchesTable) {
        m_story.remove(start, end);
        m_selection.adjustForRemove(start, end);
        m_saved = false;
        return end - start;
    }
    // Keep the marks of rows that are only partly covered, and the paragraph mark
    // in front of a table that keeps rows, so that no text runs into a cell.
    std::vector<char> keep(size_t(end - start), 0);
    auto keepAt = [&](int p) {
        if (p >= start && p < end) keep[size_t(p - start)] = 1;
    };
    for (const TableSpan &table : tableLayout()) {
        if (table.end <= start || table.start >= end) continue;
        bool anyRowKept = false;
        for (const RowSpan &row : table.rows) {
            if (row.end <= start || row.start >= end) {
                anyRowKept = true;
                continue;
            }
            if (row.start >= start && row.end <= end) continue;
            anyRowKept = true;
            for (const CellSpan &cell : row.cells) keepAt(cell.end - 1);
            keepAt(row.end - 1);
        }
        if (anyRowKept) keepAt(table.start - 1);
    }
    int removed = 0;
    for (int p = end; p > start;) {
        if (keep[size_t(p - 1 - start)]) {
            --p;
            continue;
        }
        int q = p;
        while (q > start && !keep[size_t(q - 1 - start)]) --q;
        m_story.remove(q, p);
        m_selection.adjustForRemove(q, p);
        removed += p - q;
        p = q;
    }
    m_saved = false;
    return removed;
}

void Document::setParagraphStyle(int start, int end, int styleIndex) {
    int paragraphStart = start;
    while (paragraphStart > 0 && m_story.at(paragraphStart - 1) != kParagraphMark &&
           m_story.at(paragraphStart - 1) != kCellMark)
        --paragraphStart;
    for (int p = paragraphStart; p < m_story.length(); ++p) {
        const char16_t c = m_story.at(p);
        if (c != kParagraphMark && c != kCellMark) continue;
        ParaFormat f = m_paraFormats.at(m_story.paraFormatAt(p));
        if (f.style != styleIndex) {
            f.style = styleIndex;
            m_story.setParaFormat(p, m_paraFormats.id(f));
            m_story.noteChange(paragraphStart);  // a paragraph's formatting is written at its start
            m_saved = false;
        }
        paragraphStart = p + 1;
        if (p + 1 >= end) break;
    }
}

void Document::setTableAutoFit(int tableIndex, bool autoFit) {
    const auto &layout = tableLayout();
    if (tableIndex < 1 || tableIndex > int(layout.size())) return;
    const TableSpan table = layout[size_t(tableIndex - 1)];
    for (const RowSpan &row : table.rows) {
        ParaFormat f = m_paraFormats.at(m_story.paraFormatAt(row.end - 1));
        if (f.autoFit == autoFit) continue;
        f.autoFit = autoFit;
        m_story.setParaFormat(row.end - 1, m_paraFormats.id(f));
        m_story.noteChange(table.start);
        m_saved = false;
    }
}

int Document::insertDocument(int pos, const Document &source) {
    return insertDocument(pos, source, 0, source.story().length() - 1);
}

int Document::insertDocument(int pos, const Document &source, int from, int to) {
    pos = normalizeInsertPos(pos);
    const Story &src = source.story();
    const int n = std::clamp(to, 0, src.length() - 1);  // the source's final paragraph mark stays behind
    from = std::clamp(from, 0, n);
    if (n <= from) return pos;

    // Styles by name: those this document lacks are added with the source's definition.
    std::vector<int> styleMap(size_t(source.styles().count()), -1);
    for (int i = 0; i < source.styles().count(); ++i) {
        const Style *s = source.styles().at(i);
        int mine = m_styles.indexOf(s->nameLocal());
        if (mine < 0) {
            Style *added = m_styles.add(s->nameLocal(), s->type());
            added->font().setName(s->font().name());
            added->font().setColor(s->font().color());
            added->font().setHalfPoints(s->font().halfPoints());
            added->font().setBold(s->font().bold());
            added->font().setItalic(s->font().italic());
            added->setLanguageId(s->languageId());
            mine = m_styles.indexOf(s->nameLocal());
        }
        styleMap[size_t(i)] = mine;
    }
    const bool intoTable = paragraphInTable(m_story, m_paraFormats, pos);
    const bool sourceStartsWithTable = paragraphInTable(src, source.paraFormats(), from);
    const bool atParagraphStart = pos == 0 || m_story.at(pos - 1) == kParagraphMark || m_story.at(pos - 1) == kCellMark;
    const quint16 hostPara = paraFormatForInsert(pos);
    auto mapCharFormat = [&](quint32 sourceCf) {
        CharFormat cf = source.charFormats().at(sourceCf);
        if (cf.style >= 0) cf.style = cf.style < int(styleMap.size()) ? styleMap[size_t(cf.style)] : -1;
        return m_charFormats.id(cf);
    };
    auto mapParaStyle = [&](ParaFormat &pf) {
        pf.style = pf.style >= 0 && pf.style < int(styleMap.size()) ? std::max(styleMap[size_t(pf.style)], 0) : 0;
    };
    if (!intoTable) {
        // The characters go in as they are, straight from the source's story.
        int at = pos;
        if (sourceStartsWithTable && !atParagraphStart) {
            m_story.insert(at, QStringView(u"\r"), charFormatForInsert(at), hostPara);
            m_selection.adjustForInsert(at, 1);
            ++at;
        }
        auto mapParaFormat = [&](quint16 sourcePf) {
            ParaFormat pf = source.paraFormats().at(sourcePf);
            mapParaStyle(pf);
            return quint16(std::min<quint32>(m_paraFormats.id(pf), 0xFFFF));
        };
        const int inserted = m_story.insertMapped(at, src, from, n, mapCharFormat, mapParaFormat);
        m_selection.adjustForInsert(at, inserted);
        m_saved = false;
        return at + inserted;
    }
    // Into a table, character by character.
    QString text;
    std::vector<quint32> cfs;
    std::vector<quint16> pfs;
    text.reserve(n - from + 1);
    cfs.reserve(size_t(n - from) + 1);
    pfs.reserve(size_t(n - from) + 1);
    // Neighbouring characters mostly share their formats: map each format number
    // once, not once per character.
    quint32 lastSourceCf = 0, lastCf = 0;
    bool cfKnown = false;
    for (int p = from; p < n; ++p) {
        const quint32 sourceCf = src.charFormatAt(p);
        if (!cfKnown || sourceCf != lastSourceCf) {
            lastSourceCf = sourceCf;
            lastCf = mapCharFormat(sourceCf);
            cfKnown = true;
        }
        // Tables cannot nest here: inserted cells become tabs, rows paragraphs.
        char16_t c = src.at(p);
        ParaFormat pf = source.paraFormats().at(src.paraFormatAt(p));
        mapParaStyle(pf);
        const bool lastCellOfRow = c == kCellMark && !pf.rowEnd && p + 1 < n && src.at(p + 1) == kCellMark &&
                                   source.paraFormats().at(src.paraFormatAt(p + 1)).rowEnd;
        if (lastCellOfRow) continue;
        if (c == kCellMark) c = pf.rowEnd ? char16_t(kParagraphMark) : char16_t(kTab);
        if (c == kParagraphMark) pf = m_paraFormats.at(hostPara);
        text.append(QChar(c));
        cfs.push_back(lastCf);
        pfs.push_back(quint16(std::min<quint32>(m_paraFormats.id(pf), 0xFFFF)));
    }
    return insertFormatted(pos, text, cfs, pfs);
}

}  // namespace office::doc
