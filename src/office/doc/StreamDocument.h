#pragma once

#include "office/doc/Formats.h"
#include "office/doc/RtfSaveMark.h"
#include "office/doc/Story.h"
#include "office/doc/Style.h"
#include "office/ole/OfficeStatus.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace office::doc {

/// A document that is only ever typed at its end and saved as RTF as it grows:
/// what generated documents of any size need. After each save it lets go of the
/// paragraphs now on disk, so its memory stays that of the text typed since, and
/// every save appends to the file. The file is byte for byte what Document writes
/// for the same text, formats and saves.
///
/// Styles may change until text has been let go of; afterwards the style sheet
/// on disk can no longer be rewritten and a save that would need to is refused.
class StreamDocument {
public:
    StreamDocument();
    StreamDocument(const StreamDocument &) = delete;
    StreamDocument &operator=(const StreamDocument &) = delete;

    Styles &styles() { return m_styles; }
    /// Full path of the file, empty before saveAs.
    QString fullName() const { return m_path; }

    /// The format number of text in the character style `name`; nullopt when the
    /// document has no character style of that name.
    std::optional<quint32> characterStyleFormat(const QString &name);
    /// Types text at the end in character format `charFormat` (0: no style, no
    /// direct formatting; else a number from characterStyleFormat). Line feeds
    /// become paragraph marks as typing makes them.
    void typeText(QStringView text, quint32 charFormat = 0);

    /// Writes the document as RTF under `path` (absolute or relative).
    Status saveAs(const QString &path);
    /// Writes what was typed since the last save to the end of the file.
    Status save();

private:
    void releaseWrittenParagraphs();

    Styles m_styles;
    FormatTable<CharFormat> m_charFormats;
    FormatTable<ParaFormat> m_paraFormats;
    Story m_story;  // from the first paragraph not yet let go of to the final paragraph mark
    RtfSaveMark m_saveMark;
    QString m_path;
    bool m_released = false;  // some text lives only in the file
};

}  // namespace office::doc
