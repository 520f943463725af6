#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>

#include <vector>

namespace office::doc {

/// One piece of the text: characters [cpStart, cpEnd) stored from byte offset fc
/// of the WordDocument stream, one byte each (Windows-1252) when compressed,
/// else two (UTF-16LE).
struct DocPiece {
    qint32 cpStart = 0;
    qint32 cpEnd = 0;
    quint32 fc = 0;
    bool compressed = false;
    quint16 prm = 0;  ///< property modifier of a fast-saved file (0 = none)

    quint32 bytesPerChar() const { return compressed ? 1 : 2; }
    quint32 fcEnd() const { return fc + quint32(cpEnd - cpStart) * bytesPerChar(); }
};

/// The piece table (Clx) of the table stream.
namespace DocPieceTable {

/// A Clx holding only a piece-descriptor table over the given pieces.
QByteArray write(const std::vector<DocPiece> &pieces);

/// Reads the Clx at `offset` of the table stream (length `length`): property
/// lists of fast-saved files are skipped, the pieces checked to be in order and
/// to lie within a WordDocument stream of `streamSize` bytes.
Status read(const QByteArray &tableStream, quint32 offset, quint32 length, qint64 streamSize,
            std::vector<DocPiece> &pieces);

}  // namespace DocPieceTable

}  // namespace office::doc
