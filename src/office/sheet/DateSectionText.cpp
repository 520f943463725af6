#include "office/sheet/ExcelDateTime.h"
#include "office/sheet/FormatLocaleId.h"
#include "office/sheet/SectionText.h"

#include <QDate>
#include <QTime>

#include <algorithm>
#include <tuple>

namespace office::sheet {

namespace {

using Kind = FormatToken::Kind;

QString padded(long long n, int width) { return QString::number(n).rightJustified(width, QLatin1Char('0')); }

QString amPmText(const QString &code, bool pm) {
    // "AM/PM" shows AM or PM, "A/P" shows A or P, each in the case written.
    const qsizetype slash = code.indexOf(QLatin1Char('/'));
    return pm ? code.mid(slash + 1) : code.left(slash);
}

/// The separator the locale writes between day, month and year ("." in German).
QString dateSeparator(const QLocale &locale) {
    for (QChar c : locale.dateFormat(QLocale::ShortFormat))
        if (!c.isLetter() && c != QLatin1Char('\'')) return QString(c);
    return QStringLiteral("/");
}

/// The Japanese era a date falls in: its start and its names (ggg, gg, g).
struct JapaneseEra {
    int year, month, day;
    const char16_t *name;
    const char16_t *shortName;
    const char *letter;
};
constexpr JapaneseEra kEras[] = {
    {2019, 5, 1, u"令和", u"令", "R"},
    {1989, 1, 8, u"平成", u"平", "H"},
    {1926, 12, 25, u"昭和", u"昭", "S"},
    {1912, 7, 30, u"大正", u"大", "T"},
    {1868, 1, 1, u"明治", u"明", "M"},
};

const JapaneseEra *eraOf(const ExcelDateTime &dt) {
    for (const JapaneseEra &e : kEras)
        if (std::tie(dt.year, dt.month, dt.day) >= std::tie(e.year, e.month, e.day)) return &e;
    return nullptr;
}

}  // namespace

QString dateSectionText(const FormatSection &section, double serial, const DisplaySettings &settings) {
    int subsecondDigits = 0;
    bool twelveHour = false;
    for (const FormatToken &t : section.tokens) {
        if (t.kind == Kind::SubSecond) subsecondDigits = std::max(subsecondDigits, t.width);
        if (t.kind == Kind::AmPm) twelveHour = true;
    }
    const std::optional<ExcelDateTime> dt = ExcelDateTime::fromSerial(serial, settings.dateSystem, subsecondDigits);
    if (!dt) return QString();

    if (section.localeId == kSystemLongDateId || section.localeId == kSystemTimeId) {
        // These tags stand for the system's own long date or time, whatever follows them.
        if (section.localeId == kSystemLongDateId && dt->day > 0)
            return settings.locale.toString(QDate(dt->year, dt->month, dt->day), QLocale::LongFormat);
        QString timeFormat = settings.locale.timeFormat(QLocale::LongFormat);
        timeFormat.remove(QLatin1String(" t")).remove(QLatin1Char('t'));
        return settings.locale.toString(QTime(dt->hour, dt->minute, dt->second), timeFormat.trimmed());
    }
    const QLocale names = localeForFormatId(section.localeId).value_or(settings.locale);

    QString out;
    for (const FormatToken &t : section.tokens) {
        switch (t.kind) {
        case Kind::Literal: out += t.text; break;
        case Kind::DateSeparator: out += dateSeparator(settings.locale); break;
        case Kind::EraYear: {
            const JapaneseEra *era = section.localeId == 0x411 ? eraOf(*dt) : nullptr;
            out += era ? padded(dt->year - era->year + 1, t.width) : padded(dt->year, 4);
            break;
        }
        case Kind::EraName:
            if (const JapaneseEra *era = section.localeId == 0x411 ? eraOf(*dt) : nullptr)
                out += t.width == 1   ? QString::fromLatin1(era->letter)
                       : t.width == 2 ? QString::fromUtf16(era->shortName)
                                      : QString::fromUtf16(era->name);
            break;
        case Kind::Year: out += t.width == 2 ? padded(dt->year % 100, 2) : padded(dt->year, 4); break;
        case Kind::Month:
            if (t.width <= 2) out += padded(dt->month, t.width);
            else if (t.width == 3) out += names.standaloneMonthName(dt->month, QLocale::ShortFormat);
            else if (t.width == 4) out += names.standaloneMonthName(dt->month, QLocale::LongFormat);
            else out += names.standaloneMonthName(dt->month, QLocale::LongFormat).left(1);
            break;
        case Kind::Day: {
            const int qtDay = dt->weekday == 0 ? 7 : dt->weekday;  // Qt counts Monday = 1 ... Sunday = 7
            if (t.width <= 2) out += padded(dt->day, t.width);
            else if (t.width == 3) out += names.standaloneDayName(qtDay, QLocale::ShortFormat);
            else out += names.standaloneDayName(qtDay, QLocale::LongFormat);
            break;
        }
        case Kind::Hour: {
            int h = dt->hour;
            if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
            out += padded(h, t.width);
            break;
        }
        case Kind::Minute: out += padded(dt->minute, t.width); break;
        case Kind::Second: out += padded(dt->second, t.width); break;
        case Kind::SubSecond:
            out += settings.locale.decimalPoint() + padded(dt->subsecond, subsecondDigits).left(t.width);
            break;
        case Kind::AmPm: out += amPmText(t.text, dt->hour >= 12); break;
        case Kind::ElapsedHours: out += padded(dt->totalSeconds / 3600, t.width); break;
        case Kind::ElapsedMinutes: out += padded(dt->totalSeconds / 60, t.width); break;
        case Kind::ElapsedSeconds: out += padded(dt->totalSeconds, t.width); break;
        default: break;
        }
    }
    return out;
}

}  // namespace office::sheet
