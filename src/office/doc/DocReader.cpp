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

#include <QFile>

#include <algorithm>

namespace office::doc {

namespace {

constexpr char16_t kFieldBegin = 0x13;
constexpr char16_t kFieldSeparator = 0x14;
constexpr char16_t kFieldEnd = 0x15;
// Anchors of pictures, drawn objects, notes and comments have no text of their
// own; nor has a zero character (form fields leave them behind).
bool isAnchor(char16_t c) { return c == 0x00 || c == 0x01 || c == 0x02 || c == 0x05 || c == 0x08; }
constexpr int kMaxFieldDepth = 64;
// The style defaults the writer gives "Normal" when the document sets none.
constexpr int kNormalDefaultHalfPoints = 24;
constexpr int kNormalDefaultLanguage = 1031;

Status refuse(const QString &what, qint64 offset = -1) { return Status::failure(what, offset); }

// Paragraph properties as read from a PAPX.
struct ParaProps {
    int istd = 0;
    bool inTable = false;
    bool rowEnd = false;
    bool autoFit = false;
};

class Reader {
public:
    Reader(Document &doc) : m_doc(doc) {}
    Status run(const QByteArray &bytes);

private:
    Status readStreams(const QByteArray &bytes);
    void readStyles(const std::vector<DocStyleSheet::Entry> &entries, const QStringList &fonts);
    ParaProps paraProps(const QByteArray &props) const;
    quint32 charFormatOf(const QByteArray &props);
    quint16 paraFormatOf(const QByteArray &props, char16_t mark);
    Status decodeText();
    void applyRuns();
    void buildStory();

    Document &m_doc;
    ole::CompoundFile m_file;
    const ole::Entry *m_word = nullptr;
    const ole::Entry *m_table = nullptr;
    const ole::Entry *m_data = nullptr;
    DocFib m_fib;
    std::vector<DocPiece> m_pieces;
    std::vector<DocFkpRun> m_chpx;
    std::vector<DocFkpRun> m_papx;
    QStringList m_fonts;
    std::vector<int> m_styleOfIstd;  // model style index of each file style index, -1 unknown
    QHash<QByteArray, quint32> m_charFormatIds;
    QHash<QByteArray, quint32> m_paraPropsIds[2];  // by whether the mark is a cell mark
    QString m_text;                      // the main story as stored, fields included
    std::vector<quint32> m_charFormats;  // per character of m_text
    std::vector<quint16> m_paraFormats;
};

Status Reader::readStreams(const QByteArray &bytes) {
    if (!ole::hasOle2Signature(bytes.left(8)))
        return refuse(QStringLiteral("This is not a Word document: the file is not an OLE2 compound file."), 0);
    if (const Status s = ole::CompoundFile::readBytes(bytes, m_file); !s) return s;
    m_word = m_file.find(QStringLiteral("WordDocument"));
    if (!m_word || m_word->isStorage)
        return refuse(QStringLiteral("This is not a Word document: the compound file has no WordDocument stream."));
    if (const Status s = DocFib::read(m_word->data, m_fib); !s)
        return refuse(QStringLiteral("WordDocument stream: %1").arg(s.message), s.offset);
    if (m_fib.encrypted || m_fib.obfuscated)
        return refuse(QStringLiteral("The document is encrypted (password protected) and cannot be read."), 11);
    const QString tableName = m_fib.whichTable1 ? QStringLiteral("1Table") : QStringLiteral("0Table");
    m_table = m_file.find(tableName);
    if (!m_table || m_table->isStorage)
        return refuse(QStringLiteral("The document has no %1 stream, which its header names.").arg(tableName), 11);
    m_data = m_file.find(QStringLiteral("Data"));
    return Status::success();
}

void Reader::readStyles(const std::vector<DocStyleSheet::Entry> &entries, const QStringList &fonts) {
    Styles &styles = m_doc.styles();
    int maxIstd = 0;
    for (const auto &e : entries) maxIstd = std::max(maxIstd, e.istd);
    m_styleOfIstd.assign(size_t(maxIstd) + 1, -1);
    for (const auto &e : entries) {
        Style *style = nullptr;
        int index = -1;
        if (e.sti == 0 && e.kind == 1) {
            index = Styles::kNormal;
        } else if (e.sti == 65 && e.kind == 2) {
            index = Styles::kDefaultParagraphFont;
        } else if (e.kind >= 1 && e.kind <= 4 && !e.name.isEmpty()) {
            style = styles.add(e.name, StyleType(e.kind));
            index = styles.indexOf(e.name);
        }
        if (index < 0) continue;
        m_styleOfIstd[size_t(e.istd)] = index;
        style = styles.at(index);
        if (!style || index == Styles::kDefaultParagraphFont) continue;
        DocCharProps look = e.look;
        if (index == Styles::kNormal) {
            if (look.halfPoints == kNormalDefaultHalfPoints) look.halfPoints = 0;
            if (look.language == kNormalDefaultLanguage) look.language = -1;
        }
        if (look.font >= 0 && look.font < fonts.size()) style->font().setName(fonts[look.font]);
        style->font().setHalfPoints(look.halfPoints);
        style->font().setBold(look.bold);
        style->font().setItalic(look.italic);
        style->font().setColor(look.color);
        style->setLanguageId(look.language);
    }
}

quint32 Reader::charFormatOf(const QByteArray &props) {
    auto it = m_charFormatIds.constFind(props);
    if (it != m_charFormatIds.constEnd()) return *it;
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
    const quint32 id = m_doc.charFormats().id(f);
    m_charFormatIds.insert(props, id);
    return id;
}

ParaProps Reader::paraProps(const QByteArray &props) const {
    ParaProps p;
    if (props.size() < 2) return p;
    p.istd = int(quint8(props[0]) | quint8(props[1]) << 8);
    auto apply = [&p](const char *grpprl, int size, const auto &self, const Reader &reader, int depth) -> void {
        Sprm::forEach(grpprl, size, [&](quint16 sprm, const char *operand, int n) {
            const quint32 v = Sprm::operandValue(operand, n);
            switch (sprm) {
            case Sprm::PFInTable: p.inTable = v != 0; break;
            case Sprm::PItap: p.inTable = p.inTable || v > 0; break;
            case Sprm::PFTtp: p.rowEnd = v != 0; break;
            case Sprm::TFAutofit: p.autoFit = v != 0; break;
            case Sprm::PHugePapx:
                // The full property list lies in the Data stream (once: it cannot point further).
                if (depth == 0 && reader.m_data) {
                    const DocBytesIn data(reader.m_data->data);
                    const qint64 cb = data.u16(v);
                    if (!data.failed() && data.has(qint64(v) + 2, cb))
                        self(data.at(qint64(v) + 2), int(cb), self, reader, depth + 1);
                }
                break;
            default: break;
            }
        });
    };
    apply(props.constData() + 2, int(props.size()) - 2, apply, *this, 0);
    return p;
}

quint16 Reader::paraFormatOf(const QByteArray &props, char16_t mark) {
    const bool cellMark = mark == kCellMark;
    auto &cache = m_paraPropsIds[cellMark ? 1 : 0];
    auto it = cache.constFind(props);
    if (it != cache.constEnd()) return quint16(*it);
    const ParaProps p = paraProps(props);
    ParaFormat f;
    if (p.istd < int(m_styleOfIstd.size())) {
        const int index = m_styleOfIstd[size_t(p.istd)];
        const Style *style = m_doc.styles().at(index);
        if (style && style->type() == StyleType::Paragraph) f.style = index;
    }
    f.inTable = p.inTable || cellMark;
    f.rowEnd = cellMark && p.rowEnd;
    f.autoFit = f.rowEnd && p.autoFit;
    const quint32 id = std::min<quint32>(m_doc.paraFormats().id(f), 0xFFFF);
    cache.insert(props, id);
    return quint16(id);
}

Status Reader::decodeText() {
    const qint64 ccpText = m_fib.ccpText;
    if (ccpText > m_pieces.back().cpEnd)
        return refuse(QStringLiteral("The piece table holds %1 characters, fewer than the %2 of the main text.")
                          .arg(m_pieces.back().cpEnd)
                          .arg(ccpText),
                      m_fib.pairs[DocFib::kClx].fc);
    m_text.resize(ccpText);
    char16_t *out = reinterpret_cast<char16_t *>(m_text.data());
    const char *stream = m_word->data.constData();
    for (const DocPiece &piece : m_pieces) {
        if (piece.cpStart >= ccpText) break;
        const qint32 end = qint32(std::min<qint64>(piece.cpEnd, ccpText));
        const char *from = stream + piece.fc;
        if (piece.compressed) {
            for (qint32 cp = piece.cpStart; cp < end; ++cp) out[cp] = cp1252Char(quint8(*from++));
        } else {
            for (qint32 cp = piece.cpStart; cp < end; ++cp, from += 2)
                out[cp] = char16_t(quint8(from[0]) | quint8(from[1]) << 8);
        }
    }
    return Status::success();
}

// Gives every character the formats of the property runs that cover it, piece by piece.
void Reader::applyRuns() {
    const qint32 ccpText = m_fib.ccpText;
    m_charFormats.assign(size_t(ccpText), 0);
    m_paraFormats.assign(size_t(ccpText), 0);
    std::vector<int> chpxOf(m_chpx.size(), -1);
    auto sweep = [&](const std::vector<DocFkpRun> &runs, auto assign) {
        for (const DocPiece &piece : m_pieces) {
            if (piece.cpStart >= ccpText) break;
            const qint32 end = std::min(piece.cpEnd, ccpText);
            const quint32 bpc = piece.bytesPerChar();
            auto it = std::upper_bound(runs.begin(), runs.end(), piece.fc,
                                       [](quint32 fc, const DocFkpRun &r) { return fc < r.fcEnd; });
            for (qint32 cp = piece.cpStart; cp < end && it != runs.end();) {
                const quint32 fc = piece.fc + quint32(cp - piece.cpStart) * bpc;
                if (fc >= it->fcEnd) {
                    ++it;
                    continue;
                }
                if (fc < it->fcStart) {  // a gap between runs: no properties
                    const qint32 skip = qint32((it->fcStart - fc + bpc - 1) / bpc);
                    cp += std::max(skip, 1);
                    continue;
                }
                const qint32 last = std::min<qint64>(end, cp + qint64((it->fcEnd - fc + bpc - 1) / bpc));
                assign(size_t(it - runs.begin()), cp, last);
                cp = last;
            }
        }
    };
    sweep(m_chpx, [&](size_t run, qint32 from, qint32 to) {
        const quint32 id = charFormatOf(m_chpx[run].props);
        std::fill(m_charFormats.begin() + from, m_charFormats.begin() + to, id);
    });
    // A paragraph's properties are those of the run holding its mark.
    sweep(m_papx, [&](size_t run, qint32 from, qint32 to) {
        for (qint32 cp = from; cp < to; ++cp) {
            const char16_t c = m_text[cp].unicode();
            if (c == kParagraphMark || c == kCellMark) m_paraFormats[size_t(cp)] = paraFormatOf(m_papx[run].props, c);
        }
    });
}

// The story without field instructions and anchors; every character takes the
// paragraph format of its paragraph's mark.
void Reader::buildStory() {
    QString text;
    std::vector<quint32> cfs;
    std::vector<quint16> pfs;
    text.reserve(m_text.size() + 1);
    cfs.reserve(size_t(m_text.size()) + 1);
    pfs.reserve(size_t(m_text.size()) + 1);
    std::vector<bool> inInstruction;  // open fields: still in their instruction
    int hiddenDepth = 0;              // open fields in their instruction
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const char16_t c = m_text[i].unicode();
        if (c == kFieldBegin) {
            if (inInstruction.size() < size_t(kMaxFieldDepth)) {
                inInstruction.push_back(true);
                ++hiddenDepth;
            }
            continue;
        }
        if (c == kFieldSeparator && !inInstruction.empty()) {
            if (inInstruction.back()) --hiddenDepth;
            inInstruction.back() = false;
            continue;
        }
        if (c == kFieldEnd && !inInstruction.empty()) {
            if (inInstruction.back()) --hiddenDepth;
            inInstruction.pop_back();
            continue;
        }
        const bool mark = c == kParagraphMark || c == kCellMark;
        if (!mark && (hiddenDepth > 0 || isAnchor(c) || c == kFieldSeparator || c == kFieldEnd)) continue;
        text.append(QChar(c));
        cfs.push_back(m_charFormats[size_t(i)]);
        pfs.push_back(m_paraFormats[size_t(i)]);
    }
    // Characters take their paragraph's format, found at the mark that ends it.
    quint16 current = 0;
    for (qsizetype i = text.size(); i-- > 0;) {
        const char16_t c = text[i].unicode();
        if (c == kParagraphMark || c == kCellMark) current = pfs[size_t(i)];
        else pfs[size_t(i)] = current;
    }
    // The story ends with a paragraph mark outside any table.
    const bool endsWithMark = !text.isEmpty() && text.back() == QChar(kParagraphMark) &&
                              !m_doc.paraFormats().at(pfs.back()).inTable;
    if (!endsWithMark) {
        text.append(QChar(kParagraphMark));
        cfs.push_back(cfs.empty() ? 0 : cfs.back());
        pfs.push_back(0);
    }
    Story &story = m_doc.mutableStory();
    story.remove(0, story.length());
    story.insert(0, text, cfs.data(), pfs.data());
}

Status Reader::run(const QByteArray &bytes) {
    if (const Status s = readStreams(bytes); !s) return s;
    const QByteArray &table = m_table->data;
    const QByteArray &word = m_word->data;
    auto inTable = [](const Status &s) {
        return refuse(QStringLiteral("Table stream: %1").arg(s.message), s.offset);
    };
    const FcLcb clx = m_fib.pairs[DocFib::kClx];
    if (const Status s = DocPieceTable::read(table, clx.fc, clx.lcb, word.size(), m_pieces); !s) return inTable(s);
    const FcLcb ffn = m_fib.pairs[DocFib::kSttbfFfn];
    if (const Status s = DocFontTable::read(table, ffn.fc, ffn.lcb, m_fonts); !s) return inTable(s);
    std::vector<DocStyleSheet::Entry> styles;
    const FcLcb stsh = m_fib.pairs[DocFib::kStshf];
    if (const Status s = DocStyleSheet::read(table, stsh.fc, stsh.lcb, styles); !s) return inTable(s);
    const FcLcb chpx = m_fib.pairs[DocFib::kPlcfBteChpx];
    if (const Status s = DocFkpReader::read(FkpKind::Chpx, table, chpx.fc, chpx.lcb, word, m_chpx); !s)
        return inTable(s);
    const FcLcb papx = m_fib.pairs[DocFib::kPlcfBtePapx];
    if (const Status s = DocFkpReader::read(FkpKind::Papx, table, papx.fc, papx.lcb, word, m_papx); !s)
        return inTable(s);
    if (const Status s = decodeText(); !s) return inTable(s);
    readStyles(styles, m_fonts);
    applyRuns();
    buildStory();
    return Status::success();
}

}  // namespace

Status DocReader::read(const QByteArray &bytes, Document &into) {
    if (bytes.size() > kMaxFileSize)
        return Status::failure(QStringLiteral("The Word document is larger than %1 MB.").arg(kMaxFileSize >> 20));
    return Reader(into).run(bytes);
}

Status DocReader::readFile(const QString &path, Document &into) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    if (file.size() > kMaxFileSize)
        return Status::failure(QStringLiteral("The Word document is larger than %1 MB.").arg(kMaxFileSize >> 20));
    return read(file.readAll(), into);
}

}  // namespace office::doc
