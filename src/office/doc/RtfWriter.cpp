#include "office/doc/RtfWriter.h"

#include "office/doc/Cp1252.h"
#include "office/doc/Document.h"

#include <charconv>
#include <cstring>

namespace office::doc {

namespace {

void appendHexByte(RtfBuffer &out, int byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.append("\\'");
    out.append(kHex[(byte >> 4) & 0xF]);
    out.append(kHex[byte & 0xF]);
}

void appendNumber(RtfBuffer &out, const char *word, qint64 n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(word, qsizetype(std::strlen(word)));
    out.append(digits, qsizetype(end - digits));
}

const char *fontFamily(const QString &name) {
    if (name == QLatin1String("Courier New") || name == QLatin1String("Courier")) return "\\fmodern\\fcharset0\\fprq1";
    if (name == QLatin1String("Arial") || name == QLatin1String("Calibri") || name == QLatin1String("Tahoma") ||
        name == QLatin1String("Verdana"))
        return "\\fswiss\\fcharset0\\fprq2";
    if (name == QLatin1String("Times New Roman") || name == QLatin1String("Cambria")) return "\\froman\\fcharset0\\fprq2";
    return "\\fnil\\fcharset0\\fprq2";
}

constexpr int kDefaultLanguage = 1031;

}  // namespace

void appendRtfText(RtfBuffer &out, QStringView text) {
    // Plain printable ASCII is copied straight into the buffer; only the rest is
    // looked at one by one.
    auto isPlain = [](char16_t c) { return c >= 0x20 && c < 0x80 && c != u'\\' && c != u'{' && c != u'}'; };
    // Room is asked for a stretch at a time, so that a very long run does not grow
    // a buffer that streams to a file beyond its chunk.
    constexpr qsizetype kStretch = qsizetype(64) << 10;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const qsizetype want = std::min(size - i, kStretch);
        char *stretch = out.room(want);
        qsizetype n = 0;
        while (n < want && isPlain(text[i + n].unicode())) {
            stretch[n] = char(text[i + n].unicode());
            ++n;
        }
        out.commit(n);
        i += n;
        if (i == size) break;
        if (n == want) continue;  // the stretch is full, the text goes on
        const char16_t c = text[i++].unicode();
        switch (c) {
        case u'\\': out.append("\\\\"); continue;
        case u'{': out.append("\\{"); continue;
        case u'}': out.append("\\}"); continue;
        case kTab: out.append("\\tab "); continue;
        case kLineBreak: out.append("\\line "); continue;
        case kParagraphMark: out.append("\\par "); continue;
        case kPageBreak: out.append("\\page "); continue;
        case kCellMark: out.append("\\cell "); continue;
        case 0x1E: out.append("\\_"); continue;
        case 0x1F: out.append("\\-"); continue;
        case 0xA0: out.append("\\~"); continue;
        default: break;
        }
        if (c < 0x20) {
            appendHexByte(out, c);
        } else if (c < 0x80) {
            out.append(char(c));
        } else if (const int b = cp1252Byte(c); b >= 0) {
            appendHexByte(out, b);
        } else {
            appendNumber(out, "\\u", qint16(c));
            out.append('?');
        }
    }
}

RtfWriter::RtfWriter(const Document &document)
    : RtfWriter(document.styles(), document.charFormats(), document.paraFormats(), document.story()) {}

void RtfWriter::buildTables() {
    auto addFont = [this](const QString &name) {
        if (name.isEmpty() || m_fonts.contains(name)) return;
        m_fonts.insert(name, int(m_fontOrder.size()));
        m_fontOrder.append(name);
    };
    auto addColor = [this](int color) {
        if (color == kColorAutomatic || m_colors.contains(color)) return;
        const int index = int(m_colorOrder.size()) + 1;
        m_colors.insert(color, index);
        m_colorOrder.append(color);
    };
    addFont(QStringLiteral("Times New Roman"));
    for (int i = 1; i < kColorIndexCount; ++i) addColor(colorFromIndex(i));
    const Styles &styles = m_styles;
    for (int i = 0; i < styles.count(); ++i) {
        addFont(styles.at(i)->font().name());
        addColor(styles.at(i)->font().color());
    }
    const auto &formats = m_charFormats;
    for (size_t i = 0; i < formats.size(); ++i) {
        addFont(formats.at(quint32(i)).fontName);
        addColor(formats.at(quint32(i)).color);
    }
}

// {\rtf1 ...}, font table, colour table, style sheet and the document settings.
void RtfWriter::writeHeader(RtfBuffer &out) const {
    out.append("{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0");
    appendNumber(out, "\\deflang", kDefaultLanguage);
    appendNumber(out, "\\deflangfe", kDefaultLanguage);
    out.append("{\\fonttbl");
    for (int i = 0; i < m_fontOrder.size(); ++i) {
        appendNumber(out, "{\\f", i);
        out.append(fontFamily(m_fontOrder[i]));
        out.append(' ');
        appendRtfText(out, m_fontOrder[i]);
        out.append(";}");
    }
    out.append("}\r\n{\\colortbl;");
    for (int color : m_colorOrder) {
        appendNumber(out, "\\red", colorRed(color));
        appendNumber(out, "\\green", colorGreen(color));
        appendNumber(out, "\\blue", colorBlue(color));
        out.append(';');
    }
    out.append("}\r\n");
    writeStyleSheet(out);
    out.append("{\\*\\generator Celltrove;}\r\n");
    out.append(
        "\\paperw11906\\paperh16838\\margl1417\\margr1417\\margt1417\\margb1134\\deftab708\\widowctrl\\ftnbj"
        "\\aenddoc\\formshade\\viewkind1\\viewscale100\\fet0\\sectd\\linex0\\headery708\\footery708\\colsx708"
        "\\endnhere\\sectdefaultcl\r\n");
}

// {\stylesheet}: Normal, then paragraph styles as \sN and character styles as
// {\*\csN \additive ...}, each with its formatting written out.
void RtfWriter::writeStyleSheet(RtfBuffer &out) const {
    const Styles &styles = m_styles;
    out.append("{\\stylesheet");
    for (int i = 0; i < styles.count(); ++i) {
        const Style *s = styles.at(i);
        if (i == Styles::kNormal) {
            out.append("{\\ql \\li0\\ri0\\widctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 \\fs24");
            appendNumber(out, "\\lang", kDefaultLanguage);
            appendNumber(out, "\\langfe", kDefaultLanguage);
            writeStyleProps(i, out);
            out.append(" \\snext0 ");
        } else if (i == Styles::kDefaultParagraphFont) {
            out.append("{\\*\\cs1 \\additive \\ssemihidden ");
        } else if (s->type() == StyleType::Character) {
            appendNumber(out, "{\\*\\cs", i);
            out.append(" \\additive ");
            writeStyleProps(i, out);
            out.append(" \\sbasedon1 ");
        } else if (s->type() == StyleType::Paragraph) {
            appendNumber(out, "{\\s", i);
            out.append("\\ql \\li0\\ri0\\widctlpar\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 ");
            writeStyleProps(i, out);
            appendNumber(out, " \\sbasedon0 \\snext", i);
            out.append(' ');
        } else {
            continue;  // table and list styles are not written
        }
        appendRtfText(out, s->nameLocal());
        out.append(";}\r\n");
    }
    out.append("}\r\n");
}

// The formatting a style carries, written where the style is used and in the style sheet.
bool RtfWriter::writeStyleProps(int styleIndex, RtfBuffer &out) const {
    const Style *s = m_styles.at(styleIndex);
    if (!s) return true;
    const StyleFont &font = s->font();
    bool ok = true;
    if (!font.name().isEmpty()) {
        const auto it = m_fonts.constFind(font.name());
        if (it == m_fonts.constEnd()) ok = false;
        else appendNumber(out, "\\f", *it);
    }
    if (font.halfPoints() > 0) appendNumber(out, "\\fs", font.halfPoints());
    if (font.bold() >= 0) out.append(font.bold() ? "\\b" : "\\b0");
    if (font.italic() >= 0) out.append(font.italic() ? "\\i" : "\\i0");
    if (font.color() != kColorAutomatic) {
        const auto it = m_colors.constFind(font.color());
        if (it == m_colors.constEnd()) ok = false;
        else appendNumber(out, "\\cf", *it);
    }
    if (s->languageId() >= 0) {
        appendNumber(out, "\\lang", s->languageId());
        appendNumber(out, "\\langfe", s->languageId());
        if (s->languageId() == 1024) out.append("\\noproof");
    }
    return ok;
}

// \csN with the style's formatting, then the run's direct formatting.
bool RtfWriter::writeCharProps(const CharFormat &f, RtfBuffer &out) const {
    bool ok = true;
    const Style *style = m_styles.at(f.style);
    if (style && style->type() == StyleType::Character) {
        appendNumber(out, "\\cs", f.style);
        ok &= writeStyleProps(f.style, out);
    }
    if (!f.fontName.isEmpty()) {
        const auto it = m_fonts.constFind(f.fontName);
        if (it == m_fonts.constEnd()) ok = false;
        else appendNumber(out, "\\f", *it);
    }
    if (f.halfPoints > 0) appendNumber(out, "\\fs", f.halfPoints);
    if (f.bold >= 0) out.append(f.bold ? "\\b" : "\\b0");
    if (f.italic >= 0) out.append(f.italic ? "\\i" : "\\i0");
    if (f.underline >= 0) out.append(f.underline ? "\\ul" : "\\ulnone");
    if (f.color != kColorAutomatic) {
        const auto it = m_colors.constFind(f.color);
        if (it == m_colors.constEnd()) ok = false;
        else appendNumber(out, "\\cf", *it);
    }
    if (f.language >= 0) {
        appendNumber(out, "\\lang", f.language);
        appendNumber(out, "\\langfe", f.language);
        if (f.language == 1024) out.append("\\noproof");
    }
    return ok;
}

// A run's properties, worked out once per format number and save.
const QByteArray &RtfWriter::charProps(quint32 format, bool &ok) {
    if (format >= m_charProps.size()) m_charProps.resize(size_t(format) + 1);
    CachedProps &cached = m_charProps[format];
    if (!cached.known) {
        RtfBuffer props;
        cached.complete = writeCharProps(m_charFormats.at(format), props);
        cached.bytes = props.take();
        cached.known = true;
    }
    ok &= cached.complete;
    return cached.bytes;
}

// \pard\plain with the paragraph style and, in a table, \intbl.
void RtfWriter::writeParagraphStart(const ParaFormat &pf, bool inTable, RtfBuffer &out) const {
    out.append("\\pard\\plain");
    const Style *style = m_styles.at(pf.style);
    if (pf.style > 0 && style && style->type() == StyleType::Paragraph) {
        appendNumber(out, "\\s", pf.style);
        writeStyleProps(pf.style, out);
    }
    if (inTable) out.append("\\intbl");
    out.append(' ');
}

// \trowd with the row's cell boundaries. At a table's first row the column widths
// are worked out from the longest line of every column.
bool RtfWriter::writeRowStart(int pos, RtfBuffer &out) {
    const Story &story = m_story;
    const auto &pfs = m_paraFormats;
    auto isRowEnd = [&](int p) { return story.at(p) == kCellMark && pfs.at(story.paraFormatAt(p)).rowEnd; };
    const bool tableStart = pos == 0 || !isRowEnd(pos - 1);
    if (tableStart) m_columnWidths = contentColumnWidths(story, pfs, pos);
    int cells = 0;
    bool autoFit = false;
    for (int p = pos; p < story.length(); ++p) {
        if (isRowEnd(p)) {
            autoFit = pfs.at(story.paraFormatAt(p)).autoFit;
            break;
        }
        if (story.at(p) == kCellMark) ++cells;
    }
    out.append("\\trowd \\trgaph108\\trleft-108");
    if (autoFit) out.append("\\trautofit1");
    int right = -108;
    for (int c = 0; c < cells; ++c) {
        const int width = c < m_columnWidths.size() ? m_columnWidths[c] : 1500;
        right += width;
        out.append("\\clvertalt\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10 "
                   "\\clbrdrr\\brdrs\\brdrw10 \\cltxlrtb\\clftsWidth3");
        appendNumber(out, "\\clwWidth", width);
        appendNumber(out, " \\cellx", right);
    }
    out.append("\r\n");
    return true;
}

namespace {

// The story read character by character through its own bounds-checked store.
struct StoryReader {
    const Story &story;
    char16_t at(int p) const { return story.at(p); }
    quint32 charFormatAt(int p) const { return story.charFormatAt(p); }
    quint32 paraFormatAt(int p) const { return story.paraFormatAt(p); }
    QStringView text(int start, int end, QString &scratch) const { return story.textView(start, end, scratch); }
    // The paragraph or cell mark that ends the paragraph at p (the final mark at the latest).
    int markFrom(int p, int finalMark) const {
        while (p < finalMark && at(p) != kParagraphMark && at(p) != kCellMark) ++p;
        return p;
    }
};

// The same through plain pointers, for a story that lies in one piece from `base`
// on (as it does after typing at its end): the writer reads every character twice.
struct PieceReader {
    Story::Piece piece;
    int base;
    char16_t at(int p) const { return piece.text[p - base]; }
    quint32 charFormatAt(int p) const { return piece.charFormats[p - base]; }
    quint32 paraFormatAt(int p) const { return piece.paraFormats[p - base]; }
    bool hasCellMarks;
    QStringView view(int start, int end) const { return QStringView(piece.text + (start - base), end - start); }
    QStringView text(int start, int end, QString &) const { return view(start, end); }
    int markFrom(int p, int finalMark) const {
        if (hasCellMarks) {
            while (p < finalMark && at(p) != kParagraphMark && at(p) != kCellMark) ++p;
            return p;
        }
        const qsizetype found = view(p, finalMark).indexOf(QChar(kParagraphMark));  // a vectorised search
        return found < 0 ? finalMark : p + int(found);
    }
};

}  // namespace

bool RtfWriter::writeBody(int from, int to, RtfBuffer &out, qint64 *finalMarkOffset) {
    const int base = std::max(from - 1, 0);
    if (const Story::Piece piece = m_story.piece(base, m_story.length()))
        return writeBodyWith(PieceReader{piece, base, m_story.cellMarkCount() > 0}, from, to, out, finalMarkOffset);
    return writeBodyWith(StoryReader{m_story}, from, to, out, finalMarkOffset);
}

template <typename Reader>
bool RtfWriter::writeBodyWith(const Reader &story, int from, int to, RtfBuffer &out, qint64 *finalMarkOffset) {
    const auto &pfs = m_paraFormats;
    const int finalMark = m_story.length() - 1;
    bool ok = true;
    int p = from;
    int mark = -1;  // the mark ending the paragraph being written
    while (p < to) {
        if (p == finalMark && finalMarkOffset) *finalMarkOffset = out.size();
        if (p > mark) mark = story.markFrom(p, finalMark);
        const char16_t before = p > 0 ? story.at(p - 1) : char16_t(kParagraphMark);
        if (p == 0 || before == kParagraphMark || before == kCellMark) {
            const int q = mark;
            const ParaFormat &pf = pfs.at(story.paraFormatAt(q));
            const bool inTable = story.at(q) == kCellMark || pf.inTable;
            if (story.at(q) == kCellMark && pf.rowEnd && q == p) {
                out.append("\\row \r\n");
                ++p;
                continue;
            }
            const bool afterBody = p == 0 || (before == kParagraphMark && !pfs.at(story.paraFormatAt(p - 1)).inTable) ||
                                   (before == kCellMark && pfs.at(story.paraFormatAt(p - 1)).rowEnd);
            if (inTable && afterBody) writeRowStart(p, out);
            writeParagraphStart(pf, inTable, out);
        }
        // One run: characters of one format within one paragraph, the final mark alone.
        const quint32 format = story.charFormatAt(p);
        int limit = std::min(to, mark + 1);
        if (mark == finalMark && p < finalMark) limit = std::min(limit, finalMark);
        if (story.at(mark) == kCellMark && pfs.at(story.paraFormatAt(mark)).rowEnd) limit = std::min(limit, mark);
        int end = p;
        while (end < limit && story.charFormatAt(end) == format) ++end;
        if (end == p) {  // a row end reached inside a run: handled at the top of the loop
            const ParaFormat &pf = pfs.at(story.paraFormatAt(p));
            if (pf.rowEnd) {
                out.append("\\row \r\n");
                ++p;
                continue;
            }
            end = p + 1;
        }
        const QByteArray &props = charProps(format, ok);
        const QStringView text = story.text(p, end, m_runText);
        const char16_t last = text.isEmpty() ? 0 : text.back().unicode();
        const bool endsParagraph = last == kParagraphMark || last == kCellMark;
        if (!props.isEmpty()) {
            out.append('{');
            out.append(props);
            out.append(' ');
            appendRtfText(out, text);
            out.append('}');
        } else {
            appendRtfText(out, text);
        }
        if (endsParagraph) out.append("\r\n");
        p = end;
    }
    return ok;
}

QByteArray RtfWriter::write(RtfSaveMark *mark) {
    RtfBuffer out;
    out.reserve(m_story.length() * 2 + 4096);
    writeWhole(out, mark);
    return out.take();
}

bool RtfWriter::write(QIODevice &device, RtfSaveMark *mark) {
    // Small enough to stay in the processor's cache between filling and writing.
    constexpr qsizetype kChunk = qsizetype(256) << 10;
    RtfBuffer out(&device, kChunk);
    writeWhole(out, mark);
    return out.flush();
}

void RtfWriter::writeWhole(RtfBuffer &out, RtfSaveMark *mark) {
    buildTables();
    writeHeader(out);
    qint64 finalOffset = 0;
    writeBody(0, m_story.length(), out, &finalOffset);
    out.append("}\r\n");
    if (mark) {
        mark->bodyEnd = finalOffset;
        mark->fontNumbers = m_fonts;
        mark->colorNumbers = m_colors;
    }
}

bool RtfWriter::writeAppend(const RtfSaveMark &mark, QByteArray &bytes, qint64 *finalMarkOffset) {
    m_fonts = mark.fontNumbers;
    m_colors = mark.colorNumbers;
    *finalMarkOffset = 0;
    RtfBuffer out;
    if (!writeBody(mark.writtenEnd, m_story.length(), out, finalMarkOffset)) return false;
    out.append("}\r\n");
    bytes = out.take();
    return true;
}

}  // namespace office::doc
