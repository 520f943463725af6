#include "office/sheet/ValueText.h"

#include "office/sheet/ExcelDate.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace office::sheet {

QString numberToText(double number, const QLocale &locale) {
    if (!std::isfinite(number)) return locale.toString(number);
    if (number == 0) return QStringLiteral("0");  // also for -0
    // Whole numbers below 1E15 are most of what cells hold; write them directly.
    if (std::abs(number) < 1e15 && number == std::trunc(number)) {
        QString text = QString::number(qint64(number));
        if (number < 0) text.replace(0, 1, locale.negativeSign());
        return text;
    }
    char buffer[40];
    // The general form with 15 digits (as printf's %.15G) switches to exponent form
    // exactly where the classic conversion does: exponent below -4 or from 15 on.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    if (text.startsWith(QLatin1Char('-'))) text.replace(0, 1, locale.negativeSign());
    return text;
}

QString shortDatePatternWithFullYear(const QLocale &locale) {
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    // Widen any run of 'y' to exactly four.
    static const QRegularExpression years(QStringLiteral("y+"));
    pattern.replace(years, QStringLiteral("yyyy"));
    return pattern;
}

QString timePatternWithSeconds(const QLocale &locale) {
    QString pattern = locale.timeFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1Char('s'))) {
        static const QRegularExpression minutes(QStringLiteral("mm?"));
        const QRegularExpressionMatch m = minutes.match(pattern);
        if (m.hasMatch()) pattern.insert(m.capturedEnd(), QStringLiteral(":ss"));
    }
    return pattern;
}

QString dateToText(double serial, bool date1904, const QLocale &locale) {
    const QDateTime dt = serialToDateTime(serial, date1904);
    if (!dt.isValid()) return numberToText(serial, locale);
    const bool hasTime = dt.time() != QTime(0, 0);
    const QString time = locale.toString(dt.time(), timePatternWithSeconds(locale));
    // A 1900 serial below 1 has no day of its own (it is the classic date zero): only the time.
    if (!date1904 && serial < 1) return time;
    const QString date = locale.toString(dt.date(), shortDatePatternWithFullYear(locale));
    return hasTime ? date + QLatin1Char(' ') + time : date;
}

QString valueToText(const CellValue &value, const QLocale &locale) {
    switch (value.kind()) {
    case ValueKind::Empty: return QString();
    case ValueKind::Number: return numberToText(value.toDouble(), locale);
    case ValueKind::Date: return dateToText(value.toDouble(), value.isDate1904(), locale);
    case ValueKind::Text: return value.textValue();
    case ValueKind::Bool: return value.boolValue() ? QStringLiteral("True") : QStringLiteral("False");
    case ValueKind::Error: return errorText(value.errorCode());
    }
    return QString();
}

}  // namespace office::sheet
