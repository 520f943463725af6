#include "office/doc/DocReader.h"

#include "office/doc/Cp1252.h"
#include "office/doc/DocBytes.h"
#include "office/doc/DocCharProps.h"
#include "office/doc/DocFib.h"
#include "office/doc/DocFkp.h"
#include "office/doc/DocFontTable.h"
#include "office/doc/DocPieceTable.h"
#include "office/doc/DocSprms.h"
#include "office/doc/DocStyleSheet.h"
#include "office/doc/Document.h"
#include "office/ole/CompoundFile.h"
#include "office/ole/DiskStream.h"

#include <QFile>

#include <QSet>

#include <algorithm>
#include <cstring>
#include <optional>

namespace office::doc {

namespace {

constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;
constexpr char16_t kFieldEnd = 0x15;
// Anchors of pictures, drawn objects, notes and comments have no text of their
// own; nor has a zero character (form fields leave them behind).
bool isAnchor(char16_t c) {
    return c == 0x00 || c == 0x01 || c == 0x02 || c == 0x05 || c == 0x08;
}
constexpr int kMaxFieldDepth = 64;
// The style defaults the writer gives "Normal" when the document sets none.
constexpr int kNormalDefaultHalfPoints = 24;
constexpr int kNormalDefaultLanguage = 1031;

Status refuse(const QString &what, qint64 offset = -1) {
    return Status::failure(what, offset);
}

// Paragraph properties as read from a PAPX.
struct ParaProps {
    int istd = 0;
    bool inTable = false;
    bool rowEnd = false;
    bool autoFit = false;
};

// Walks the property runs of one kind in stream order, remembering where it is:
// the text is read piece by piece, and within a piece the offsets only grow.
class RunCursor {
public:
    explicit RunCursor(const std::vector<DocFkpRun> &runs) : m_runs(runs) {}
    void seek(quint32 fc) {
        m_at = size_t(std::upper_bound(m_runs.begin(), m_runs.end(), fc,
                                       [](quint32 v, const DocFkpRun &r) { return v < r.fcEnd; }) -
                      m_runs.begin());
    }
    /// The run holding the byte at fc, or -1.
    qsizetype runAt(quint32 fc) {
        while (m_at < m_runs.size() && m_runs[m_at].fcEnd <= fc) ++m_at;
        return m_at < m_runs.size() && m_runs[m_at].fcStart <= fc ? qsizetype(m_at) : -1;
    }

private:
    const std::vector<DocFkpRun> &m_runs;
    size_t m_at = 0;
};

// The WordDocument stream, held in memory or left on disk: a large file's text
// and property pages are read from it in parts while the story grows.
class WordStream {
public:
    WordStream(const QByteArray *bytes, const ole::DiskStream *disk) : m_bytes(bytes), m_disk(disk) {}
    qint64 size() const { return m_disk ? m_disk->size() : m_bytes->size(); }
    bool read(qint64 offset, qint64 n, char *into) const {
        if (m_disk) return m_disk->read(offset, n, into);
        if (offset < 0 || n < 0 || offset > m_bytes->size() || n > m_bytes->size() - offset) return false;
        std::memcpy(into, m_bytes->constData() + offset, size_t(n));
        return true;
    }

private:
    const QByteArray *m_bytes;
    const ole::DiskStream *m_disk;
};

// The longest file information block: the counts in front of its three arrays are 16-bit.
constexpr qint64 kMaxFibSize = 0x22 + 2 * 0xFFFF + 2 + 4 * 0xFFFF + 2 + 8 * 0xFFFF;
// Text is decoded from the stream in steps of this many bytes.
constexpr qint64 kTextStep = qint64(1) << 16;

class Reader {
public:
    explicit Reader(Document &doc) : m_doc(doc) {}
    /// `disk` holds the WordDocument stream when the file's entry has none.
    Status run(ole::CompoundFile &file, const ole::DiskStream *disk = nullptr);

private:
    Status findStreams();
    void readStyles(const std::vector<DocStyleSheet::Entry> &entries);
    ParaProps paraProps(const QByteArray &props) const;
    quint32 charFormatOf(qsizetype run);
    quint16 paraFormatOf(qsizetype run, char16_t mark);
    Status readStory();

    Document &m_doc;
    ole::CompoundFile *m_file = nullptr;
    std::optional<WordStream> m_word;
    const ole::DiskStream *m_disk = nullptr;
    const ole::Entry *m_table = nullptr;
    const ole::Entry *m_data = nullptr;
    DocFib m_fib;
    std::vector<DocPiece> m_pieces;
    std::vector<DocFkpRun> m_chpx;
    std::vector<DocFkpRun> m_papx;
    std::vector<quint32> m_chpxFormat;     // format number of each character run, once worked out
    std::vector<quint32> m_papxFormat[2];  // of each paragraph run, by whether the mark is a cell mark
    QStringList m_fonts;
    std::vector<int> m_styleOfIstd;  // model style index of each file style index, -1 unknown
    QHash<QByteArray, quint32> m_charFormatIds;
    QSet<QByteArray> m_props;  // the property lists the runs point at
};

constexpr quint32 kUnknown = 0xFFFFFFFF;

Status Reader::findStreams() {
    const ole::Entry *word = m_file->find(QStringLiteral("WordDocument"));
    if (!word || word->isStorage)
        return refuse(QStringLiteral("This is not a Word document: the compound file has no WordDocument stream."));
    m_word.emplace(&word->data, m_disk && m_disk->isOpen() ? m_disk : nullptr);
    QByteArray fibBytes(qsizetype(std::min(m_word->size(), kMaxFibSize)), '\0');
    if (!m_word->read(0, fibBytes.size(), fibBytes.data()))
        return refuse(QStringLiteral("The WordDocument stream cannot be read."), 0);
    if (const Status s = DocFib::read(fibBytes, m_fib); !s)
        return refuse(QStringLiteral("WordDocument stream: %1").arg(s.message), s.offset);
    if (m_fib.encrypted || m_fib.obfuscated)
        return refuse(QStringLiteral("The document is encrypted (password protected) and cannot be read."), 11);
    const QString tableName = m_fib.whichTable1 ? QStringLiteral("1Table") : QStringLiteral("0Table");
    m_table = m_file->find(tableName);
    if (!m_table || m_table->isStorage)
        return refuse(QStringLiteral("The document has no %1 stream, which its header names.").arg(tableName), 11);
    m_data = m_file->find(QStringLiteral("Data"));
    return Status::success();
}

void Reader::readStyles(const std::vector<DocStyleSheet::Entry> &entries) {
    Styles &styles = m_doc.styles();
    int maxIstd = 0;
    for (const auto &e : entries) maxIstd = std::max(maxIstd, e.istd);
    m_styleOfIstd.assign(size_t(maxIstd) + 1, -1);
    for (const auto &e : entries) {
        int index = -1;
        if (e.sti == 0 && e.kind == 1) {
            index = Styles::kNormal;
        } else if (e.sti == 65 && e.kind == 2) {
            index = Styles::kDefaultParagraphFont;
        } else if (e.kind >= 1 && e.kind <= 4 && !e.name.isEmpty()) {
            styles.add(e.name, StyleType(e.kind));
            index = styles.indexOf(e.name);
        }
        if (index < 0) continue;
        m_styleOfIstd[size_t(e.istd)] = index;
        Style *style = styles.at(index);
        if (!style || index == Styles::kDefaultParagraphFont) continue;
        DocCharProps look = e.look;
        if (index == Styles::kNormal) {
            if (look.halfPoints == kNormalDefaultHalfPoints) look.halfPoints = 0;
            if (look.language == kNormalDefaultLanguage) look.language = -1;
        }
        if (look.font >= 0 && look.font < m_fonts.size()) style->font().setName(m_fonts[look.font]);
        style->font().setHalfPoints(look.halfPoints);
        style->font().setBold(look.bold);
        style->font().setItalic(look.italic);
        style->font().setColor(look.color);
        style->setLanguageId(look.language);
    }
}

quint32 Reader::charFormatOf(qsizetype run) {
    if (run < 0) return 0;
    quint32 &known = m_chpxFormat[size_t(run)];
    if (known != kUnknown) return known;
    const QByteArray props = m_chpx[size_t(run)].propsView();
    auto it = m_charFormatIds.constFind(props);
    if (it != m_charFormatIds.constEnd()) return known = *it;
    const DocCharProps p = DocCharProps::read(props.constData(), int(props.size()));
    CharFormat f;
    if (p.istd >= 0 && p.istd < int(m_styleOfIstd.size())) {
        const int index = m_styleOfIstd[size_t(p.istd)];
        const Style *style = m_doc.styles().at(index);
        if (style && style->type() == StyleType::Character) f.style = index;
    }
    if (p.font >= 0 && p.font < m_fonts.size()) f.fontName = m_fonts[p.font];
    f.halfPoints = p.halfPoints;
    f.bold = qint8(p.bold);
    f.italic = qint8(p.italic);
    f.underline = qint8(p.underline);
    f.color = p.color;
    f.language = p.language;
    known = m_doc.charFormats().id(f);
    m_charFormatIds.insert(QByteArray(props.constData(), props.size()), known);  // a copy: the key outlives the stream
    return known;
}

ParaProps Reader::paraProps(const QByteArray &props) const {
    ParaProps p;
    if (props.size() < 2) return p;
    p.istd = int(quint8(props[0]) | quint8(props[1]) << 8);
    auto apply = [&p](const char *grpprl, int size, const auto &self, const Reader &reader, int depth) -> void {
        Sprm::forEach(grpprl, size, [&](quint16 sprm, const char *operand, int n) {
            const quint32 v = Sprm::operandValue(operand, n);
            switch (sprm) {
                case Sprm::PFInTable:
                    p.inTable = v != 0;
                    break;
                case Sprm::PItap:
                    p.inTable = p.inTable || v > 0;
                    break;
                case Sprm::PFTtp:
                    p.rowEnd = v != 0;
                    break;
                case Sprm::TFAutofit:
                    p.autoFit = v != 0;
                    break;
                case Sprm::PHugePapx:
                    // The full property list lies in the Data stream (once: it cannot point further).
                    if (depth == 0 && reader.m_data) {
                        const DocBytesIn data(reader.m_data->data);
                        const qint64 cb = data.u16(v);
                        if (!data.failed() && data.has(qint64(v) + 2, cb))
                            self(data.at(qint64(v) + 2), int(cb), self, reader, depth + 1);
                    }
                    break;
                default:
                    break;
            }
        });
    };
    apply(props.constData() + 2, int(props.size()) - 2, apply, *this, 0);
    return p;
}

quint16 Reader::paraFormatOf(qsizetype run, char16_t mark) {
    const bool cellMark = mark == kCellMark;
    ParaFormat f;
    f.inTable = cellMark;
    if (run < 0) return quint16(std::min<quint32>(m_doc.paraFormats().id(f), 0xFFFF));
    quint32 &known = m_papxFormat[cellMark ? 1 : 0][size_t(run)];
    if (known != kUnknown) return quint16(known);
    const ParaProps p = paraProps(m_papx[size_t(run)].propsView());
    if (p.istd < int(m_styleOfIstd.size())) {
        const int index = m_styleOfIstd[size_t(p.istd)];
        const Style *style = m_doc.styles().at(index);
        if (style && style->type() == StyleType::Paragraph) f.style = index;
    }
    f.inTable = p.inTable || cellMark;
    f.rowEnd = cellMark && p.rowEnd;
    f.autoFit = f.rowEnd && p.autoFit;
    known = std::min<quint32>(m_doc.paraFormats().id(f), 0xFFFF);
    return quint16(known);
}

// One pass over the main text in character order: fields are read through their
// results, anchors dropped, and each paragraph goes into the story when its mark
// is reached, every character with the paragraph format of that mark.
Status Reader::readStory() {
    const qint64 ccpText = m_fib.ccpText;
    if (ccpText > m_pieces.back().cpEnd)
        return refuse(
            QStringLiteral("Table stream: the piece table holds %1 characters, fewer than the %2 of the main text.")
                .arg(m_pieces.back().cpEnd)
                .arg(ccpText),
            m_fib.pairs[DocFib::kClx].fc);
    m_chpxFormat.assign(m_chpx.size(), kUnknown);
    m_papxFormat[0].assign(m_papx.size(), kUnknown);
    m_papxFormat[1].assign(m_papx.size(), kUnknown);
    Story &story = m_doc.mutableStory();
    story.remove(0, story.length());
    QString paragraph;
    std::vector<quint32> cfs;
    std::vector<quint16> pfs;
    auto flush = [&](quint16 pf) {
        pfs.assign(size_t(paragraph.size()), pf);
        story.insert(story.length(), paragraph, cfs.data(), pfs.data());
        paragraph.clear();
        cfs.clear();
    };
    std::vector<bool> inInstruction;  // open fields: still in their instruction
    int hiddenDepth = 0;              // open fields in their instruction
    RunCursor chpx(m_chpx), papx(m_papx);
    QByteArray chunk;
    for (const DocPiece &piece : m_pieces) {
        if (piece.cpStart >= ccpText) break;
        const qint32 end = qint32(std::min<qint64>(piece.cpEnd, ccpText));
        const quint32 bpc = piece.bytesPerChar();
        chpx.seek(piece.fc);
        papx.seek(piece.fc);
        qint64 chunkStart = 0, chunkEnd = 0;  // stream bytes in chunk
        for (qint32 cp = piece.cpStart; cp < end; ++cp) {
            const quint32 fc = piece.fc + quint32(cp - piece.cpStart) * bpc;
            if (fc >= chunkEnd) {
                chunkStart = fc;
                chunkEnd = std::min<qint64>(qint64(piece.fc) + qint64(end - piece.cpStart) * bpc, fc + kTextStep);
                chunk.resize(qsizetype(chunkEnd - chunkStart));
                if (!m_word->read(chunkStart, chunk.size(), chunk.data()))
                    return refuse(QStringLiteral("WordDocument stream: the text cannot be read."), chunkStart);
            }
            const char *at = chunk.constData() + (fc - chunkStart);
            const char16_t c =
                piece.compressed ? cp1252Char(quint8(at[0])) : char16_t(quint8(at[0]) | quint8(at[1]) << 8);
            if (c == kFieldBegin) {
                if (inInstruction.size() < size_t(kMaxFieldDepth)) {
                    inInstruction.push_back(true);
                    ++hiddenDepth;
                }
                continue;
            }
            if ((c == kFieldSeparator || c == kFieldEnd) && !inInstruction.empty()) {
                if (inInstruction.back()) --hiddenDepth;
                if (c == kFieldSeparator)
                    inInstruction.back() = false;
                else
                    inInstruction.pop_back();
                continue;
            }
            const bool mark = c == kParagraphMark || c == kCellMark;
            if (!mark && (hiddenDepth > 0 || isAnchor(c) || c == kFieldSeparator || c == kFieldEnd)) continue;
            paragraph.append(QChar(c));
            cfs.push_back(charFormatOf(chpx.runAt(fc)));
            if (mark) flush(paraFormatOf(papx.runAt(fc), c));
        }
    }
    if (!paragraph.isEmpty()) flush(0);
    // The story ends with a paragraph mark outside any table.
    const int n = story.length();
    if (n == 0 || story.at(n - 1) != kParagraphMark || m_doc.paraFormats().at(story.paraFormatAt(n - 1)).inTable)
        story.insert(n, QStringView(u"\r"), n > 0 ? story.charFormatAt(n - 1) : 0, 0);
    return Status::success();
}

Status Reader::run(ole::CompoundFile &file, const ole::DiskStream *disk) {
    m_file = &file;
    m_disk = disk;
    if (const Status s = findStreams(); !s) return s;
    const QByteArray &table = m_table->data;
    const WordStream &word = *m_word;
    auto inTable = [](const Status &s) { return refuse(QStringLiteral("Table stream: %1").arg(s.message), s.offset); };
    const FcLcb clx = m_fib.pairs[DocFib::kClx];
    if (const Status s = DocPieceTable::read(table, clx.fc, clx.lcb, word.size(), m_pieces); !s) return inTable(s);
    const FcLcb ffn = m_fib.pairs[DocFib::kSttbfFfn];
    if (const Status s = DocFontTable::read(table, ffn.fc, ffn.lcb, m_fonts); !s) return inTable(s);
    std::vector<DocStyleSheet::Entry> styles;
    const FcLcb stsh = m_fib.pairs[DocFib::kStshf];
    if (const Status s = DocStyleSheet::read(table, stsh.fc, stsh.lcb, styles); !s) return inTable(s);
    const DocFkpPages pages{word.size(), [&word](qint64 offset, char *page) { return word.read(offset, 512, page); }};
    const FcLcb chpx = m_fib.pairs[DocFib::kPlcfBteChpx];
    if (const Status s = DocFkpReader::read(FkpKind::Chpx, table, chpx.fc, chpx.lcb, pages, m_props, m_chpx); !s)
        return inTable(s);
    const FcLcb papx = m_fib.pairs[DocFib::kPlcfBtePapx];
    if (const Status s = DocFkpReader::read(FkpKind::Papx, table, papx.fc, papx.lcb, pages, m_props, m_papx); !s)
        return inTable(s);
    readStyles(styles);
    return readStory();
}

QString outOfMemory() {
    return QStringLiteral("There is not enough memory to read the Word document.");
}

}  // namespace

Status DocReader::read(const QByteArray &bytes, Document &into) {
    if (bytes.size() > kMaxFileSize)
        return Status::failure(QStringLiteral("The Word document is larger than %1 MB.").arg(kMaxFileSize >> 20));
    if (!ole::hasOle2Signature(bytes.left(8)))
        return refuse(QStringLiteral("This is not a Word document: the file is not an OLE2 compound file."), 0);
    return refuseWhenOutOfMemory(
        [&] {
            ole::CompoundFile file;
            if (const Status s = ole::CompoundFile::readBytes(bytes, file); !s) return s;
            return Reader(into).run(file);
        },
        outOfMemory());
}

Status DocReader::readFile(const QString &path, Document &into) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    if (file.size() > kMaxFileSize)
        return Status::failure(QStringLiteral("The Word document is larger than %1 MB.").arg(kMaxFileSize >> 20));
    if (!ole::hasOle2Signature(file.read(8)))
        return refuse(QStringLiteral("This is not a Word document: the file is not an OLE2 compound file."), 0);
    file.close();
    // The WordDocument stream, about as large as the file, stays on disk: its text
    // is read in parts while the story grows, its property pages one at a time.
    return refuseWhenOutOfMemory(
        [&] {
            ole::CompoundFile compound;
            ole::DiskStream word;
            if (const Status s = ole::CompoundFile::read(path, compound, QStringLiteral("WordDocument"), word); !s)
                return s;
            return Reader(into).run(compound, &word);
        },
        outOfMemory());
}

}  // namespace office::doc
