#include "office/sheet/DecimalDigits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace office::sheet {

DecimalDigits::DecimalDigits(double value) {
    value = std::fabs(value);
    if (!(value > 0) || !std::isfinite(value)) return;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);  // d.dddddddddddddde+XX
    QString digits;
    const char *p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += QLatin1Char(*p);
    const int exp = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
    m_digits = digits;
    m_pointPos = exp + 1;
}

DecimalDigits DecimalDigits::shifted(int shift) const {
    DecimalDigits d = *this;
    if (!d.isZero()) d.m_pointPos += shift;
    return d;
}

DecimalDigits::Fixed DecimalDigits::fixed(int decimals) const {
    Fixed out;
    if (decimals < 0) decimals = 0;
    if (isZero()) {
        out.fraction = QString(decimals, QLatin1Char('0'));
        return out;
    }
    // Digits kept: everything before the point plus `decimals` after it.
    const qsizetype keep = qsizetype(m_pointPos) + decimals;
    QString kept;
    if (keep < 0) {
        kept.clear();
    } else if (keep >= m_digits.size()) {
        kept = m_digits + QString(keep - m_digits.size(), QLatin1Char('0'));
    } else {
        kept = m_digits.left(keep);
        if (m_digits.at(keep) >= QLatin1Char('5')) {
            // Carry from the right; a carry out of the first digit adds one in front.
            qsizetype i = kept.size() - 1;
            for (; i >= 0; --i) {
                if (kept[i] == QLatin1Char('9')) {
                    kept[i] = QLatin1Char('0');
                } else {
                    kept[i] = QChar(kept[i].unicode() + 1);
                    break;
                }
            }
            if (i < 0) {
                kept.prepend(QLatin1Char('1'));
            }
        }
    }
    // `kept` now holds the digits from position pointPos-1 down to 10^-decimals.
    const qsizetype fracStart = kept.size() - decimals;
    if (fracStart <= 0) {
        out.fraction = QString(-fracStart, QLatin1Char('0')) + kept;
    } else {
        out.integer = kept.left(fracStart);
        out.fraction = kept.mid(fracStart);
    }
    qsizetype lead = 0;
    while (lead < out.integer.size() && out.integer[lead] == QLatin1Char('0')) ++lead;
    out.integer.remove(0, lead);
    return out;
}

}  // namespace office::sheet
