#pragma once

#include "office/doc/Story.h"
#include "office/ole/OfficeStatus.h"

#include <QString>

namespace office::doc {

class Document;

/// Saves stretches of a document's story as RTF files of their own, each the file
/// that a new document holding only that stretch would save: the document's style
/// sheet, the formats the stretch uses, a final paragraph mark of its own. No such
/// document is built: the stretch is copied once into a story that the saver keeps
/// from one file to the next, so cutting a long document into many parts reuses
/// the same memory instead of touching fresh pages for every part.
class RtfStretchSaver {
public:
    /// Writes [from, to) of `source`'s story (clamped to the text before its final
    /// paragraph mark) to `path`, replacing a file there only when all is written.
    Status save(const Document &source, int from, int to, const QString &path);

private:
    Story m_story;
};

}  // namespace office::doc
