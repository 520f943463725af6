#include "office/sheet/DecimalDigits.h"
#include "office/sheet/GeneralNumberText.h"
#include "office/sheet/SectionText.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace office::sheet {

namespace {

using Kind = FormatToken::Kind;

bool isDigitPlaceholder(Kind k) { return k == Kind::DigitZero || k == Kind::DigitHash || k == Kind::DigitSpace; }

QString padFor(Kind k) {
    switch (k) {
    case Kind::DigitZero: return QStringLiteral("0");
    case Kind::DigitSpace: return QStringLiteral(" ");
    default: return QString();
    }
}

/// What each token of the section shows; filled part by part, then joined.
class SlotText {
public:
    explicit SlotText(const FormatSection &s) : m_section(s), m_slots(s.tokens.size()) {}

    /// Integer digits right-aligned into placeholders; the first placeholder takes
    /// any digits beyond the others. With grouping, the separator follows every
    /// digit whose position from the right is a multiple of three.
    void fillInteger(const std::vector<size_t> &slots, const QString &digits, bool grouping, const QString &sep) {
        const qsizetype k = qsizetype(slots.size());
        const qsizetype size = digits.size();
        auto grouped = [&](QChar digit, qsizetype pos) {
            QString s(digit);
            if (grouping && pos > 0 && pos % 3 == 0) s += sep;
            return s;
        };
        for (qsizetype j = 0; j < k; ++j) {
            const size_t t = slots[size_t(j)];
            const qsizetype pos = k - 1 - j;  // power of ten this placeholder stands for
            QString out;
            if (j == 0 && size > k) {
                for (qsizetype i = 0; i <= size - k; ++i) out += grouped(digits[i], size - 1 - i);
            } else if (pos < size) {
                out = grouped(digits[size - 1 - pos], pos);
            } else {
                const Kind kind = m_section.tokens[t].kind;
                out = kind == Kind::DigitZero ? grouped(QLatin1Char('0'), pos) : padFor(kind);
            }
            m_slots[t] = out;
        }
    }

    /// Fraction digits left-aligned; trailing zeros vanish under '#' and turn into
    /// blanks under '?'.
    void fillDecimals(const std::vector<size_t> &slots, const QString &digits) {
        qsizetype keep = qsizetype(slots.size());
        while (keep > 0) {
            const Kind kind = m_section.tokens[slots[size_t(keep - 1)]].kind;
            if (kind == Kind::DigitZero || digits[keep - 1] != QLatin1Char('0')) break;
            m_slots[slots[size_t(keep - 1)]] = padFor(kind);
            --keep;
        }
        for (qsizetype i = 0; i < keep; ++i) m_slots[slots[size_t(i)]] = QString(digits[i]);
    }

    /// Digits left-aligned with blanks after them (a fraction's denominator).
    void fillLeft(const std::vector<size_t> &slots, const QString &digits) {
        for (size_t j = 0; j < slots.size(); ++j) {
            const Kind kind = m_section.tokens[slots[j]].kind;
            if (j + 1 == slots.size() && qsizetype(j) < digits.size())
                m_slots[slots[j]] = digits.mid(qsizetype(j));
            else if (qsizetype(j) < digits.size())
                m_slots[slots[j]] = QString(digits[qsizetype(j)]);
            else
                m_slots[slots[j]] = kind == Kind::DigitHash ? QString() : QStringLiteral(" ");
        }
    }

    void set(size_t token, const QString &text) { m_slots[token] = text; }

    QString join(const QLocale &locale, double magnitude) const {
        QString out;
        for (size_t i = 0; i < m_section.tokens.size(); ++i) {
            const FormatToken &t = m_section.tokens[i];
            switch (t.kind) {
            case Kind::Literal: out += m_slots[i].isNull() ? t.text : m_slots[i]; break;
            case Kind::DecimalPoint: out += m_slots[i] + locale.decimalPoint(); break;
            case Kind::Percent: out += QLatin1Char('%'); break;
            case Kind::General:
            case Kind::TextValue: out += generalNumberText(magnitude, locale); break;
            default: out += m_slots[i]; break;
            }
        }
        return out;
    }

private:
    const FormatSection &m_section;
    std::vector<QString> m_slots;
};

/// Placeholder indexes of the integer and decimal parts (up to `end`).
void splitPlaceholders(const FormatSection &s, size_t begin, size_t end, std::vector<size_t> &integer,
                       std::vector<size_t> &decimals, bool &hasPoint) {
    hasPoint = false;
    for (size_t i = begin; i < end; ++i) {
        const Kind k = s.tokens[i].kind;
        if (k == Kind::DecimalPoint) hasPoint = true;
        if (!isDigitPlaceholder(k)) continue;
        (hasPoint ? decimals : integer).push_back(i);
    }
}

DecimalDigits scaled(const FormatSection &s, double magnitude) {
    return DecimalDigits(magnitude).shifted(2 * s.percentCount - 3 * s.scaleThousands);
}

QString plainText(const FormatSection &s, double magnitude, const QLocale &locale) {
    std::vector<size_t> integer, decimals;
    bool hasPoint = false;
    splitPlaceholders(s, 0, s.tokens.size(), integer, decimals, hasPoint);
    const DecimalDigits::Fixed f = scaled(s, magnitude).fixed(int(decimals.size()));
    SlotText slots(s);
    const QString sep = locale.groupSeparator();
    slots.fillInteger(integer, f.integer, s.grouping, sep);
    slots.fillDecimals(decimals, f.fraction);
    if (integer.empty() && !f.integer.isEmpty()) {
        // ".00" still shows the whole part, in front of the decimal point.
        for (size_t i = 0; i < s.tokens.size(); ++i) {
            if (s.tokens[i].kind != Kind::DecimalPoint) continue;
            slots.set(i, f.integer);
            break;
        }
    }
    return slots.join(locale, magnitude);
}

QString scientificText(const FormatSection &s, double magnitude, const QLocale &locale) {
    size_t expAt = 0;
    while (expAt < s.tokens.size() && s.tokens[expAt].kind != Kind::Exponent) ++expAt;
    std::vector<size_t> integer, decimals, expDigits;
    bool hasPoint = false;
    splitPlaceholders(s, 0, expAt, integer, decimals, hasPoint);
    for (size_t i = expAt + 1; i < s.tokens.size(); ++i)
        if (isDigitPlaceholder(s.tokens[i].kind)) expDigits.push_back(i);

    const DecimalDigits d = scaled(s, magnitude);
    const int k = int(integer.size());
    bool engineering = false;
    for (size_t i : integer) engineering |= s.tokens[i].kind == Kind::DigitHash;
    engineering &= k > 1;
    int exp = 0;
    DecimalDigits::Fixed m;
    for (int bump = 0; bump < 2; ++bump) {
        const int e = d.exponent() + bump;
        if (d.isZero()) exp = 0;
        else if (engineering) exp = int(std::floor(double(e) / k)) * k;
        else exp = e - (k > 0 ? k - 1 : -1);
        m = d.shifted(-exp).fixed(int(decimals.size()));
        const int wanted = engineering ? k : std::max(k, 0);
        if (d.isZero() || m.integer.size() <= std::max(wanted, 1)) break;
    }
    SlotText slots(s);
    slots.fillInteger(integer, m.integer, s.grouping, locale.groupSeparator());
    slots.fillDecimals(decimals, m.fraction);
    QString expText = QString::number(std::abs(exp));
    int minDigits = 0;
    for (size_t i : expDigits) minDigits += s.tokens[i].kind == Kind::DigitZero ? 1 : 0;
    expText = expText.rightJustified(minDigits, QLatin1Char('0'));
    const bool alwaysSign = s.tokens[expAt].alwaysSign;
    const QString sign = exp < 0 ? QStringLiteral("-") : (alwaysSign ? QStringLiteral("+") : QString());
    slots.set(expAt, QStringLiteral("E") + sign);
    for (size_t j = 0; j < expDigits.size(); ++j) slots.set(expDigits[j], j == 0 ? expText : QString());
    return slots.join(locale, magnitude);
}

/// Best fraction p/q of x with q <= maxDen (continued fractions with the last
/// semiconvergent, as a fraction format chooses).
void bestFraction(double x, long long maxDen, long long &p, long long &q) {
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double value = x;
    for (int i = 0; i < 64; ++i) {
        const double a = std::floor(value);
        if (!(a <= 1e15)) break;  // also NaN
        const long long ai = static_cast<long long>(a);
        // A huge value (no integer part shown) gives convergents past 64 bits.
        long long q2 = 0, p2 = 0;
        if (__builtin_mul_overflow(ai, q1, &q2) || __builtin_add_overflow(q2, q0, &q2) || q2 > maxDen) break;
        if (__builtin_mul_overflow(ai, p1, &p2) || __builtin_add_overflow(p2, p0, &p2)) break;
        p0 = p1, q0 = q1, p1 = p2, q1 = q2;
        const double rest = value - a;
        if (rest < 1e-12) break;
        value = 1.0 / rest;
    }
    if (q1 == 0) {
        p = static_cast<long long>(std::llround(x));
        q = 1;
        return;
    }
    const long long kk = (maxDen - q0) / q1;
    long long ps = 0, qs = 0;
    const bool fits = !__builtin_mul_overflow(kk, p1, &ps) && !__builtin_add_overflow(ps, p0, &ps) &&
                      !__builtin_mul_overflow(kk, q1, &qs) && !__builtin_add_overflow(qs, q0, &qs);
    if (fits && qs > 0 && std::fabs(double(ps) / double(qs) - x) < std::fabs(double(p1) / double(q1) - x)) {
        p = ps;
        q = qs;
    } else {
        p = p1;
        q = q1;
    }
}

QString fractionText(const FormatSection &s, double magnitude, const QLocale &locale) {
    size_t slash = 0;
    while (slash < s.tokens.size() && s.tokens[slash].kind != Kind::Slash) ++slash;
    // Numerator: the placeholders right before the slash; integer: any before those.
    size_t numStart = slash;
    while (numStart > 0 && isDigitPlaceholder(s.tokens[numStart - 1].kind)) --numStart;
    std::vector<size_t> integer, numerator, denominator;
    for (size_t i = 0; i < numStart; ++i)
        if (isDigitPlaceholder(s.tokens[i].kind)) integer.push_back(i);
    for (size_t i = numStart; i < slash; ++i) numerator.push_back(i);
    long long fixedDen = 0;
    size_t denLiteral = s.tokens.size();
    if (slash + 1 < s.tokens.size() && s.tokens[slash + 1].kind == Kind::Literal) {
        // "# ??/16": a fixed denominator written as digits.
        denLiteral = slash + 1;
        const QString &t = s.tokens[denLiteral].text;
        qsizetype n = 0;
        while (n < t.size() && t[n].isDigit() && n < 9) ++n;
        fixedDen = t.left(n).toLongLong();
        for (size_t i = slash + 2; i < s.tokens.size() && s.tokens[i].kind == Kind::DigitZero && fixedDen < 100000000; ++i)
            fixedDen *= 10;
    } else {
        for (size_t i = slash + 1; i < s.tokens.size() && isDigitPlaceholder(s.tokens[i].kind); ++i)
            denominator.push_back(i);
    }
    const bool hasInteger = !integer.empty();
    const double value = magnitude * std::pow(100.0, std::min(s.percentCount, 4));
    // Percent scaling can overflow a finite number, as the number itself cannot.
    if (!std::isfinite(value)) return QStringLiteral("#NUM!");
    double whole = hasInteger ? std::floor(value) : 0;
    const double part = value - whole;
    long long num = 0, den = 1;
    if (fixedDen > 0) {
        den = fixedDen;
        num = std::llround(part * double(den));
    } else {
        long long maxDen = 1;
        for (size_t i = 0; i < denominator.size() && i < 7; ++i) maxDen *= 10;
        bestFraction(part, std::max(1LL, maxDen - 1), num, den);
    }
    if (hasInteger && num >= den) {
        whole += 1;
        num = 0;
    }
    SlotText slots(s);
    const QString wholeDigits = DecimalDigits(whole).fixed(0).integer;
    slots.fillInteger(integer, wholeDigits.isEmpty() && num == 0 ? QStringLiteral("0") : wholeDigits, s.grouping,
                      locale.groupSeparator());
    slots.fillInteger(numerator, QString::number(num), false, QString());
    if (fixedDen == 0) slots.fillLeft(denominator, QString::number(den));
    slots.set(slash, QStringLiteral("/"));
    if (hasInteger && num == 0) {
        // A whole number: the fraction part turns into blanks of the same width.
        for (size_t i = numStart; i <= slash; ++i) slots.set(i, QStringLiteral(" "));
        for (size_t i : denominator) slots.set(i, QStringLiteral(" "));
        if (denLiteral < s.tokens.size()) {
            const QString &t = s.tokens[denLiteral].text;
            qsizetype n = 0;
            while (n < t.size() && t[n].isDigit()) ++n;
            slots.set(denLiteral, QString(n, QLatin1Char(' ')) + t.mid(n));
        }
    }
    return slots.join(locale, magnitude);
}

}  // namespace

QString numberSectionText(const FormatSection &section, double magnitude, const QLocale &locale) {
    if (section.isFraction) return fractionText(section, magnitude, locale);
    if (section.isScientific) return scientificText(section, magnitude, locale);
    return plainText(section, magnitude, locale);
}

QString textSectionText(const FormatSection &section, const QString &text) {
    QString out;
    for (const FormatToken &t : section.tokens) {
        if (t.kind == Kind::Literal) out += t.text;
        else if (t.kind == Kind::TextValue) out += text;
    }
    return out;
}

}  // namespace office::sheet
