#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <vector>

// libgsf's output type, declared as gsf-fwd.h does.
typedef struct _GsfOutput GsfOutput;

namespace office::ole {

class DiskStream;

/// One stream or storage of an OLE2 compound file.
struct Entry {
    /// Path inside the file, storages separated by '/', e.g. "_VBA_PROJECT_CUR/VBA/dir".
    QString path;
    bool isStorage = false;
    /// Stream bytes; empty for storages.
    QByteArray data;
    /// A stream to be written from pieces, one after another, in place of `data`:
    /// a large stream built in parts need not be joined to be written.
    std::vector<QByteArray> pieces;
    /// Class id of a storage (all zero for streams and unset storages).
    std::array<unsigned char, 16> classId{};
};

/// An OLE2 compound file held in memory: every stream and storage in the order the
/// file lists them, so that a writer can put back what it did not change.
class CompoundFile {
public:
    /// Reads a compound file from disk. On failure returns a status with the reason.
    static Status read(const QString &path, CompoundFile &out);
    /// The same, but the stream named `leaveOnDisk` (when there is one) is only
    /// checked to be readable: its entry keeps no data and `stream` reads it from
    /// the file at offsets.
    static Status read(const QString &path, CompoundFile &out, const QString &leaveOnDisk, DiskStream &stream);
    /// Reads a compound file held in memory.
    static Status readBytes(const QByteArray &bytes, CompoundFile &out);

    /// Serialises all entries, in order, into a new compound file image.
    Status writeBytes(QByteArray &out) const;
    /// Writes the compound file straight to disk: into a temporary file in the
    /// same folder, renamed over `path` only once complete.
    Status writeFile(const QString &path) const;
    /// Writes the compound file into an open, empty file from its start, without an
    /// image of it in memory; the descriptor stays open and is not synced.
    Status writeToDescriptor(int fd) const;

    const std::vector<Entry> &entries() const { return m_entries; }
    std::vector<Entry> &entries() { return m_entries; }

    /// The entry with this path (case-insensitive as OLE2 names are), or nullptr.
    const Entry *find(const QString &path) const;
    Entry *find(const QString &path);

    /// Adds a stream, or replaces the data of an existing one. Parent storages
    /// must already exist.
    void setStream(const QString &path, const QByteArray &data);
    /// The same for a stream that is written from pieces in turn.
    void setStream(const QString &path, std::vector<QByteArray> pieces);

    /// Class id of the root storage.
    std::array<unsigned char, 16> rootClassId{};

    /// Largest stream the reader accepts; bigger ones are refused, not allocated.
    static constexpr qint64 kMaxStreamSize = qint64(1) << 30;

private:
    /// `passed` (when given) is called whenever another few megabytes of stream
    /// data have been handed to the sink.
    Status writeTo(GsfOutput *sink, const std::function<void()> &passed = {}) const;
    std::vector<Entry> m_entries;
};

/// True when the bytes start with the OLE2 signature D0 CF 11 E0 A1 B1 1A E1.
bool hasOle2Signature(const QByteArray &head);

}  // namespace office::ole
