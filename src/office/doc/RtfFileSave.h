#pragma once

#include "office/doc/Formats.h"
#include "office/doc/RtfSaveMark.h"
#include "office/doc/Story.h"
#include "office/doc/Style.h"
#include "office/ole/OfficeStatus.h"

namespace office::doc {

/// What an RTF save writes: a document's style sheet, format tables and story.
/// The story is marked clean after a successful save.
struct RtfSaveSource {
    const Styles &styles;
    const FormatTable<CharFormat> &charFormats;
    const FormatTable<ParaFormat> &paraFormats;
    Story &story;
};

enum class RtfRewrite { Allowed, Refused };

/// Saves `source` as RTF to `path`. When the file is as the last save (`mark`)
/// left it and the story only grew behind what that save wrote, the new text is
/// appended in place of the old ending; otherwise the whole file is written
/// atomically, unless `rewrite` is Refused (the story no longer holds the text
/// already on disk), which is then a failure. `mark` is updated on success.
Status saveRtfFile(const QString &path, const RtfSaveSource &source, RtfSaveMark &mark, RtfRewrite rewrite);

}  // namespace office::doc
