#pragma once

#include <QString>

#include <vector>

namespace office::sheet {

/// One element of a number-format section, in the order of the code.
struct FormatToken {
    enum class Kind {
        Literal,       ///< text shown as it is (quoted, escaped, blanks from '_', currency symbols)
        DigitZero,     ///< '0'
        DigitHash,     ///< '#'
        DigitSpace,    ///< '?'
        DecimalPoint,  ///< '.'
        Comma,         ///< ',' (group separator or scaling; see FormatSection)
        Percent,       ///< '%'
        Exponent,      ///< "E+" or "E-"; `alwaysSign` tells which
        Slash,         ///< '/' between the parts of a fraction
        TextValue,     ///< '@'
        General,       ///< the word "General"
        Year,          ///< width 2 or 4
        Month,         ///< width 1-2 numeric, 3 abbreviated, 4 full, 5 first letter
        Minute,        ///< 'm' read as minutes; width 1-2
        Day,           ///< width 1-2 numeric, 3 abbreviated, 4 full name
        Hour,          ///< width 1-2
        Second,        ///< width 1-2
        SubSecond,     ///< ".0" to ".000" after seconds; width = digits
        AmPm,          ///< "AM/PM" or "A/P"; `text` holds the code as written
        ElapsedHours,  ///< "[h]", width = letters
        ElapsedMinutes,
        ElapsedSeconds,
        DateSeparator, ///< '/' in a date: the locale's date separator
        EraYear,       ///< 'e': the year of the Japanese era under "[$-411]", else the year
        EraName,       ///< 'g' to 'ggg': the Japanese era's name under "[$-411]", else nothing
    };
    Kind kind = Kind::Literal;
    QString text;  ///< Literal: the text; AmPm: the code as written
    int width = 1;
    bool alwaysSign = false;  ///< Exponent: "E+" shows '+' for positive exponents
};

/// One ';'-separated part of a format code, parsed once.
struct FormatSection {
    enum class Compare { None, Less, LessEqual, Equal, GreaterEqual, Greater, NotEqual };

    std::vector<FormatToken> tokens;
    Compare compare = Compare::None;  ///< condition such as "[<100]"
    double compareValue = 0;
    int localeId = 0;  ///< LCID of a "[$-407]" tag (low 16 bits), 0 when none

    bool isDateTime = false;  ///< holds date or time codes
    bool hasTextValue = false;  ///< holds '@'
    bool hasDigits = false;     ///< holds digit placeholders

    /// Digit layout of a number section, worked out after tokenizing.
    bool grouping = false;  ///< a comma between integer digit placeholders
    int scaleThousands = 0; ///< trailing commas: divide by 1000 each
    int percentCount = 0;
    bool isFraction = false;
    bool isScientific = false;

    bool matches(double value) const;
};

/// A whole format code: up to four sections (positive; negative; zero; text).
struct FormatCode {
    std::vector<FormatSection> sections;
};

/// Parses an Excel number-format code as stored in BIFF8 FORMAT records (English
/// syntax: '.' decimal point, ',' thousands). Never fails: what it does not know
/// is kept as literal text. At most four sections are read.
FormatCode parseFormatCode(const QString &code);

}  // namespace office::sheet
