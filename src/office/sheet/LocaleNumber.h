#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace office::sheet {

/// The symbols of a locale that numbers are typed with, asked once: asking the
/// system locale is slow enough to matter when every cell of a sheet is tested.
struct NumberSymbols {
    QString decimal, group, currency, minus, plus, percent;
    static NumberSymbols of(const QLocale &locale);
};

/// Reads a text as a number the way typing it into a cell does under the locale:
/// surrounding blanks, a leading sign or enclosing parentheses (negative), the
/// locale's currency symbol before or after the number, grouping separators in
/// groups of three before the decimal separator, the locale's decimal separator, an
/// exponent ("1,5E-3"), and, when acceptPercent, a trailing "%" that divides by 100.
/// Empty when the text is anything else (including an empty text and non-finite results).
std::optional<double> parseLocaleNumber(const QString &text, const QLocale &locale = QLocale::system(),
                                        bool acceptPercent = true);
std::optional<double> parseLocaleNumber(const QString &text, const NumberSymbols &symbols, bool acceptPercent = true);

}  // namespace office::sheet
