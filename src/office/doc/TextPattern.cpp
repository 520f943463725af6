#include "office/doc/TextPattern.h"

namespace office::doc {

namespace {

// Reads the caret code at text[i] == '^'; returns the character, 0 for a code that
// is a class (handled by the caller), -1 for an unknown code. i ends on the last
// character of the code.
int caretCode(const QString &text, qsizetype &i) {
    if (i + 1 >= text.size()) return -1;
    const QChar c = text.at(++i);
    if (c.isDigit()) {
        int value = 0;
        qsizetype j = i;
        while (j < text.size() && text.at(j).isDigit() && j < i + 5) value = value * 10 + text.at(j++).digitValue();
        i = j - 1;
        return value > 0 && value <= 0xFFFF ? value : -1;
    }
    switch (c.unicode()) {
    case u'p': return kParagraphMark;
    case u'l': return kLineBreak;
    case u't': return kTab;
    case u'm': return kPageBreak;
    case u's': return 0xA0;
    case u'~': return 0x1E;
    case u'-': return 0x1F;
    case u'^': return u'^';
    case u'?': case u'#': case u'$': return 0;
    default: return -1;
    }
}

bool isWordChar(char16_t c) { return QChar(c).isLetterOrNumber() || c == u'_'; }

}  // namespace

std::optional<TextPattern> TextPattern::compile(const QString &text, bool wildcards) {
    TextPattern p;
    static constexpr char16_t kWildcardSpecials[] = u"?*@<>[](){}!";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar(u'^')) {
            const QChar kind = i + 1 < text.size() ? text.at(i + 1) : QChar();
            const int code = caretCode(text, i);
            if (code < 0) return std::nullopt;
            if (code == 0) {
                if (wildcards) return std::nullopt;
                p.m_units.push_back({kind == QChar(u'?') ? Kind::AnyChar : kind == QChar(u'#') ? Kind::Digit : Kind::Letter, 0});
            } else {
                p.m_units.push_back({Kind::Literal, char16_t(code)});
            }
            continue;
        }
        if (wildcards) {
            if (c == QChar(u'\\')) {
                if (++i >= text.size()) return std::nullopt;
                p.m_units.push_back({Kind::Literal, text.at(i).unicode()});
                continue;
            }
            if (std::u16string_view(kWildcardSpecials).find(c.unicode()) != std::u16string_view::npos) return std::nullopt;
        }
        p.m_units.push_back({Kind::Literal, c.unicode()});
    }
    if (p.m_units.empty()) return std::nullopt;
    return p;
}

bool TextPattern::matchesAt(const Story &story, int pos, bool matchCase) const {
    if (pos < 0 || pos + length() > story.length()) return false;
    for (int k = 0; k < length(); ++k) {
        const Unit &u = m_units[size_t(k)];
        const QChar c(story.at(pos + k));
        switch (u.kind) {
        case Kind::AnyChar:
            if (c.unicode() == kCellMark) return false;
            break;
        case Kind::Digit:
            if (!c.isDigit()) return false;
            break;
        case Kind::Letter:
            if (!c.isLetter()) return false;
            break;
        case Kind::Literal:
            if (c.unicode() == u.ch) break;
            if (matchCase) return false;
            // Two ASCII characters fold by their letter case alone; only other
            // characters (the Kelvin sign folds to "k") need the Unicode tables.
            if (c.unicode() < 0x80 && u.ch < 0x80) {
                if ((c.unicode() | 0x20) != (u.ch | 0x20) || !QChar::isLetter(u.ch)) return false;
                break;
            }
            if (c.toCaseFolded() != QChar(u.ch).toCaseFolded()) return false;
            break;
        }
    }
    return true;
}

bool TextPattern::isWholeWord(const Story &story, int pos) const {
    if (pos > 0 && isWordChar(story.at(pos - 1))) return false;
    const int after = pos + length();
    return after >= story.length() || !isWordChar(story.at(after));
}

int TextPattern::findForward(const Story &story, int from, int to, bool matchCase, bool wholeWord) const {
    to = std::min(to, story.length());
    from = std::max(from, 0);
    // A first character that only matches itself (a mark, a digit, a sign) is looked
    // for with a vectorised scan: replacing a line break or a paragraph mark in a long
    // table otherwise tests every character one by one. The scan goes window by
    // window, so that a view copied around the gap of the store stays small.
    if (!m_units.empty() && m_units[0].kind == Kind::Literal && (matchCase || !QChar(m_units[0].ch).isLetter())) {
        constexpr int kWindow = 16384;
        QString scratch;
        for (int start = from; start + length() <= to; start += kWindow) {
            const int end = std::min(to, start + kWindow);
            const QStringView text = story.textView(start, end, scratch);
            for (qsizetype i = text.indexOf(QChar(m_units[0].ch)); i >= 0; i = text.indexOf(QChar(m_units[0].ch), i + 1)) {
                const int p = start + int(i);
                if (p + length() > to) return -1;
                if (matchesAt(story, p, matchCase) && (!wholeWord || isWholeWord(story, p))) return p;
            }
        }
        return -1;
    }
    // A literal ASCII first character is looked for before the whole pattern is tried.
    char16_t first = 0, firstOtherCase = 0;
    if (!m_units.empty() && m_units.front().kind == Kind::Literal && m_units.front().ch < 0x80) {
        first = firstOtherCase = m_units.front().ch;
        if (!matchCase && QChar::isLetter(first)) firstOtherCase = char16_t(first ^ 0x20);
    }
    for (int p = from; p + length() <= to; ++p) {
        if (first) {
            const char16_t c = story.at(p);
            if (c != first && c != firstOtherCase && (matchCase || c < 0x80)) continue;
        }
        if (matchesAt(story, p, matchCase) && (!wholeWord || isWholeWord(story, p))) return p;
    }
    return -1;
}

int TextPattern::findBackward(const Story &story, int from, int to, bool matchCase, bool wholeWord) const {
    to = std::min(to, story.length());
    for (int p = to - length(); p >= std::max(from, 0); --p)
        if (matchesAt(story, p, matchCase) && (!wholeWord || isWholeWord(story, p))) return p;
    return -1;
}

QString expandReplacement(const QString &replacement, const QString &found) {
    if (!replacement.contains(QChar(u'^'))) return replacement;
    QString out;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        if (replacement.at(i) != QChar(u'^')) {
            out.append(replacement.at(i));
            continue;
        }
        if (i + 1 < replacement.size() && replacement.at(i + 1) == QChar(u'&')) {
            out.append(found);
            ++i;
            continue;
        }
        const qsizetype at = i;
        const int code = caretCode(replacement, i);
        if (code > 0) out.append(QChar(char16_t(code)));
        else out.append(replacement.mid(at, i - at + 1));  // unknown codes stay as written
    }
    return out;
}

}  // namespace office::doc
