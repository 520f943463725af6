#pragma once

#include "office/ole/OfficeStatus.h"

#include <QString>

#include <memory>

namespace office::doc {

/// Reads the story of an RTF file front to back as text, on the caller's
/// thread: what RtfTextStream reads ahead with. The characters are those the
/// RtfReader puts into the story (paragraph marks 13, line breaks 11, tabs, the
/// internal hyphen codes), decoded and skipped the same way, ending with a
/// paragraph mark. The file is read a few megabytes at a time into one window.
/// Tables are not read: reading stops at the first table content and says so;
/// so it does at a token longer than its window holds (a picture's \binN of
/// megabytes).
class RtfTextReader {
public:
    RtfTextReader();
    ~RtfTextReader();
    RtfTextReader(const RtfTextReader &) = delete;
    RtfTextReader &operator=(const RtfTextReader &) = delete;

    /// Opens the file. Fails for a file that cannot be read, a Word document
    /// (.doc), one larger than RtfReader::kMaxFileSize or one that is not RTF.
    Status open(const QString &path);
    /// Appends the next piece of the story to `text`: at least `atLeast`
    /// characters unless the story ends first. False when nothing follows what
    /// was appended: the story has ended, or readWholeNeeded().
    bool readMore(QString &text, qsizetype atLeast);
    /// True when reading stopped short: at table content, or at a token the
    /// window could not hold.
    bool readWholeNeeded() const;
    /// Bytes of the file read so far, and its size.
    qint64 bytesRead() const;
    qint64 size() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace office::doc
