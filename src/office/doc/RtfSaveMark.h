#pragma once

#include <QHash>
#include <QString>

namespace office::doc {

/// What the last full RTF save of a document left on disk, so that a later save
/// of a document that only grew at its end can append instead of rewriting.
struct RtfSaveMark {
    bool valid = false;
    QString path;
    qint64 bodyEnd = 0;     ///< byte offset where the final paragraph mark's output starts
    int writtenEnd = 0;     ///< story position written up to (the final mark's position then)
    int styleRevision = -1; ///< Styles::revision() written
    qint64 fileSize = 0;    ///< size and modification time (ns) of the file as we left it
    qint64 fileTimeNs = 0;
    QHash<QString, int> fontNumbers;  ///< font name -> \fN
    QHash<int, int> colorNumbers;     ///< colour -> \cfN
};

}  // namespace office::doc
