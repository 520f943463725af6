#include "office/doc/DocWriter.h"

#include "office/doc/Cp1252.h"
#include "office/doc/DocCharProps.h"
#include "office/doc/DocDop.h"
#include "office/doc/DocFib.h"
#include "office/doc/DocFkp.h"
#include "office/doc/DocFontTable.h"
#include "office/doc/DocPieceTable.h"
#include "office/doc/DocSection.h"
#include "office/doc/DocSprms.h"
#include "office/doc/DocStyleSheet.h"
#include "office/doc/DocSummaryInformation.h"
#include "office/doc/DocTables.h"
#include "office/doc/Document.h"
#include "office/doc/TableLayout.h"
#include "office/ole/CompoundFile.h"

namespace office::doc {

namespace {

// Class id of a Word 97-2003 document.
constexpr std::array<unsigned char, 16> kWordDocumentClassId = {0x06, 0x09, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// Word's text and the piece table count characters in 32 bits; the stream
// offsets of a UTF-16 text must stay below the piece table's 30-bit limit.
constexpr qint64 kMaxCharacters = (qint64(1) << 29) - 4096;

constexpr qsizetype kMinWordDocumentSize = 4096;

bool isParagraphEnd(char16_t c) {
    return c == kParagraphMark || c == kCellMark;
}

}  // namespace

DocWriter::DocWriter(const Document &document)
    : DocWriter(document.styles(), document.charFormats(), document.paraFormats(), document.story()) {}

int DocWriter::fontIndex(const QString &name) {
    if (name.isEmpty()) return -1;
    auto it = m_fontIndex.constFind(name);
    if (it != m_fontIndex.constEnd()) return *it;
    const int index = int(m_fonts.size());
    m_fonts.append(name);
    m_fontIndex.insert(name, index);
    return index;
}

// Fonts in a fixed order: the default font, those of the styles, then those of
// the runs in story order, so that the table follows from the story alone.
void DocWriter::collectFonts() {
    fontIndex(QStringLiteral("Times New Roman"));
    for (int i = 0; i < m_styles.count(); ++i) fontIndex(m_styles.at(i)->font().name());
    std::vector<char> seen(m_charFormats.size(), 0);
    for (int p = 0; p < m_story.length(); ++p) {
        const quint32 f = m_story.charFormatAt(p);
        if (f < seen.size() && !seen[f]) {
            seen[f] = 1;
            fontIndex(m_charFormats.at(f).fontName);
        }
    }
}

// The CHPX property list of a character format: its character style and direct formatting.
const QByteArray &DocWriter::chpx(quint32 format) {
    if (format >= m_chpx.size()) {
        m_chpx.resize(size_t(format) + 1);
        m_chpxKnown.resize(size_t(format) + 1, 0);
    }
    if (!m_chpxKnown[format]) {
        const CharFormat &f = m_charFormats.at(format);
        DocCharProps p;
        const Style *style = m_styles.at(f.style);
        if (style && style->type() == StyleType::Character) p.istd = DocStyleSheet::istdOfStyle(f.style);
        p.font = fontIndex(f.fontName);
        p.halfPoints = f.halfPoints;
        p.bold = f.bold;
        p.italic = f.italic;
        p.underline = f.underline;
        p.color = f.color;
        p.language = f.language;
        DocBytesOut out;
        p.write(out);
        m_chpx[format] = out.take();
        m_chpxKnown[format] = 1;
    }
    return m_chpx[format];
}

// The PAPX of the paragraph ending at `mark`: style index, then in-table and
// row properties. Row definitions too large for a page go to the Data stream.
QByteArray DocWriter::papx(int mark, int rowStart, QByteArray &data) {
    const quint32 format = m_story.paraFormatAt(mark);
    const ParaFormat &pf = m_paraFormats.at(format);
    const bool isCellMark = m_story.at(mark) == kCellMark;
    const bool rowEnd = isCellMark && pf.rowEnd;
    if (!rowEnd && format < m_papx.size() && m_papxKnown[format]) return m_papx[format];
    const Style *style = m_styles.at(pf.style);
    const int istd = style && style->type() == StyleType::Paragraph ? DocStyleSheet::istdOfStyle(pf.style) : 0;
    DocBytesOut out;
    out.u16(quint32(istd));
    if (!rowEnd) {
        if (isCellMark || pf.inTable) out.bytes(DocTables::cellParagraphProps());
        if (format >= m_papx.size()) {
            m_papx.resize(size_t(format) + 1);
            m_papxKnown.resize(size_t(format) + 1, 0);
        }
        m_papx[format] = out.take();
        m_papxKnown[format] = 1;
        return m_papx[format];
    }
    int cells = 0;
    for (int p = rowStart; p < mark; ++p)
        if (m_story.at(p) == kCellMark) ++cells;
    const QByteArray props = DocTables::rowEndProps(m_columnWidths, cells, pf.autoFit);
    if (props.size() + 2 <= DocFkpWriter::kMaxPapx) {
        out.bytes(props);
        return out.take();
    }
    // The page keeps what marks the row end and points to the whole list in the Data stream.
    out.bytes(props.left(6));  // sprmPFInTable and sprmPFTtp
    Sprm::append(out, Sprm::PHugePapx, quint32(data.size()));
    DocBytesOut prc;
    prc.u16(quint32(props.size()));
    prc.bytes(props);
    data.append(prc.take());
    return out.take();
}

void DocWriter::writeText(QByteArray &stream, bool compressed) const {
    const int n = m_story.length();
    const qsizetype at = stream.size();
    stream.resize(at + qsizetype(n) * (compressed ? 1 : 2));
    char *out = stream.data() + at;
    for (int p = 0; p < n; ++p) {
        const char16_t c = m_story.at(p);
        if (compressed) {
            *out++ = char(cp1252Byte(c));
        } else {
            *out++ = char(c & 0xFF);
            *out++ = char(c >> 8);
        }
    }
}

Status DocWriter::write(QByteArray &result) {
    ole::CompoundFile file;
    if (const Status s = build(file); !s) return s;
    return file.writeBytes(result);
}

Status DocWriter::save(const QString &path) {
    ole::CompoundFile file;
    if (const Status s = build(file); !s) return s;
    return file.writeFile(path);
}

Status DocWriter::build(ole::CompoundFile &file) {
    const int n = m_story.length();
    if (n > kMaxCharacters) return Status::failure(QStringLiteral("The document is too long for a Word file."));
    collectFonts();
    bool compressed = true;
    for (int p = 0; p < n && compressed; ++p) compressed = cp1252Byte(m_story.at(p)) >= 0;
    const quint32 bytesPerChar = compressed ? 1 : 2;
    const quint32 fcText = DocFib::kTextStart;

    QByteArray word(DocFib::kTextStart, '\0');
    word.reserve(qsizetype(n) * (bytesPerChar + 1) + 65536);
    writeText(word, compressed);
    const quint32 fcTextEnd = quint32(word.size());

    // Character runs and paragraphs, in one pass.
    DocFkpWriter chpxPages(FkpKind::Chpx);
    DocFkpWriter papxPages(FkpKind::Papx);
    QByteArray data;
    auto fcOf = [&](int cp) { return fcText + quint32(cp) * bytesPerChar; };
    auto isRowEnd = [&](int p) {
        return m_story.at(p) == kCellMark && m_paraFormats.at(m_story.paraFormatAt(p)).rowEnd;
    };
    int runStart = 0;
    int paragraphStart = 0;
    int rowStart = -1;  // start of the row being written, -1 outside tables
    for (int p = 0; p < n; ++p) {
        const quint32 format = m_story.charFormatAt(p);
        if (p + 1 == n || m_story.charFormatAt(p + 1) != format) {
            chpxPages.add(fcOf(runStart), fcOf(p + 1), chpx(format));
            runStart = p + 1;
        }
        const char16_t c = m_story.at(p);
        if (!isParagraphEnd(c)) continue;
        const bool inTable = c == kCellMark || m_paraFormats.at(m_story.paraFormatAt(p)).inTable;
        if (inTable && rowStart < 0) {
            rowStart = paragraphStart;
            if (rowStart == 0 || !isRowEnd(rowStart - 1))
                m_columnWidths = contentColumnWidths(m_story, m_paraFormats, rowStart);
        }
        papxPages.add(fcOf(paragraphStart), fcOf(p + 1), papx(p, std::max(rowStart, 0), data));
        if (!inTable || isRowEnd(p)) rowStart = -1;
        paragraphStart = p + 1;
    }
    if (paragraphStart < n) {  // text after the last mark: a story always ends with one, but be safe
        papxPages.add(fcOf(paragraphStart), fcOf(n), papx(n - 1, 0, data));
    }
    const QByteArray bteChpx = chpxPages.finish(word);
    const QByteArray btePapx = papxPages.finish(word);
    if (word.size() % 2) word.append('\0');
    const quint32 fcSepx = quint32(word.size());
    word.append(DocSection::sepx());

    // The table stream.
    DocFib fib;
    QByteArray table;
    auto place = [&](DocFib::Pair pair, const QByteArray &bytes) {
        fib.pairs[pair] = {quint32(table.size()), quint32(bytes.size())};
        table.append(bytes);
    };
    place(DocFib::kStshf, DocStyleSheet::write(m_styles, [this](const QString &name) { return fontIndex(name); }));
    fib.pairs[DocFib::kStshfOrig] = fib.pairs[DocFib::kStshf];
    place(DocFib::kPlcfSed, DocSection::plcfSed(n, fcSepx));
    place(DocFib::kPlcfBteChpx, bteChpx);
    place(DocFib::kPlcfBtePapx, btePapx);
    place(DocFib::kSttbfFfn, DocFontTable::write(m_fonts));
    place(DocFib::kDop, DocDop::write());
    place(DocFib::kClx, DocPieceTable::write({DocPiece{0, n, fcText, compressed, 0}}));

    fib.fcMin = fcText;
    fib.fcMac = fcTextEnd;
    fib.cbMac = quint32(word.size());
    // A stream below the compound file's 4096-byte cutoff would go to the mini
    // stream, where some readers (antiword) do not look for the main text.
    if (word.size() < kMinWordDocumentSize) word.append(kMinWordDocumentSize - word.size(), '\0');
    fib.ccpText = n;
    const QByteArray fibBytes = fib.write();
    word.replace(0, fibBytes.size(), fibBytes);

    file.rootClassId = kWordDocumentClassId;
    file.setStream(QStringLiteral("WordDocument"), word);
    file.setStream(QStringLiteral("1Table"), table);
    if (!data.isEmpty()) file.setStream(QStringLiteral("Data"), data);
    file.setStream(QStringLiteral("\005SummaryInformation"), DocSummaryInformation::write());
    return Status::success();
}

}  // namespace office::doc
