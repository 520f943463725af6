#include "office/sheet/TypedInput.h"

#include "office/sheet/CellValue.h"
#include "office/sheet/ExcelDate.h"
#include "office/sheet/LocaleNumber.h"
#include "office/sheet/ValueText.h"

namespace office::sheet {
namespace {

// Date and time patterns in the order tried: what valueToText writes first.
QStringList datePatterns(const QLocale &locale) {
    const QString dates[] = {shortDatePatternWithFullYear(locale), locale.dateFormat(QLocale::ShortFormat)};
    const QString times[] = {timePatternWithSeconds(locale), locale.timeFormat(QLocale::ShortFormat)};
    QStringList patterns;
    for (const QString &d : dates) {
        for (const QString &t : times) patterns << d + QLatin1Char(' ') + t;
        patterns << d;
    }
    return patterns;
}

std::optional<double> parseDate(const QString &text, const QLocale &locale, bool date1904) {
    // Dates need digits and a separator; this keeps plain words away from the parser.
    if (text.size() < 3 || !text.front().isDigit()) return std::nullopt;
    for (const QString &pattern : datePatterns(locale)) {
        QDateTime dt = locale.toDateTime(text, pattern);
        if (!dt.isValid()) continue;
        QDate date = dt.date();
        // A two-digit year reads as 1930-2029, as the spreadsheet reads it.
        if (!pattern.contains(QLatin1String("yyyy")) && date.year() < 1930) date = date.addYears(100);
        return dateTimeToSerial(QDateTime(date, dt.time()), date1904);
    }
    for (const QString &pattern : {timePatternWithSeconds(locale), locale.timeFormat(QLocale::ShortFormat)}) {
        const QTime time = locale.toTime(text, pattern);
        if (time.isValid()) return double(time.msecsSinceStartOfDay()) / 86400000.0;
    }
    return std::nullopt;
}

// BIFF error code of a spreadsheet error literal, compared as the spreadsheet
// compares what is typed: without regard to letter case.
std::optional<std::uint8_t> errorLiteralCode(const QString &text) {
    if (text.size() < 4 || text.front() != QLatin1Char('#')) return std::nullopt;
    for (const std::uint8_t code : {0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A})
        if (text.compare(errorText(code), Qt::CaseInsensitive) == 0) return code;
    return std::nullopt;
}

}  // namespace

TypedInput interpretTypedText(const QString &text, const QLocale &locale, bool date1904, bool booleanCell) {
    return interpretTypedText(text, TypingLocale(locale), date1904, booleanCell);
}

TypedInput interpretTypedText(const QString &text, const TypingLocale &typing, bool date1904, bool booleanCell) {
    const QLocale &locale = typing.locale;
    TypedInput input;
    if (text.isEmpty()) return input;
    if (const auto number = parseLocaleNumber(text, typing.symbols)) {
        input.kind = TypedInput::Number;
        input.number = *number;
        return input;
    }
    if (const auto serial = parseDate(text.trimmed(), locale, date1904)) {
        input.kind = TypedInput::Date;
        input.number = *serial;
        return input;
    }
    if (const auto code = errorLiteralCode(text)) {
        input.kind = TypedInput::Error;
        input.number = *code;
        return input;
    }
    // Only the exact texts a boolean is read as, and only into a cell that holds a
    // boolean: a text cell keeps the word, and a translated word stays a text.
    if (booleanCell && (text == QLatin1String("True") || text == QLatin1String("False"))) {
        input.kind = TypedInput::Bool;
        input.number = text == QLatin1String("True") ? 1 : 0;
        return input;
    }
    input.kind = TypedInput::Text;
    input.text = text;
    if (input.text.size() > kMaxCellText) {
        // Do not cut a surrogate pair in half.
        int cut = kMaxCellText;
        if (input.text.at(cut - 1).isHighSurrogate()) --cut;
        input.text.truncate(cut);
        input.truncated = true;
    }
    return input;
}

}  // namespace office::sheet
