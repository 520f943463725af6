#include "office/sheet/GeneralNumberText.h"

#include "office/sheet/DecimalDigits.h"

#include <cmath>

namespace office::sheet {

namespace {

constexpr int kWidth = 11;

QString trimmedFixed(const DecimalDigits::Fixed &f, const QString &point) {
    QString fraction = f.fraction;
    while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
    QString text = f.integer.isEmpty() ? QStringLiteral("0") : f.integer;
    if (!fraction.isEmpty()) text += point + fraction;
    return text;
}

QString exponentForm(const DecimalDigits &digits, const QString &point) {
    int exp = digits.exponent();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QString expText = QString::number(std::abs(exp)).rightJustified(2, QLatin1Char('0'));
        const int decimals = kWidth - 2 - 2 - int(expText.size());  // "d." and "E+"
        const DecimalDigits::Fixed m = digits.shifted(-exp).fixed(decimals);
        if (m.integer.size() > 1) {  // 9.999999 rounded up to 10: one more power of ten
            ++exp;
            continue;
        }
        return trimmedFixed(m, point) + QLatin1Char('E') + QLatin1Char(exp < 0 ? '-' : '+') + expText;
    }
    return QString();
}

}  // namespace

QString generalNumberText(double value, const QLocale &locale) {
    if (std::isnan(value)) return QStringLiteral("#NUM!");
    if (std::isinf(value)) return QStringLiteral("#NUM!");
    const QString point = locale.decimalPoint();
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const DecimalDigits digits(value);
    if (digits.isZero()) return QStringLiteral("0");
    const int exp = digits.exponent();
    if (exp >= -4 && exp <= kWidth - 1) {
        // Digits before the point plus the point leave this many for decimals.
        const int decimals = exp >= 0 ? std::max(0, kWidth - 2 - exp) : kWidth - 2;
        const DecimalDigits::Fixed f = digits.fixed(decimals);
        if (f.integer.size() <= kWidth) {
            const QString text = trimmedFixed(f, point);
            if (text != QLatin1String("0")) return sign + text;
        }
    }
    return sign + exponentForm(digits, point);
}

}  // namespace office::sheet
