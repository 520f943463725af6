#pragma once

#include <QString>

namespace office::sheet {

/// Column letters of a 0-based column: 0 -> "A", 25 -> "Z", 26 -> "AA", 255 -> "IV".
QString columnLetters(int column0);

/// A1-style cell reference of 0-based row and column; '$' marks the absolute parts.
QString cellReferenceText(int row0, int column0, bool rowRelative, bool columnRelative);

/// True when a sheet name must be quoted in a formula ('My Sheet'!A1).
bool sheetNameNeedsQuotes(const QString &name);

/// `text` in apostrophes, inner apostrophes doubled.
QString quotedName(const QString &text);

}  // namespace office::sheet
