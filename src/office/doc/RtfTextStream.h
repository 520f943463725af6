#pragma once

#include "office/ole/OfficeStatus.h"

#include <QString>

#include <memory>

namespace office::doc {

/// Reads the story of an RTF file front to back as text, a piece at a time,
/// without building a document: what RtfTextReader reads, read ahead on a
/// thread of its own while the caller works on the pieces before, as a word
/// processor lays out pages in the background. A few pieces are read ahead at
/// most, so memory stays bounded by what the caller keeps. Tables are not read:
/// the stream stops at the first table content and says so, and such a document
/// is read with RtfReader; so it does at a token longer than its window holds (a
/// picture's \binN of megabytes), and when memory runs out on the way.
class RtfTextStream {
public:
    RtfTextStream();
    /// Stops reading ahead.
    ~RtfTextStream();
    RtfTextStream(const RtfTextStream &) = delete;
    RtfTextStream &operator=(const RtfTextStream &) = delete;

    /// Opens the file and starts reading ahead. Fails for a file that cannot be
    /// read, a Word document (.doc), one larger than RtfReader::kMaxFileSize or
    /// one that is not RTF.
    Status open(const QString &path);

    /// Appends the next piece of the story to `text`: at least `atLeast`
    /// characters unless the story ends first. False when nothing follows what
    /// was appended: the story has ended, or readWholeNeeded().
    bool readMore(QString &text, qsizetype atLeast);

    /// True when reading stopped short: at table content, at a token the window
    /// could not hold, or for want of memory. The document is then for RtfReader.
    bool readWholeNeeded() const;

    /// Stops reading and lets go of the file and of what was read ahead.
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace office::doc
