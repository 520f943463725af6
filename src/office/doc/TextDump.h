#pragma once

#include <QString>

namespace office::doc {

class Document;

/// A line-per-paragraph dump of what a document holds, for `celltrove-cli text`
/// and for tests: the paragraph number (1-based, counted as Paragraphs counts
/// them), a tab, then the text with each run that has a character style written
/// as [style]text[/]. Line breaks show as \v, tabs as \t, a backslash as \\.
/// A table row is one line: its first paragraph's number, "#cell-row", and the
/// cells separated by "|" (a "|" inside a cell as \|, a paragraph mark as \p).
QString dumpText(const Document &document);

}  // namespace office::doc
