#pragma once

#include "office/doc/BackgroundJob.h"
#include "office/doc/Formats.h"
#include "office/doc/RtfFileSave.h"
#include "office/doc/RtfSaveMark.h"
#include "office/doc/Story.h"
#include "office/doc/Style.h"
#include "office/ole/OfficeStatus.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace office::doc {

/// When a save of a StreamDocument writes the file.
enum class SaveTiming {
    Now,         ///< before save() returns
    Background,  ///< on a thread of its own while typing goes on, as Word's background save
};

/// A document that is only ever typed at its end and saved as RTF as it grows:
/// what generated documents of any size need. Each save hands the paragraphs
/// typed since the last one to the file and lets go of them, so memory stays
/// that of the text typed since, and every save appends to the file. The file is
/// byte for byte what Document writes for the same text, formats and saves.
///
/// Styles may change until text has been let go of; afterwards the style sheet
/// on disk can no longer be rewritten and a save that would need to is refused.
class StreamDocument {
public:
    StreamDocument();
    /// Waits for a background save in hand.
    ~StreamDocument();
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

    /// Writes the document as RTF under `path` (absolute or relative), at once.
    Status saveAs(const QString &path);
    /// Writes what was typed since the last save to the end of the file. A save
    /// first waits for a background save in hand; it returns that save's failure
    /// when it failed, since the file then lacks its text. A Background save
    /// reports its own outcome through the next save or waitForSave().
    Status save(SaveTiming timing = SaveTiming::Now);
    /// Waits for a background save in hand and returns its outcome (success when none).
    Status waitForSave();

private:
    // What a background save works on: its own copies of everything it reads.
    struct BackgroundSave {
        Styles styles;
        FormatTable<CharFormat> charFormats;
        FormatTable<ParaFormat> paraFormats;
        Story story;
        RtfSaveMark mark;
        RtfRewrite rewrite = RtfRewrite::Allowed;
        int keptFrom = 0;  // where the story typing goes on in starts
        Status status;
    };

    void startBackgroundSave();
    int finalParagraphStart() const;
    void releaseWrittenParagraphs();

    Styles m_styles;
    FormatTable<CharFormat> m_charFormats;
    FormatTable<ParaFormat> m_paraFormats;
    Story m_story;  // from the first paragraph not yet let go of to the final paragraph mark
    RtfSaveMark m_saveMark;
    QString m_path;
    bool m_released = false;  // some text lives only in the file
    BackgroundSave m_background;  // owned by the background thread while a save is in hand
    BackgroundJob m_job;
};

}  // namespace office::doc
