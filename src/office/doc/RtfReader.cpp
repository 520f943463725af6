#include "office/doc/RtfReader.h"

#include "office/doc/Document.h"
#include "office/doc/RtfCodePages.h"
#include "office/doc/RtfKeywords.h"
#include "office/doc/RtfTextReader.h"
#include "office/doc/RtfTokenizer.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace office::doc {

namespace {

enum class Dest {
    Text,        // body text
    Skip,        // ignored with everything inside it
    FontTable,
    ColorTable,
    StyleSheet,
    StyleEntry,  // one style inside the style sheet
    Object,      // an object: only its \result is text
    UprChoice,   // inside \upr: only the \ud alternative is read
};

struct CharState {
    int font = -1;  // RTF font number
    int fontSize = 24;
    qint8 bold = 0, italic = 0, underline = 0;
    int color = 0;  // colour table index
    int language = -1;
    bool noProof = false;
    int charStyle = -1;  // RTF \cs number
    bool operator==(const CharState &) const = default;
};

struct GroupState {
    Dest dest = Dest::Text;
    CharState chars;
    int paraStyle = 0;  // RTF \s number
    bool inTable = false;
    int unicodeSkip = 1;  // \uc
    int codePageOverride = 0;
};

struct FontEntry {
    QString name;
    int codePage = 0;
};

struct StyleEntry {
    enum Kind { Paragraph, Character, Other } kind = Paragraph;
    int number = 0;
    QByteArray nameBytes;
};

// The format ids of the last few keys (character states, paragraph marks) worked
// out: text switches between a handful (a tagged document between its markers'
// style and plain text), and working a format out looks up styles, fonts and the
// document's format tables.
template <typename Key>
class RecentFormats {
public:
    /// The id kept for key, or null.
    const quint32 *find(const Key &key) const {
        for (int k = 0; k < m_known; ++k)
            if (m_seen[std::size_t(k)].key == key) return &m_seen[std::size_t(k)].id;
        return nullptr;
    }
    /// Keeps the id, in place of the oldest when all places are taken.
    void keep(const Key &key, quint32 id) {
        m_seen[std::size_t(m_next)] = Seen{key, id};
        m_next = (m_next + 1) % kPlaces;
        m_known = std::min(m_known + 1, kPlaces);
    }
    void forget() { m_known = 0; }

private:
    static constexpr int kPlaces = 4;
    struct Seen {
        Key key;
        quint32 id = 0;
    };
    std::array<Seen, kPlaces> m_seen{};
    int m_known = 0;  // places filled
    int m_next = 0;   // place taken next
};

// What a paragraph mark's format follows from.
struct ParaKey {
    int style = 0;  // RTF \s number
    bool inTable = false, rowEnd = false, autoFit = false;
    bool operator==(const ParaKey &) const = default;
};

// Control characters other than tab (and 0x1E, 0x1F) are no text.
bool isTextCharacter(char16_t u) { return u >= 0x20 || u == u'\t' || u == 0x1E || u == 0x1F; }

// Text bytes held before they are decoded into the story.
constexpr qsizetype kPendingFlushBytes = qsizetype(1) << 20;

class Reader {
public:
    // With `textOut`, the reader only hands over the story's text: it appends it
    // there instead of building the story, and stops at the first table content.
    Reader(const QByteArray &data, Document &doc, QString *textOut = nullptr)
        : m_data(data), m_tokens(data), m_doc(doc), m_textOut(textOut) {
        // Every character takes at least one byte of the file: room for all of them
        // from the start saves copying large stories as they grow. Room never used
        // is never touched, so it costs no memory.
        if (!m_textOut) m_story.reserve(int(data.size()) + 1);
    }
    Status run();
    Status begin();
    /// Reads on until the text handed over holds `wanted` characters; false once
    /// the document has ended (finish() has then run) or a table was met.
    bool pump(qsizetype wanted);
    bool readWholeNeeded() const { return m_readWholeNeeded; }
    void redirectText(QString *textOut) { m_textOut = textOut; }
    RtfTokenizer &tokens() { return m_tokens; }
    /// Called before each token when less than kRefillMargin bytes are left.
    void setRefill(std::function<void()> refill) {
        m_refill = std::move(refill);
        m_refillFrom = m_refill ? m_data.size() - kRefillMargin : std::numeric_limits<qint64>::max();
    }
    static constexpr qint64 kRefillMargin = qint64(256) << 10;

private:
    // Text mode: reading stops here, the document is for the whole reader.
    void stopReading() {
        m_readWholeNeeded = true;
        m_paused = true;
    }
    void checkHandedOver() { m_paused = m_readWholeNeeded || (m_wanted >= 0 && m_textOut->size() >= m_wanted); }
    void refillIfDue() {
        if (m_tokens.offset() < m_refillFrom) return;
        const qint64 before = m_data.size();
        m_refill();
        // The window grew by what the file had left: nothing more to come when it did not.
        m_refillFrom = m_data.size() > before || m_tokens.remaining() >= kRefillMargin
                           ? m_data.size() - kRefillMargin
                           : std::numeric_limits<qint64>::max();
    }

    void handleWord(const RtfToken &t);
    void handleSymbol(char symbol);
    void handleText(QByteArrayView bytes);
    void handleHexByte(int byte);
    void groupStart();
    void groupEnd();

    bool knownIgnorable(RtfWord k) const;
    void enterDestination(RtfWord k);
    bool charProperty(RtfWord k, bool has, int value, CharState &c);

    int currentCodePage();
    void flushBytes();
    void appendDecoded(QByteArrayView bytes, const char16_t *table, bool asciiAsIs);
    void flushWholeCharacters(qsizetype from);
    void appendChar(char16_t c);
    void appendMark(char16_t c, bool rowEnd);
    void beginTableContent();
    void closeRow();
    void endParagraph();
    quint32 charFormatId();
    void commitStyleEntry();
    void commitFont();
    void finish();

    GroupState &state() { return m_stack.back(); }
    /// The formats worked out so far no longer hold: a style, font, colour or default changed.
    void forgetFormats() {
        m_charFormats.forget();
        m_paraFormats.forget();
    }

    void appendText(QStringView text);

    const QByteArray &m_data;
    RtfTokenizer m_tokens;
    Document &m_doc;
    QString *m_textOut = nullptr;  // text mode: the story's text goes here
    bool m_readWholeNeeded = false;  // text mode: a table began or the window cut a token, reading stopped
    std::function<void()> m_refill;
    qint64 m_refillFrom = std::numeric_limits<qint64>::max();  // token offset from which m_refill is due
    qsizetype m_wanted = -1;  // text mode: pump() stops once the text handed over holds this many characters
    bool m_paused = false;    // text mode: enough text handed over, or reading stopped
    bool m_started = false;
    bool m_ended = false;
    char16_t m_lastOut = 0;        // text mode: the last character handed over
    CodePageDecoder m_decoder;
    std::vector<GroupState> m_stack;
    int m_skipDepth = 0;          // > 0 while inside skipped groups
    int m_unicodeToSkip = 0;      // fallback characters after \uN still to drop
    bool m_ignorableNext = false; // after \*
    bool m_checkUdNext = false;   // the group just opened under \upr
    bool m_groupFresh = false;    // no token read yet in the group just opened
    bool m_firstInGroup = false;  // the token being handled is the first of its group
    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    int m_defaultLanguage = -1;

    QByteArray m_pendingBytes;
    QString m_decoded;  // the pending bytes decoded; its room is reused run after run
    int m_pendingCodePage = 1252;

    QHash<int, FontEntry> m_fonts;
    std::vector<int> m_fontCodePages = std::vector<int>(64, -1);  // by font number: own code page, 0 none, -1 not looked up
    size_t m_fontTableDepth = 0;  // stack size of the font table's group
    int m_fontNumber = -1;
    int m_fontCodePage = 0;
    QByteArray m_fontName;
    std::vector<int> m_colors;  // colour table: index -> colour
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;
    StyleEntry m_styleEntry;
    QHash<int, int> m_paraStyles;  // \s number -> style index
    QHash<int, int> m_charStyles;  // \cs number -> style index
    QHash<int, CharState> m_styleChars;  // style index -> formatting

    // Read straight into a story that takes the document's place at the end:
    // the characters are stored once, not copied from buffers of the reader's own.
    Story m_story;
    int m_paragraphStart = 0;   // position where the current paragraph began
    bool m_inRow = false;
    int m_cellsInRow = 0;
    int m_lastCellEnd = 0;
    bool m_rowAutoFit = false;
    // Formats worked out lately; forgotten when a style, font, colour or default is read.
    RecentFormats<CharState> m_charFormats;
    RecentFormats<ParaKey> m_paraFormats;
};

Status Reader::run() {
    const Status status = begin();
    if (!status) return status;
    pump(-1);
    return Status::success();
}

Status Reader::begin() {
    // The first token must open the document: "{\rtf".
    qint64 start = 0;
    while (start < m_data.size() && (m_data[start] == ' ' || m_data[start] == '\r' || m_data[start] == '\n' ||
                                      m_data[start] == '\t'))
        ++start;
    if (!m_data.mid(start, 5).startsWith("{\\rtf"))
        return Status::failure(QStringLiteral("Not an RTF file: it does not start with {\\rtf."), start);
    m_stack.push_back(GroupState{});
    m_stack.back().dest = Dest::Skip;  // outside the document's group nothing counts
    m_skipDepth = 0;
    return Status::success();
}

bool Reader::pump(qsizetype wanted) {
    if (m_ended) return false;
    // The checks made before every token are kept to one flag each: the text
    // handed over and the refill are looked at where they change.
    m_wanted = wanted;
    if (m_textOut) checkHandedOver();
    for (;;) {
        if (m_paused) return !m_readWholeNeeded;
        refillIfDue();
        const RtfToken t = m_tokens.next();
        if (m_tokens.cutShort()) {
            if (m_textOut) stopReading();
            else m_readWholeNeeded = true;
            continue;
        }
        if (t.type == RtfToken::End) break;
        if (t.type == RtfToken::GroupStart) {
            if (!m_started) {
                m_started = true;
                m_stack.push_back(GroupState{});
                continue;
            }
            groupStart();
            continue;
        }
        if (t.type == RtfToken::GroupEnd) {
            groupEnd();
            if (m_stack.size() <= 1) break;  // the document's group is closed
            continue;
        }
        if (m_skipDepth > 0) continue;
        m_firstInGroup = m_groupFresh;
        m_groupFresh = false;
        const bool checkUd = m_checkUdNext;
        m_checkUdNext = false;
        if (m_unicodeToSkip > 0) {
            if (t.type == RtfToken::Text) {
                const qsizetype n = std::min<qsizetype>(m_unicodeToSkip, t.word.size());
                m_unicodeToSkip -= int(n);
                if (n < t.word.size()) handleText(t.word.sliced(n));
                continue;
            }
            if (t.type == RtfToken::HexByte || t.type == RtfToken::ControlSymbol || t.type == RtfToken::Binary ||
                (t.type == RtfToken::ControlWord && t.word != "par")) {
                --m_unicodeToSkip;
                continue;
            }
        }
        switch (t.type) {
        case RtfToken::ControlWord:
            if (checkUd && t.word != "ud") {
                state().dest = Dest::Skip;
                m_skipDepth = 1;
                break;
            }
            handleWord(t);
            break;
        case RtfToken::ControlSymbol:
            if (checkUd && t.symbol == '*') {
                m_checkUdNext = true;  // \*\ud
                m_ignorableNext = true;
                break;
            }
            if (checkUd) {
                m_skipDepth = 1;
                break;
            }
            handleSymbol(t.symbol);
            break;
        case RtfToken::Text:
            if (checkUd) {
                m_skipDepth = 1;
                break;
            }
            handleText(t.word);
            break;
        case RtfToken::HexByte:
            handleHexByte(t.byte);
            break;
        default:
            break;
        }
    }
    finish();
    m_ended = true;
    return false;
}

void Reader::groupStart() {
    if (m_skipDepth > 0) {
        ++m_skipDepth;
        return;
    }
    flushBytes();
    m_unicodeToSkip = 0;
    if (m_stack.size() >= size_t(RtfReader::kMaxDepth)) {
        GroupState skipped = state();
        skipped.dest = Dest::Skip;
        m_stack.push_back(skipped);
        m_skipDepth = 1;
        return;
    }
    GroupState child = state();
    if (child.dest == Dest::FontTable && m_stack.size() == m_fontTableDepth) {  // a new font entry
        m_fontNumber = -1;
        m_fontCodePage = 0;
        m_fontName.clear();
    } else if (child.dest == Dest::StyleSheet) {
        child.dest = Dest::StyleEntry;
        child.chars = CharState{};
        m_styleEntry = StyleEntry{};
    } else if (child.dest == Dest::UprChoice) {
        m_checkUdNext = true;
    }
    m_stack.push_back(child);
    m_ignorableNext = false;
    m_groupFresh = true;
}

void Reader::groupEnd() {
    if (m_skipDepth > 0) {
        if (--m_skipDepth > 0) return;
        // The group that started the skipping closes now.
    } else {
        flushBytes();
    }
    m_unicodeToSkip = 0;
    m_ignorableNext = false;
    m_checkUdNext = false;
    if (m_stack.size() <= 1) return;
    const Dest closing = m_stack.back().dest;
    const Dest parent = m_stack[m_stack.size() - 2].dest;
    if (closing == Dest::StyleEntry && parent == Dest::StyleSheet) commitStyleEntry();
    if (closing == Dest::FontTable && m_stack.size() <= m_fontTableDepth + 1) commitFont();
    m_stack.pop_back();
}

bool Reader::knownIgnorable(RtfWord k) const {
    return (k == RtfWord::cs && m_stack.back().dest == Dest::StyleEntry) || k == RtfWord::ud ||
           k == RtfWord::fldinst || k == RtfWord::shppict;
}

void Reader::enterDestination(RtfWord k) {
    if (k == RtfWord::fonttbl) {
        state().dest = Dest::FontTable;
        m_fontTableDepth = m_stack.size();
        m_fontNumber = -1;
        m_fontName.clear();
    } else if (k == RtfWord::colortbl) {
        state().dest = Dest::ColorTable;
        m_colors.clear();
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
    } else if (k == RtfWord::stylesheet) {
        state().dest = Dest::StyleSheet;
    } else if (k == RtfWord::object) {
        state().dest = Dest::Object;
    } else if (k == RtfWord::upr) {
        state().dest = Dest::UprChoice;
    } else {
        state().dest = Dest::Skip;
        m_skipDepth = 1;
    }
}

bool Reader::charProperty(RtfWord k, bool has, int v, CharState &c) {
    switch (k) {
    case RtfWord::plain:
        c = CharState{};
        c.font = m_defaultFont;
        c.charStyle = -1;
        return true;
    case RtfWord::f: c.font = v; return true;
    case RtfWord::fs: c.fontSize = has ? std::clamp(v, 1, 3276) : 24; return true;
    case RtfWord::b: c.bold = !has || v != 0; return true;
    case RtfWord::i: c.italic = !has || v != 0; return true;
    case RtfWord::ul: c.underline = !has || v != 0; return true;
    case RtfWord::ulnone: c.underline = 0; return true;
    case RtfWord::cf: c.color = v; return true;
    case RtfWord::lang: c.language = v; return true;
    case RtfWord::noproof: c.noProof = !has || v != 0; return true;
    case RtfWord::cs: c.charStyle = v; return true;
    default: return false;
    }
}

void Reader::handleWord(const RtfToken &t) {
    const RtfKeyword keyword = rtfKeyword(t.word, t.head);
    const RtfWord k = keyword.word;
    const bool has = t.hasParameter;
    const int v = t.parameter;
    if (m_ignorableNext) {
        m_ignorableNext = false;
        if (!knownIgnorable(k)) {
            state().dest = Dest::Skip;
            m_skipDepth = 1;
            return;
        }
        if (k == RtfWord::ud) {
            state().dest = Dest::Text;
            return;
        }
        if (k == RtfWord::fldinst || k == RtfWord::shppict) {
            m_skipDepth = 1;
            return;
        }
    }
    if (k == RtfWord::ud) {
        state().dest = Dest::Text;
        return;
    }
    GroupState &g = state();
    // A destination word counts only where a destination can start: first in its group.
    if (m_firstInGroup &&
        ((k == RtfWord::fonttbl || k == RtfWord::colortbl || k == RtfWord::stylesheet || k == RtfWord::object || k == RtfWord::upr) || keyword.skippedDestination)) {
        flushBytes();
        enterDestination(k);
        return;
    }
    switch (g.dest) {
    case Dest::FontTable:
        if (k == RtfWord::f) {
            commitFont();
            m_fontNumber = v;
            m_fontCodePage = 0;
            m_fontName.clear();
        } else if (k == RtfWord::fcharset) {
            m_fontCodePage = codePageForCharset(v);
        } else if (k == RtfWord::cpg && v > 0) {
            m_fontCodePage = v;
        }
        return;
    case Dest::ColorTable:
        if (k == RtfWord::red) m_red = v, m_colorSet = true;
        else if (k == RtfWord::green) m_green = v, m_colorSet = true;
        else if (k == RtfWord::blue) m_blue = v, m_colorSet = true;
        return;
    case Dest::StyleEntry:
        if (k == RtfWord::s) {
            m_styleEntry.kind = StyleEntry::Paragraph;
            m_styleEntry.number = v;
        } else if (k == RtfWord::cs) {
            m_styleEntry.kind = StyleEntry::Character;
            m_styleEntry.number = v;
        } else if (k == RtfWord::ts || k == RtfWord::ds) {
            m_styleEntry.kind = StyleEntry::Other;
        } else {
            charProperty(k, has, v, g.chars);
        }
        return;
    case Dest::Object:
        if (k == RtfWord::result) g.dest = Dest::Text;
        return;
    case Dest::Skip:
    case Dest::StyleSheet:
    case Dest::UprChoice:
        return;
    case Dest::Text:
        break;
    }

    // Body text: one jump on the word, which every control word of the body takes.
    switch (k) {
    case RtfWord::u:
        if (!has) return;
        flushBytes();
        appendChar(char16_t(v < 0 ? v + 65536 : v));
        m_unicodeToSkip = g.unicodeSkip;
        return;
    case RtfWord::uc: g.unicodeSkip = std::clamp(v, 0, 16); return;
    case RtfWord::plain: case RtfWord::f: case RtfWord::fs: case RtfWord::b: case RtfWord::i: case RtfWord::ul:
    case RtfWord::ulnone: case RtfWord::cf: case RtfWord::lang: case RtfWord::noproof: case RtfWord::cs:
        charProperty(k, has, v, g.chars);
        flushBytes();
        return;
    case RtfWord::par: case RtfWord::sect: return endParagraph();
    case RtfWord::line: return appendChar(kLineBreak);
    case RtfWord::tab: return appendChar(kTab);
    case RtfWord::cell:
        flushBytes();
        beginTableContent();
        appendMark(kCellMark, false);
        ++m_cellsInRow;
        m_lastCellEnd = m_story.length();
        return;
    case RtfWord::row:
        flushBytes();
        if (m_inRow) closeRow();
        return;
    case RtfWord::nestcell: return appendChar(kTab);
    case RtfWord::nestrow: return appendChar(kLineBreak);
    case RtfWord::pard:
        g.paraStyle = 0;
        g.inTable = false;
        return;
    case RtfWord::s: g.paraStyle = v; return;
    case RtfWord::intbl: g.inTable = !has || v != 0; return;
    case RtfWord::trowd: m_rowAutoFit = false; return;
    case RtfWord::trautofit: m_rowAutoFit = !has || v != 0; return;
    case RtfWord::ansicpg:
        if (v > 0) m_ansiCodePage = v;
        return;
    case RtfWord::mac: m_ansiCodePage = 10000; return;
    case RtfWord::pc: m_ansiCodePage = 437; return;
    case RtfWord::pca: m_ansiCodePage = 850; return;
    case RtfWord::deff:
        m_defaultFont = v;
        forgetFormats();
        g.chars.font = v;
        return;
    case RtfWord::deflang:
        m_defaultLanguage = v;
        forgetFormats();
        return;
    case RtfWord::emdash: return appendChar(0x2014);
    case RtfWord::endash: return appendChar(0x2013);
    case RtfWord::emspace: return appendChar(0x2003);
    case RtfWord::enspace: return appendChar(0x2002);
    case RtfWord::qmspace: return appendChar(0x2005);
    case RtfWord::bullet: return appendChar(0x2022);
    case RtfWord::lquote: return appendChar(0x2018);
    case RtfWord::rquote: return appendChar(0x2019);
    case RtfWord::ldblquote: return appendChar(0x201C);
    case RtfWord::rdblquote: return appendChar(0x201D);
    case RtfWord::zwj: return appendChar(0x200D);
    case RtfWord::zwnj: return appendChar(0x200C);
    case RtfWord::ltrmark: return appendChar(0x200E);
    case RtfWord::rtlmark: return appendChar(0x200F);
    default: return;
    }
}

void Reader::handleSymbol(char s) {
    GroupState &g = state();
    if (s == '*') {
        m_ignorableNext = true;
        return;
    }
    if (s == '\\' || s == '{' || s == '}') {
        handleText(QByteArrayView(&s, 1));
        return;
    }
    if (g.dest != Dest::Text) return;
    switch (s) {
    case '~': appendChar(0xA0); break;
    case '-': appendChar(0x1F); break;
    case '_': appendChar(0x1E); break;
    case '\n': endParagraph(); break;
    case '\t': appendChar(kTab); break;
    default: break;
    }
}

void Reader::handleText(QByteArrayView bytes) {
    GroupState &g = state();
    switch (g.dest) {
    case Dest::Text:
        if (m_textOut && m_pendingBytes.isEmpty() && !g.inTable) {
            // Text mode: a single-byte code page decodes byte by byte, so the run
            // goes straight to the text handed over instead of waiting as bytes.
            bool asciiAsIs = false;
            if (const char16_t *table = m_decoder.byteTable(currentCodePage(), &asciiAsIs))
                return appendDecoded(bytes, table, asciiAsIs);
        }
        if (m_pendingBytes.isEmpty()) m_pendingCodePage = currentCodePage();
        else if (m_pendingCodePage != currentCodePage()) {
            flushBytes();
            m_pendingCodePage = currentCodePage();
        }
        // A long run of text (a paragraph of hundreds of megabytes has no control
        // word in it) goes to the story in parts, so that its bytes and their
        // decoded copy are never held beside the story whole.
        while (!bytes.isEmpty()) {
            const qsizetype take = std::min(bytes.size(), kPendingFlushBytes);
            const qsizetype from = m_pendingBytes.size();
            m_pendingBytes.append(bytes.first(take));
            bytes = bytes.sliced(take);
            if (m_pendingBytes.size() >= kPendingFlushBytes) flushWholeCharacters(from);
        }
        return;
    case Dest::FontTable:
        for (char c : bytes) {
            if (c == ';') {
                commitFont();
            } else if (m_fontName.size() < 256) {
                m_fontName.append(c);
            }
        }
        return;
    case Dest::ColorTable:
        for (char c : bytes) {
            if (c != ';') continue;
            if (m_colors.size() < 65536) {
                m_colors.push_back(m_colorSet ? colorFromRgb(m_red, m_green, m_blue) : kColorAutomatic);
                forgetFormats();
            }
            m_red = m_green = m_blue = 0;
            m_colorSet = false;
        }
        return;
    case Dest::StyleEntry:
        if (m_styleEntry.nameBytes.size() < 512) m_styleEntry.nameBytes.append(bytes.data(), bytes.size());
        return;
    default:
        return;
    }
}

void Reader::handleHexByte(int byte) {
    const char c = char(byte);
    if (state().dest == Dest::FontTable || state().dest == Dest::StyleEntry || state().dest == Dest::Text)
        handleText(QByteArrayView(&c, 1));
}

int Reader::currentCodePage() {
    // Asked for at every run of text, and text switches between a few fonts: the
    // code pages of the low font numbers are kept once looked up.
    const int font = m_stack.back().chars.font;
    const bool cached = font >= 0 && font < int(m_fontCodePages.size());
    int codePage = cached ? m_fontCodePages[std::size_t(font)] : -1;
    if (codePage < 0) {
        const auto it = m_fonts.constFind(font);
        codePage = it != m_fonts.constEnd() ? it->codePage : 0;
        if (cached) m_fontCodePages[std::size_t(font)] = codePage;
    }
    return codePage > 0 ? codePage : m_ansiCodePage;
}

// Decodes the pending bytes up to the last byte below 0x40 at or after `from` (the
// bytes before were looked at already), keeping the rest: no double-byte code page
// uses such a byte as a trail byte, so no character is cut in two.
void Reader::flushWholeCharacters(qsizetype from) {
    qsizetype end = m_pendingBytes.size();
    while (end > from && static_cast<unsigned char>(m_pendingBytes[end - 1]) >= 0x40) --end;
    if (end == from) return;
    const QByteArray rest = m_pendingBytes.mid(end);
    m_pendingBytes.truncate(end);
    flushBytes();
    m_pendingBytes = rest;
}

void Reader::flushBytes() {
    if (m_pendingBytes.isEmpty()) return;
    QString &text = m_decoded;
    m_decoder.decodeInto(m_pendingCodePage, m_pendingBytes, text);
    m_pendingBytes.truncate(0);  // keeps its room for the next run
    char16_t *chars = reinterpret_cast<char16_t *>(text.data());
    qsizetype kept = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = chars[i];
        if (isTextCharacter(u)) chars[kept++] = u;
    }
    if (kept == 0) return;
    text.truncate(kept);
    if (m_textOut) return appendText(text);
    // The whole run shares the group's state: what appendChar does per character
    // is done once for it.
    if (state().inTable) beginTableContent();
    else if (m_inRow) closeRow();
    const quint32 format = charFormatId();
    m_story.insert(m_story.length(), text, format, 0);
}

// Text mode, single-byte code page: the bytes are decoded straight onto the end of
// the text handed over, without a string of their own in between.
void Reader::appendDecoded(QByteArrayView bytes, const char16_t *table, bool asciiAsIs) {
    QString &out = *m_textOut;
    const qsizetype at = out.size();
    const qsizetype n = bytes.size();
    out.resize(at + n);
    char16_t *to = reinterpret_cast<char16_t *>(out.data()) + at;
    const auto *from = reinterpret_cast<const uchar *>(bytes.data());
    qsizetype i = 0, kept = 0;
#ifdef __SSE2__
    // Printable ASCII, most of the text, is widened sixteen bytes at a time
    // where the code page leaves it as it is.
    if (asciiAsIs) {
        const __m128i zero = _mm_setzero_si128(), belowSpace = _mm_set1_epi8(0x1F);
        for (; i + 16 <= n; i += 16, kept += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + i));
            if (_mm_movemask_epi8(_mm_cmpgt_epi8(v, belowSpace)) != 0xFFFF) break;  // a control or non-ASCII byte
            _mm_storeu_si128(reinterpret_cast<__m128i *>(to + kept), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(to + kept + 8), _mm_unpackhi_epi8(v, zero));
        }
    }
#else
    Q_UNUSED(asciiAsIs);
#endif
    for (; i < n; ++i) {
        const char16_t u = table[from[i]];
        to[kept] = u;
        kept += isTextCharacter(u);
    }
    out.truncate(at + kept);
    if (kept == 0) return;
    m_lastOut = to[kept - 1];
    if (m_wanted >= 0 && out.size() >= m_wanted) m_paused = true;
}

quint32 Reader::charFormatId() {
    const CharState &c = state().chars;
    if (const quint32 *known = m_charFormats.find(c)) return *known;
    CharFormat f;
    const int styleIndex = m_charStyles.value(c.charStyle, -1);
    const CharState *styleChars = nullptr;
    if (styleIndex >= 0) {
        f.style = styleIndex == Styles::kDefaultParagraphFont ? -1 : styleIndex;
        auto it = m_styleChars.constFind(styleIndex);
        if (it != m_styleChars.constEnd()) styleChars = &*it;
    }
    // Direct formatting the style already gives is not kept as direct formatting.
    auto differs = [&](auto field, auto plain) {
        return styleChars ? c.*field != (*styleChars).*field : c.*field != plain;
    };
    if (c.font != m_defaultFont && differs(&CharState::font, m_defaultFont))
        f.fontName = m_fonts.value(c.font).name;
    if (differs(&CharState::fontSize, 24)) f.halfPoints = c.fontSize;
    if (differs(&CharState::bold, qint8(0))) f.bold = c.bold;
    if (differs(&CharState::italic, qint8(0))) f.italic = c.italic;
    if (differs(&CharState::underline, qint8(0))) f.underline = c.underline;
    if (differs(&CharState::color, 0) && c.color > 0 && c.color < int(m_colors.size()))
        f.color = m_colors[size_t(c.color)];
    const int language = c.noProof ? 1024 : c.language;
    const int styleLanguage = styleChars ? (styleChars->noProof ? 1024 : styleChars->language) : m_defaultLanguage;
    if (language >= 0 && language != styleLanguage && language != m_defaultLanguage) f.language = language;
    const quint32 id = m_doc.charFormats().id(f);
    m_charFormats.keep(c, id);
    return id;
}

void Reader::beginTableContent() {
    if (m_textOut) {
        stopReading();
        return;
    }
    if (m_inRow) return;
    // A row starts at a paragraph start: end a paragraph that has text of its own.
    if (m_story.length() > m_paragraphStart) {
        const bool saved = state().inTable;
        state().inTable = false;
        endParagraph();
        state().inTable = saved;
    }
    m_inRow = true;
    m_cellsInRow = 0;
    m_lastCellEnd = m_story.length();
}

void Reader::appendMark(char16_t c, bool rowEnd) {
    if (m_textOut) return appendText(QStringView(&c, 1));
    const ParaKey key{state().paraStyle, c == kCellMark || (m_inRow && state().inTable), rowEnd, rowEnd && m_rowAutoFit};
    quint32 paraFormat = 0;
    if (const quint32 *known = m_paraFormats.find(key)) {
        paraFormat = *known;
    } else {
        ParaFormat pf;
        pf.style = std::max(m_paraStyles.value(key.style, 0), 0);
        pf.inTable = key.inTable;
        pf.rowEnd = key.rowEnd;
        pf.autoFit = key.autoFit;
        paraFormat = m_doc.paraFormats().id(pf);
        m_paraFormats.keep(key, paraFormat);
    }
    const quint32 charFormat = charFormatId();
    m_story.insert(m_story.length(), QStringView(&c, 1), charFormat, paraFormat);
    m_paragraphStart = m_story.length();
}

void Reader::closeRow() {
    if (m_cellsInRow == 0 || m_story.length() > m_lastCellEnd) {
        appendMark(kCellMark, false);
        ++m_cellsInRow;
    }
    appendMark(kCellMark, true);
    m_inRow = false;
    m_cellsInRow = 0;
}

void Reader::endParagraph() {
    flushBytes();
    if (state().inTable) beginTableContent();
    else if (m_inRow) closeRow();
    appendMark(kParagraphMark, false);
}

void Reader::appendChar(char16_t c) {
    flushBytes();  // text read before this character comes first
    if (m_textOut) return appendText(QStringView(&c, 1));
    if (state().inTable) beginTableContent();
    else if (m_inRow) closeRow();
    m_story.insert(m_story.length(), QStringView(&c, 1), charFormatId(), 0);
}

void Reader::appendText(QStringView text) {
    if (state().inTable) {
        beginTableContent();
        return;
    }
    m_textOut->append(text);
    m_lastOut = text.back().unicode();
    if (m_wanted >= 0 && m_textOut->size() >= m_wanted) m_paused = true;
}

void Reader::commitFont() {
    if (m_fontNumber >= 0 && !m_fontName.isEmpty() && m_fonts.size() < 32768) {
        const int codePage = m_fontCodePage > 0 ? m_fontCodePage : m_ansiCodePage;
        m_fonts.insert(m_fontNumber, FontEntry{m_decoder.decode(codePage, m_fontName).trimmed(), m_fontCodePage});
        forgetFormats();
        std::fill(m_fontCodePages.begin(), m_fontCodePages.end(), -1);
    }
    m_fontName.clear();
}

void Reader::commitStyleEntry() {
    const StyleEntry entry = m_styleEntry;
    m_styleEntry = StyleEntry{};
    QString name = m_decoder.decode(m_ansiCodePage, entry.nameBytes).trimmed();
    if (name.endsWith(QChar(u';'))) name.chop(1);
    name = name.trimmed();
    if (name.isEmpty() || entry.kind == StyleEntry::Other) return;
    Styles &styles = m_doc.styles();
    if (styles.count() >= 4096) return;
    int index;
    if (entry.kind == StyleEntry::Paragraph && entry.number == 0) {
        index = Styles::kNormal;
    } else {
        styles.add(name, entry.kind == StyleEntry::Character ? StyleType::Character : StyleType::Paragraph);
        index = styles.indexOf(name);
    }
    Style *style = styles.at(index);
    const CharState &c = state().chars;
    if (index != Styles::kNormal && index != Styles::kDefaultParagraphFont) {
        if (c.font >= 0 && c.font != m_defaultFont) style->font().setName(m_fonts.value(c.font).name);
        if (c.fontSize != 24) style->font().setHalfPoints(c.fontSize);
        if (c.bold) style->font().setBold(1);
        if (c.italic) style->font().setItalic(1);
        if (c.color > 0 && c.color < int(m_colors.size())) style->font().setColor(m_colors[size_t(c.color)]);
        if (c.noProof) style->setLanguageId(1024);
        else if (c.language >= 0 && c.language != m_defaultLanguage) style->setLanguageId(c.language);
    }
    m_styleChars.insert(index, c);
    if (entry.kind == StyleEntry::Character) m_charStyles.insert(entry.number, index);
    else m_paraStyles.insert(entry.number, index);
    forgetFormats();
}

void Reader::finish() {
    flushBytes();
    if (m_textOut) {
        // As in the story: the text ends with a paragraph mark.
        if (!m_readWholeNeeded && m_lastOut != kParagraphMark) m_textOut->append(QChar(kParagraphMark));
        return;
    }
    while (m_stack.size() > 2) m_stack.pop_back();
    if (m_stack.size() < 2) m_stack.push_back(GroupState{});
    state().inTable = false;
    if (m_inRow) closeRow();
    // The last paragraph mark read is the document's final mark; without one, add it.
    const int last = m_story.length() - 1;
    const bool endsWithMark = last >= 0 && m_story.at(last) == kParagraphMark &&
                              !m_doc.paraFormats().at(m_story.paraFormatAt(last)).inTable;
    if (!endsWithMark) {
        state().paraStyle = 0;
        appendMark(kParagraphMark, false);
    }
    m_story.shrinkToFit();
    m_doc.mutableStory().replaceWith(std::move(m_story));
}

QString outOfMemory() { return QStringLiteral("There is not enough memory to read the RTF file."); }

}  // namespace

Status RtfReader::read(const QByteArray &bytes, Document &into) {
    if (bytes.size() > kMaxFileSize)
        return Status::failure(QStringLiteral("The RTF file is larger than %1 MB.").arg(kMaxFileSize >> 20));
    return refuseWhenOutOfMemory([&] { return Reader(bytes, into).run(); }, outOfMemory());
}

Status RtfReader::readFile(const QString &path, Document &into) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    if (file.size() > kMaxFileSize)
        return Status::failure(QStringLiteral("The RTF file is larger than %1 MB.").arg(kMaxFileSize >> 20));
    const QByteArray head = file.peek(8);
    if (head.startsWith("\xD0\xCF\x11\xE0"))
        return Status::failure(QStringLiteral("%1 is a Word document (.doc), not RTF.").arg(path), 0);
    return refuseWhenOutOfMemory([&] { return read(file.readAll(), into); }, outOfMemory());
}

struct RtfTextReader::Impl {
    static constexpr qint64 kPiece = qint64(1) << 20;

    QFile file;
    qint64 size = 0;
    QByteArray window;   // the file from windowStart on, as far as read
    qint64 windowStart = 0;
    QString nowhere;
    Document scratch{nullptr, QString()};  // style sheet and formats read on the way
    std::unique_ptr<Reader> reader;

    // Reads the next piece of the file behind what the reader has not read yet.
    bool readPiece() {
        const qsizetype kept = window.size();
        // One block for the whole reading: a window that moved to new memory at
        // each piece would fault its pages in afresh every time.
        if (window.capacity() < kPiece + Reader::kRefillMargin) window.reserve(kPiece + Reader::kRefillMargin);
        window.resize(kept + kPiece);
        const qint64 n = file.read(window.data() + kept, kPiece);
        window.resize(kept + qsizetype(std::max<qint64>(n, 0)));
        return n > 0;
    }
    bool atFileEnd() const { return windowStart + window.size() >= size; }

    void refill() {
        if (atFileEnd()) return;
        RtfTokenizer &tokens = reader->tokens();
        const qint64 done = tokens.offset();
        // What is left moves to the block's start, where the next piece follows it.
        std::memmove(window.data(), window.constData() + done, size_t(window.size() - done));
        window.truncate(window.size() - done);
        tokens.dropFront(done);
        windowStart += done;
        if (!readPiece() || atFileEnd()) tokens.setPartial(false);
    }
};

RtfTextReader::RtfTextReader() : m(std::make_unique<Impl>()) {}
RtfTextReader::~RtfTextReader() = default;

Status RtfTextReader::open(const QString &path) {
    m = std::make_unique<Impl>();
    m->file.setFileName(path);
    if (!m->file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Cannot open %1: %2").arg(path, m->file.errorString()));
    m->size = m->file.size();
    if (m->size > RtfReader::kMaxFileSize)
        return Status::failure(QStringLiteral("The RTF file is larger than %1 MB.").arg(RtfReader::kMaxFileSize >> 20));
    m->readPiece();
    if (m->window.startsWith("\xD0\xCF\x11\xE0"))
        return Status::failure(QStringLiteral("%1 is a Word document (.doc), not RTF.").arg(path), 0);
    // The file is read a piece at a time into one window: never whole, and not
    // mapped, so that a file cut short while it is read cannot bring the program down.
    m->reader = std::make_unique<Reader>(m->window, m->scratch, &m->nowhere);
    m->reader->tokens().setPartial(!m->atFileEnd());
    m->reader->setRefill([impl = m.get()] { impl->refill(); });
    const Status status = m->reader->begin();
    if (!status) m->reader.reset();
    return status;
}

bool RtfTextReader::readMore(QString &text, qsizetype atLeast) {
    if (!m->reader) return false;
    m->reader->redirectText(&text);
    const bool more = m->reader->pump(text.size() + std::max<qsizetype>(atLeast, 1));
    m->reader->redirectText(&m->nowhere);
    return more;
}

bool RtfTextReader::readWholeNeeded() const { return m->reader && m->reader->readWholeNeeded(); }

}  // namespace office::doc
