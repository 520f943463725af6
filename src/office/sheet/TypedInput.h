#pragma once

#include "office/sheet/LocaleNumber.h"

#include <QLocale>
#include <QString>

namespace office::sheet {

/// What a text typed into a cell becomes.
struct TypedInput {
    enum Kind { Empty, Number, Date, Text, Bool, Error };
    Kind kind = Empty;
    /// The number, the date serial in the workbook's date system, 0/1 for a boolean
    /// or the BIFF error code for an error.
    double number = 0;
    QString text;       ///< for Text: the text, cut to kMaxCellText characters
    bool truncated = false;
};

/// Longest text a cell holds, in UTF-16 characters.
constexpr int kMaxCellText = 32767;

/// Interprets a text as typing it into a cell does under the locale: empty stays
/// empty; a number (parseLocaleNumber) becomes a number; a date in the locale's short
/// format (two- or four-digit year), optionally followed by a time, or a time alone,
/// becomes a date serial; an error literal ("#DIV/0!", "#N/A", ... in any letter case)
/// becomes that error; exactly "True" or "False", the texts a boolean cell is read as,
/// become that boolean when booleanCell (the cell typed into holds a boolean);
/// anything else, including a text starting with "=", stays text.
TypedInput interpretTypedText(const QString &text, const QLocale &locale, bool date1904, bool booleanCell = true);

/// A locale with its number symbols looked up once, for callers that type many
/// texts: asking the system locale for its symbols costs more than reading a number.
struct TypingLocale {
    explicit TypingLocale(const QLocale &l = QLocale::system()) : locale(l), symbols(NumberSymbols::of(l)) {}
    QLocale locale;
    NumberSymbols symbols;
};

/// interpretTypedText under `typing`.
TypedInput interpretTypedText(const QString &text, const TypingLocale &typing, bool date1904, bool booleanCell = true);

}  // namespace office::sheet
