#include "office/sheet/BuiltInFormats.h"

namespace office::sheet {

namespace {

/// A Qt date or time pattern turned into format-code syntax ("dd.MM.yy" -> "dd.mm.yyyy").
QString formatCodeFromQtPattern(const QString &pattern, bool fourDigitYear) {
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        const char16_t u = c.unicode();
        if (u == u'y') out += fourDigitYear || run > 2 ? QStringLiteral("yyyy") : QStringLiteral("yy");
        else if (u == u'M') out += QString(std::min<qsizetype>(run, 4), QLatin1Char('m'));
        else if (u == u'd') out += QString(std::min<qsizetype>(run, 4), QLatin1Char('d'));
        else if (u == u'H' || u == u'h') out += QString(std::min<qsizetype>(run, 2), QLatin1Char('h'));
        else if (u == u'm') out += QString(std::min<qsizetype>(run, 2), QLatin1Char('m'));
        else if (u == u's') out += QString(std::min<qsizetype>(run, 2), QLatin1Char('s'));
        else if (u == u'A' || u == u'a' || u == u'P' || u == u'p' || u == u't') out += QString();  // 24-hour clock, no zone
        else if (u == u'\'') out += QString();
        else if (c.isLetter()) out += QLatin1Char('\\') + QString(run, c);
        else out += QString(run, c);
        i += run;
    }
    return out.trimmed();
}

QString shortDateCode(const QLocale &locale) {
    return formatCodeFromQtPattern(locale.dateFormat(QLocale::ShortFormat), true);
}

QString currencyCode(int index, const QLocale &locale) {
    const QString sym = QLatin1Char('"') + locale.currencySymbol() + QLatin1Char('"');
    switch (index) {
    case 5: return sym + QStringLiteral("#,##0_);(") + sym + QStringLiteral("#,##0)");
    case 6: return sym + QStringLiteral("#,##0_);[Red](") + sym + QStringLiteral("#,##0)");
    case 7: return sym + QStringLiteral("#,##0.00_);(") + sym + QStringLiteral("#,##0.00)");
    default: return sym + QStringLiteral("#,##0.00_);[Red](") + sym + QStringLiteral("#,##0.00)");
    }
}

/// Codes German Excel shows for the built-in formats it words in its own way.
QString germanCode(int index) {
    switch (index) {
    case 15: return QStringLiteral("dd. mmm yy");
    case 16: return QStringLiteral("dd. mmm");
    case 17: return QStringLiteral("mmm yy");
    case 20: return QStringLiteral("hh:mm");
    case 21: return QStringLiteral("hh:mm:ss");
    case 37: return QStringLiteral("#,##0 _€;-#,##0 _€");
    case 38: return QStringLiteral("#,##0 _€;[Red]-#,##0 _€");
    case 39: return QStringLiteral("#,##0.00 _€;-#,##0.00 _€");
    case 40: return QStringLiteral("#,##0.00 _€;[Red]-#,##0.00 _€");
    default: return QString();
    }
}

}  // namespace

QString builtInFormatCode(int index, const QLocale &locale) {
    if (locale.language() == QLocale::German) {
        const QString code = germanCode(index);
        if (!code.isEmpty()) return code;
    }
    // Dates and times of East Asian versions: shown as the locale's date or time here.
    if ((index >= 27 && index <= 31) || (index >= 34 && index <= 36) || (index >= 50 && index <= 58))
        return shortDateCode(locale);
    if (index == 32 || index == 33) return QStringLiteral("h:mm:ss");
    switch (index) {
    case 1: return QStringLiteral("0");
    case 2: return QStringLiteral("0.00");
    case 3: return QStringLiteral("#,##0");
    case 4: return QStringLiteral("#,##0.00");
    case 5: case 6: case 7: case 8: return currencyCode(index, locale);
    case 9: return QStringLiteral("0%");
    case 10: return QStringLiteral("0.00%");
    case 11: return QStringLiteral("0.00E+00");
    case 12: return QStringLiteral("# ?/?");
    case 13: return QStringLiteral("# ?\?/??");
    case 14: return shortDateCode(locale);
    case 15: return QStringLiteral("d-mmm-yy");
    case 16: return QStringLiteral("d-mmm");
    case 17: return QStringLiteral("mmm-yy");
    case 18: return QStringLiteral("h:mm AM/PM");
    case 19: return QStringLiteral("h:mm:ss AM/PM");
    case 20: return QStringLiteral("h:mm");
    case 21: return QStringLiteral("h:mm:ss");
    case 22: return shortDateCode(locale) + QLatin1Char(' ') +
                    formatCodeFromQtPattern(locale.timeFormat(QLocale::ShortFormat), false);
    case 37: return QStringLiteral("#,##0_);(#,##0)");
    case 38: return QStringLiteral("#,##0_);[Red](#,##0)");
    case 39: return QStringLiteral("#,##0.00_);(#,##0.00)");
    case 40: return QStringLiteral("#,##0.00_);[Red](#,##0.00)");
    case 41: return QStringLiteral("_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)");
    case 42: return QStringLiteral("_(\"$\"* #,##0_);_(\"$\"* (#,##0);_(\"$\"* \"-\"_);_(@_)");
    case 43: return QStringLiteral("_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"??_);_(@_)");
    case 44: return QStringLiteral("_(\"$\"* #,##0.00_);_(\"$\"* (#,##0.00);_(\"$\"* \"-\"??_);_(@_)");
    case 45: return QStringLiteral("mm:ss");
    case 46: return QStringLiteral("[h]:mm:ss");
    case 47: return QStringLiteral("mm:ss.0");
    case 48: return QStringLiteral("##0.0E+0");
    case 49: return QStringLiteral("@");
    default: return QStringLiteral("General");
    }
}

}  // namespace office::sheet
