#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QString>

namespace office::doc {

class Document;

/// Reads RTF as Word, LibreOffice and translation tools write it into a document:
/// the story (paragraphs, line breaks, tabs, tables; field results; nested tables
/// flattened into their outer cell), character runs with their character style
/// and direct formatting, paragraph styles, and the style sheet. Unknown and
/// \* destinations, pictures, objects, headers, footers and notes are skipped.
/// Text is decoded with the code page of \ansicpg and of each font's \fcharset
/// or \cpg; \uN with \ucN skipping.
///
/// Malformed input never crashes or hangs the reader: missing closing braces are
/// tolerated, groups nested deeper than kMaxDepth are skipped, and files larger
/// than kMaxFileSize are refused.
class RtfReader {
public:
    static constexpr qint64 kMaxFileSize = qint64(512) << 20;
    static constexpr int kMaxDepth = 1000;

    /// Replaces the story and style sheet of `into` with what the bytes hold.
    /// Fails, with the byte offset, for data that is not RTF.
    static Status read(const QByteArray &bytes, Document &into);
    static Status readFile(const QString &path, Document &into);
};

}  // namespace office::doc
