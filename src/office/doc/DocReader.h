#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QString>

namespace office::doc {

class Document;

/// Reads a Word 97-2003 document into the engine's model: the main story's text
/// through the piece table (8-bit and UTF-16 pieces, several pieces in any
/// order on disk), fields through their results, character runs with their
/// character style and direct formatting, paragraph styles, tables (nested ones
/// flattened into their outer cell) and the style sheet. Headers, footers,
/// notes, comments and text boxes are not read. Fast-saved files are read for
/// their text and the formatting of their property pages; the property changes
/// kept in their piece table are not applied.
///
/// Refused with a reason and the byte offset (in the stream named in the reason):
/// files that are not compound files or have no WordDocument stream, Word 95 and
/// older, encrypted or obfuscated documents, and streams cut short or pointing
/// outside themselves. Memory stays bounded by the file's size: a file on disk
/// keeps its WordDocument stream there (text read in parts, property pages one
/// at a time), so that it is not held next to the story decoded from it.
class DocReader {
public:
    static constexpr qint64 kMaxFileSize = qint64(512) << 20;

    /// Replaces the story and style sheet of `into` with what the compound file holds.
    static Status read(const QByteArray &bytes, Document &into);
    static Status readFile(const QString &path, Document &into);
};

}  // namespace office::doc
