#pragma once

class QTextCodec;

namespace office::sheet {

/// The codec for a CODEPAGE record's value (Windows and Mac code pages; 1200 is
/// UTF-16LE); Windows-1252 for values without a codec.
const QTextCodec *codecForCodePage(int codePage);

}  // namespace office::sheet
