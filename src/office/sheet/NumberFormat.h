#pragma once

#include "office/sheet/FormatValue.h"
#include "office/sheet/NumberFormatCode.h"

#include <QLocale>
#include <QString>

namespace office::sheet {

/// What a display text depends on besides the value and the code.
struct DisplaySettings {
    DateSystem dateSystem = DateSystem::Windows1900;
    /// Decimal and group separators, month and day names.
    QLocale locale = QLocale::system();
};

/// An Excel number-format code, parsed once, applied to values as the cell
/// shows them: sections and conditions, digit placeholders, grouping and
/// scaling, percent, exponent, fractions, text, dates and times. Colours and
/// fill characters are not shown.
class NumberFormat {
public:
    explicit NumberFormat(const QString &code);

    const QString &code() const { return m_code; }
    /// True when a number under this format is a date or time (the first
    /// section holds date or time codes).
    bool isDateTime() const;

    /// The text the cell shows for `value`.
    QString displayText(const FormatValue &value, const DisplaySettings &settings) const;

private:
    QString numberText(double value, const DisplaySettings &settings) const;
    QString textValueText(const QString &text) const;

    QString m_code;
    FormatCode m_parsed;
};

}  // namespace office::sheet
