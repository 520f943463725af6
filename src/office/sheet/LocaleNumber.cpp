#include "office/sheet/LocaleNumber.h"

#include <algorithm>
#include <cmath>

namespace office::sheet {
namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x00A0) || c == QChar(0x202F);
}

QStringView trimBlanks(QStringView s) {
    while (!s.isEmpty() && isBlank(s.front())) s = s.mid(1);
    while (!s.isEmpty() && isBlank(s.back())) s.chop(1);
    return s;
}

// Removes the currency symbol from either end, if there; true when it did.
bool stripCurrency(QStringView &s, const QString &symbol) {
    if (symbol.isEmpty()) return false;
    if (s.startsWith(symbol)) {
        s = trimBlanks(s.mid(symbol.size()));
        return true;
    }
    if (s.endsWith(symbol)) {
        s = trimBlanks(s.left(s.size() - symbol.size()));
        return true;
    }
    return false;
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The unsigned number proper: digits with optional grouping, fraction and exponent,
// rewritten into the C locale's form. Empty on anything else.
std::optional<QString> plainNumber(QStringView s, const NumberSymbols &symbols) {
    const QString &decimal = symbols.decimal;
    const QString &group = symbols.group;
    // Locales that group with a (no-break) space also take a plain one.
    const bool spaceGroups = group.size() == 1 && isBlank(group.front());
    QString out;
    qsizetype i = 0;
    int digitsInGroup = 0, groups = 0, mantissaDigits = 0;
    bool grouped = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (isDigit(c)) {
            out += c;
            ++digitsInGroup;
            ++mantissaDigits;
            continue;
        }
        const bool isGroup = !group.isEmpty() && (s.mid(i).startsWith(group) || (spaceGroups && isBlank(c)));
        if (isGroup && group != decimal) {
            // Grouping: the first group holds 1-3 digits, every later one exactly 3.
            if (digitsInGroup == 0 || digitsInGroup > 3 || (groups > 0 && digitsInGroup != 3)) return std::nullopt;
            grouped = true;
            ++groups;
            digitsInGroup = 0;
            i += (spaceGroups && isBlank(c)) ? 0 : group.size() - 1;
            continue;
        }
        break;
    }
    if (grouped && digitsInGroup != 3) return std::nullopt;
    if (i < s.size() && s.mid(i).startsWith(decimal)) {
        out += QLatin1Char('.');
        i += decimal.size();
        while (i < s.size() && isDigit(s[i])) out += s[i++], ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        out += QLatin1Char('e');
        ++i;
        if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) out += s[i++];
        int expDigits = 0;
        while (i < s.size() && isDigit(s[i])) out += s[i++], ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    return out;
}

// Without a digit there is no number: most texts end here, before anything is
// asked of the locale.
bool hasDigit(const QString &text) { return std::any_of(text.cbegin(), text.cend(), isDigit); }

// Whatever is stripped first (a bracket, a sign, the currency), a number then starts
// with a digit or the decimal separator: any other first character rules it out
// before the closer look.
bool canStartNumber(QChar c, const NumberSymbols &symbols) {
    const auto startsSymbol = [c](const QString &symbol) { return !symbol.isEmpty() && symbol.front() == c; };
    return isDigit(c) || c == QLatin1Char('(') || c == QLatin1Char('-') || c == QLatin1Char('+') ||
           startsSymbol(symbols.minus) || startsSymbol(symbols.plus) || startsSymbol(symbols.currency) ||
           startsSymbol(symbols.decimal);
}

std::optional<double> parseNumber(const QString &text, const NumberSymbols &symbols, bool acceptPercent) {
    QStringView s = trimBlanks(text);
    if (s.isEmpty() || !canStartNumber(s.front(), symbols)) return std::nullopt;
    const QString &currency = symbols.currency;
    bool negative = false;
    if (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        negative = true;
        s = trimBlanks(s.mid(1, s.size() - 2));
    }
    bool hadCurrency = stripCurrency(s, currency);
    bool percent = false;
    if (acceptPercent && (s.endsWith(QLatin1Char('%')) || s.endsWith(symbols.percent))) {
        percent = true;
        s = trimBlanks(s.left(s.size() - 1));
    }
    if (!s.isEmpty() && !negative) {
        const QString &minus = symbols.minus;
        if (s.front() == QLatin1Char('-') || s.startsWith(minus)) {
            negative = true;
            s = trimBlanks(s.mid(s.front() == QLatin1Char('-') ? 1 : minus.size()));
        } else if (s.front() == QLatin1Char('+') || s.startsWith(symbols.plus)) {
            s = trimBlanks(s.mid(1));
        }
    }
    if (!hadCurrency) hadCurrency = stripCurrency(s, currency);
    if (hadCurrency && percent) return std::nullopt;
    const std::optional<QString> plain = plainNumber(s, symbols);
    if (!plain) return std::nullopt;
    bool ok = false;
    double value = QLocale::c().toDouble(*plain, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    if (percent) value /= 100;
    return negative ? -value : value;
}

}  // namespace

NumberSymbols NumberSymbols::of(const QLocale &locale) {
    return {locale.decimalPoint(), locale.groupSeparator(), locale.currencySymbol(),
            locale.negativeSign(),  locale.positiveSign(),   locale.percent()};
}

std::optional<double> parseLocaleNumber(const QString &text, const QLocale &locale, bool acceptPercent) {
    if (!hasDigit(text)) return std::nullopt;
    return parseNumber(text, NumberSymbols::of(locale), acceptPercent);
}

std::optional<double> parseLocaleNumber(const QString &text, const NumberSymbols &symbols, bool acceptPercent) {
    if (!hasDigit(text)) return std::nullopt;
    return parseNumber(text, symbols, acceptPercent);
}

}  // namespace office::sheet
