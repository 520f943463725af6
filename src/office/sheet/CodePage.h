#pragma once

class QTextCodec;

namespace office::sheet {

/// The codec for a CODEPAGE record's value (Windows and Mac code pages), or nullptr
/// when there is none (1200, UTF-16, needs no codec).
const QTextCodec *codecForCodePage(int codePage);

}  // namespace office::sheet
