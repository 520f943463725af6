#pragma once

#include "office/ole/OfficeStatus.h"

#include <QString>

#include <memory>

namespace office::doc {

/// What RtfTextStream reads ahead with: the story of an RTF file as text, front
/// to back, on the caller's thread. The file is read a few megabytes at a time
/// into one window, through the reader RtfReader uses, which then appends to no
/// story. The operations are those of RtfTextStream.
class RtfTextReader {
public:
    RtfTextReader();
    ~RtfTextReader();
    RtfTextReader(const RtfTextReader &) = delete;
    RtfTextReader &operator=(const RtfTextReader &) = delete;

    Status open(const QString &path);
    bool readMore(QString &text, qsizetype atLeast);
    bool readWholeNeeded() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace office::doc
