#include "office/sheet/NumberFormatCode.h"

#include <algorithm>

namespace office::sheet {

namespace {

using Kind = FormatToken::Kind;

bool isDigitPlaceholder(Kind k) { return k == Kind::DigitZero || k == Kind::DigitHash || k == Kind::DigitSpace; }

bool isDateKind(Kind k) {
    switch (k) {
    case Kind::Year: case Kind::Month: case Kind::Minute: case Kind::Day: case Kind::Hour:
    case Kind::Second: case Kind::SubSecond: case Kind::AmPm: case Kind::ElapsedHours: case Kind::EraYear:
    case Kind::EraName:
    case Kind::ElapsedMinutes: case Kind::ElapsedSeconds:
        return true;
    default:
        return false;
    }
}

class SectionBuilder {
public:
    void literal(const QString &text) {
        if (text.isEmpty()) return;
        if (!m_section.tokens.empty() && m_section.tokens.back().kind == Kind::Literal)
            m_section.tokens.back().text += text;
        else
            m_section.tokens.push_back({Kind::Literal, text, 1, false});
    }
    void token(Kind kind, int width = 1, const QString &text = QString(), bool sign = false) {
        m_section.tokens.push_back({kind, text, width, sign});
    }
    /// The last token that is not literal text.
    const FormatToken *lastCode() const {
        for (auto it = m_section.tokens.rbegin(); it != m_section.tokens.rend(); ++it)
            if (it->kind != Kind::Literal) return &*it;
        return nullptr;
    }
    void bracket(const QString &content);
    FormatSection finish();

private:
    void resolveMinutes();
    void resolveNumberLayout();
    void toLiteral(FormatToken &t, const QString &text) {
        t.kind = Kind::Literal;
        t.text = text;
    }
    FormatSection m_section;
};

void SectionBuilder::bracket(const QString &content) {
    if (content.isEmpty()) return;
    const QChar first = content.front();
    if (first == QLatin1Char('$')) {
        // "[$€-407]": a currency symbol, then an optional locale id in hex.
        const QString rest = content.mid(1);
        const qsizetype dash = rest.lastIndexOf(QLatin1Char('-'));
        literal(dash < 0 ? rest : rest.left(dash));
        if (dash >= 0) {
            bool ok = false;
            const uint lcid = rest.mid(dash + 1).toUInt(&ok, 16);
            if (ok) m_section.localeId = int(lcid & 0xFFFF);
        }
        return;
    }
    if (first == QLatin1Char('<') || first == QLatin1Char('>') || first == QLatin1Char('=')) {
        static const struct {
            const char *op;
            FormatSection::Compare compare;
        } kOps[] = {{"<>", FormatSection::Compare::NotEqual}, {"<=", FormatSection::Compare::LessEqual},
                    {">=", FormatSection::Compare::GreaterEqual}, {"<", FormatSection::Compare::Less},
                    {">", FormatSection::Compare::Greater}, {"=", FormatSection::Compare::Equal}};
        for (const auto &op : kOps) {
            if (!content.startsWith(QLatin1String(op.op))) continue;
            bool ok = false;
            const double value = content.mid(qsizetype(qstrlen(op.op))).trimmed().toDouble(&ok);
            if (ok) {
                m_section.compare = op.compare;
                m_section.compareValue = value;
            }
            return;
        }
        return;
    }
    const QString lower = content.toLower();
    const QChar letter = lower.front();
    if ((letter == QLatin1Char('h') || letter == QLatin1Char('m') || letter == QLatin1Char('s')) &&
        std::all_of(lower.begin(), lower.end(), [&](QChar c) { return c == letter; })) {
        const Kind kind = letter == QLatin1Char('h')   ? Kind::ElapsedHours
                          : letter == QLatin1Char('m') ? Kind::ElapsedMinutes
                                                       : Kind::ElapsedSeconds;
        token(kind, int(std::min<qsizetype>(lower.size(), 10)));
    }
    // Anything else is a colour ("[Red]", "[Color10]") or a display flag: not shown.
}

// 'm' and 'mm' are minutes right after hours or right before seconds.
void SectionBuilder::resolveMinutes() {
    auto &tokens = m_section.tokens;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Month || tokens[i].width > 2) continue;
        bool minute = false;
        for (size_t j = i; j-- > 0;) {
            if (!isDateKind(tokens[j].kind)) continue;
            minute = tokens[j].kind == Kind::Hour || tokens[j].kind == Kind::ElapsedHours;
            break;
        }
        for (size_t j = i + 1; !minute && j < tokens.size(); ++j) {
            if (!isDateKind(tokens[j].kind)) continue;
            minute = tokens[j].kind == Kind::Second || tokens[j].kind == Kind::ElapsedSeconds;
            break;
        }
        if (minute) tokens[i].kind = Kind::Minute;
    }
}

void SectionBuilder::resolveNumberLayout() {
    auto &tokens = m_section.tokens;
    const size_t n = tokens.size();
    size_t integerEnd = n;  // the integer part ends at the point, the exponent or the slash
    for (size_t i = 0; i < n; ++i) {
        const Kind k = tokens[i].kind;
        if (k == Kind::DecimalPoint || k == Kind::Exponent || k == Kind::Slash) {
            integerEnd = i;
            break;
        }
    }
    for (size_t i = 0; i < tokens.size();) {
        if (tokens[i].kind != Kind::Comma) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < tokens.size() && tokens[end].kind == Kind::Comma) ++end;
        const bool digitBefore = i > 0 && isDigitPlaceholder(tokens[i - 1].kind);
        const bool digitAfter = end < tokens.size() && isDigitPlaceholder(tokens[end].kind);
        if (digitBefore && digitAfter) {
            if (i < integerEnd) m_section.grouping = true;
            tokens.erase(tokens.begin() + qsizetype(i), tokens.begin() + qsizetype(end));
            integerEnd -= integerEnd > i ? end - i : 0;
            continue;
        }
        if (digitBefore) {
            m_section.scaleThousands += int(end - i);
            tokens.erase(tokens.begin() + qsizetype(i), tokens.begin() + qsizetype(end));
            integerEnd -= integerEnd > i ? end - i : 0;
            continue;
        }
        for (size_t j = i; j < end; ++j) toLiteral(tokens[j], QStringLiteral(","));
        i = end;
    }

    for (size_t i = 0; i < tokens.size(); ++i) {
        FormatToken &t = tokens[i];
        if (t.kind == Kind::Percent) ++m_section.percentCount;
        if (t.kind == Kind::Exponent) {
            const bool digitsAfter = i + 1 < tokens.size() && isDigitPlaceholder(tokens[i + 1].kind);
            if (digitsAfter && !m_section.isScientific && !m_section.isFraction)
                m_section.isScientific = true;
            else
                toLiteral(t, t.alwaysSign ? QStringLiteral("E+") : QStringLiteral("E-"));
        }
        if (t.kind == Kind::Slash) {
            const bool digitBefore = i > 0 && isDigitPlaceholder(tokens[i - 1].kind);
            bool denominatorAfter = false;
            if (i + 1 < tokens.size()) {
                const FormatToken &next = tokens[i + 1];
                denominatorAfter = isDigitPlaceholder(next.kind) ||
                                   (next.kind == Kind::Literal && next.text.front().isDigit());
            }
            if (digitBefore && denominatorAfter && !m_section.isFraction && !m_section.isScientific)
                m_section.isFraction = true;
            else
                toLiteral(t, QStringLiteral("/"));
        }
    }
    // Literals that follow each other (after conversions) are merged for rendering.
    std::vector<FormatToken> merged;
    for (FormatToken &t : tokens) {
        if (t.kind == Kind::Literal && !merged.empty() && merged.back().kind == Kind::Literal)
            merged.back().text += t.text;
        else
            merged.push_back(std::move(t));
    }
    tokens = std::move(merged);
}

FormatSection SectionBuilder::finish() {
    auto &tokens = m_section.tokens;
    for (const FormatToken &t : tokens) {
        if (isDateKind(t.kind)) m_section.isDateTime = true;
        if (t.kind == Kind::TextValue) m_section.hasTextValue = true;
    }
    if (m_section.isDateTime) {
        resolveMinutes();
        // In a date the number characters are plain text ("dd.mm.yyyy").
        for (FormatToken &t : tokens) {
            switch (t.kind) {
            case Kind::DecimalPoint: toLiteral(t, QStringLiteral(".")); break;
            case Kind::Comma: toLiteral(t, QStringLiteral(",")); break;
            case Kind::Percent: toLiteral(t, QStringLiteral("%")); break;
            case Kind::Slash: t.kind = Kind::DateSeparator; break;
            case Kind::DigitZero: toLiteral(t, QStringLiteral("0")); break;
            case Kind::DigitHash: toLiteral(t, QString()); break;
            case Kind::DigitSpace: toLiteral(t, QStringLiteral(" ")); break;
            case Kind::Exponent: toLiteral(t, t.alwaysSign ? QStringLiteral("E+") : QStringLiteral("E-")); break;
            default: break;
            }
        }
    } else {
        resolveNumberLayout();
    }
    for (const FormatToken &t : tokens)
        if (isDigitPlaceholder(t.kind)) m_section.hasDigits = true;
    FormatSection done = std::move(m_section);
    m_section = FormatSection();
    return done;
}

int runLength(const QString &code, qsizetype i) {
    const QChar c = code[i].toLower();
    int n = 0;
    while (i + n < code.size() && code[i + n].toLower() == c) ++n;
    return n;
}

}  // namespace

bool FormatSection::matches(double value) const {
    switch (compare) {
    case Compare::None: return true;
    case Compare::Less: return value < compareValue;
    case Compare::LessEqual: return value <= compareValue;
    case Compare::Equal: return value == compareValue;
    case Compare::GreaterEqual: return value >= compareValue;
    case Compare::Greater: return value > compareValue;
    case Compare::NotEqual: return value != compareValue;
    }
    return true;
}

FormatCode parseFormatCode(const QString &code) {
    FormatCode out;
    SectionBuilder b;
    const qsizetype n = code.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = code[i];
        const char16_t u = c.unicode();
        switch (u) {
        case u';':
            out.sections.push_back(b.finish());
            ++i;
            if (out.sections.size() == 4) return out;  // further sections are never used
            continue;
        case u'"': {
            qsizetype end = code.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0) end = n;
            b.literal(code.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        case u'\\':
            if (i + 1 < n) b.literal(QString(code[i + 1]));
            i += 2;
            continue;
        case u'_':  // room for the next character: one blank
            b.literal(QStringLiteral(" "));
            i += 2;
            continue;
        case u'*':  // fill with the next character: nothing in a text
            i += 2;
            continue;
        case u'[': {
            const qsizetype end = code.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0) {
                b.literal(code.mid(i));
                i = n;
                continue;
            }
            b.bracket(code.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        case u'0': b.token(Kind::DigitZero); ++i; continue;
        case u'#': b.token(Kind::DigitHash); ++i; continue;
        case u'?': b.token(Kind::DigitSpace); ++i; continue;
        case u',': b.token(Kind::Comma); ++i; continue;
        case u'%': b.token(Kind::Percent); ++i; continue;
        case u'/': b.token(Kind::Slash); ++i; continue;
        case u'@': b.token(Kind::TextValue); ++i; continue;
        case u'.': {
            const FormatToken *last = b.lastCode();
            if (last && (last->kind == Kind::Second || last->kind == Kind::ElapsedSeconds) && i + 1 < n &&
                code[i + 1] == QLatin1Char('0')) {
                int zeros = 0;
                while (i + 1 + zeros < n && code[i + 1 + zeros] == QLatin1Char('0')) ++zeros;
                b.token(Kind::SubSecond, std::min(zeros, 3));
                i += 1 + zeros;
                continue;
            }
            b.token(Kind::DecimalPoint);
            ++i;
            continue;
        }
        default:
            break;
        }
        const QChar lower = c.toLower();
        if (lower == QLatin1Char('e') && i + 1 < n && (code[i + 1] == QLatin1Char('+') || code[i + 1] == QLatin1Char('-'))) {
            b.token(Kind::Exponent, 1, QString(), code[i + 1] == QLatin1Char('+'));
            i += 2;
            continue;
        }
        if (lower == QLatin1Char('g') && code.mid(i, 7).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
            b.token(Kind::General);
            i += 7;
            continue;
        }
        if (lower == QLatin1Char('a')) {
            if (code.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
                b.token(Kind::AmPm, 5, code.mid(i, 5));
                i += 5;
                continue;
            }
            if (code.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
                b.token(Kind::AmPm, 3, code.mid(i, 3));
                i += 3;
                continue;
            }
        }
        const int run = runLength(code, i);
        if (lower == QLatin1Char('y')) {
            b.token(Kind::Year, run <= 2 ? 2 : 4);
        } else if (lower == QLatin1Char('m')) {
            b.token(Kind::Month, run == 5 ? 5 : std::min(run, 4));
        } else if (lower == QLatin1Char('d')) {
            b.token(Kind::Day, std::min(run, 4));
        } else if (lower == QLatin1Char('h')) {
            b.token(Kind::Hour, std::min(run, 2));
        } else if (lower == QLatin1Char('s')) {
            b.token(Kind::Second, std::min(run, 2));
        } else if (lower == QLatin1Char('e')) {
            b.token(Kind::EraYear, std::min(run, 2));
        } else if (lower == QLatin1Char('g')) {
            b.token(Kind::EraName, std::min(run, 3));
        } else {
            b.literal(QString(c));
            ++i;
            continue;
        }
        i += run;
    }
    out.sections.push_back(b.finish());
    return out;
}

}  // namespace office::sheet
