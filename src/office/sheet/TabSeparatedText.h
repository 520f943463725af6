#pragma once

#include "office/ole/OfficeStatus.h"

#include <QString>

namespace office::sheet {

class Worksheet;

/// The character sets of the text save (SaveAs xlText and xlUnicodeText).
enum class TextFileEncoding {
    Utf8,           ///< "Text": UTF-8 without BOM, the platform's text
    Utf16LeWithBom  ///< "UnicodeText": UTF-16 little-endian with a byte-order mark
};

/// A field as the spreadsheet writes it into tab-separated text: a field holding a
/// tab, a double quote, a line feed or a carriage return is enclosed in double
/// quotes with every inner quote doubled; any other field is written as it is.
QString quotedTextField(const QString &field);

/// The sheet as tab-separated text: every row of the used rectangle from A1 to the
/// lowest filled row and rightmost filled column, each cell's text() (display text,
/// or formula text when formulas are displayed), every row ending in CR LF, every
/// row as wide as the rectangle. An empty sheet gives one empty row.
QString tabSeparatedText(const Worksheet &sheet);

/// Writes tabSeparatedText() to `path` in `encoding`, atomically (a half-written
/// file never replaces an older one).
Status saveSheetAsText(const Worksheet &sheet, const QString &path, TextFileEncoding encoding);

}  // namespace office::sheet
