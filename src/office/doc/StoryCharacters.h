#pragma once

#include <QString>

namespace office::doc {

/// The word processor keeps a few characters of the story as internal codes:
/// 0x1F for an optional (soft) hyphen (RTF \-) and 0x1E for a non-breaking hyphen
/// (RTF \_). Text that leaves the document for another program (a cell, a comment)
/// carries the Unicode characters instead: U+00AD and U+2011.
QString unicodeText(QString storyText);

}  // namespace office::doc
