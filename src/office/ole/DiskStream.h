#pragma once

#include <QtGlobal>

#include <memory>

namespace office::ole {

/// One stream of a compound file on disk, read at offsets instead of held whole:
/// for a stream as large as the file whose contents are decoded into something
/// that grows as large again. Filled by CompoundFile::read; move-only.
class DiskStream {
public:
    DiskStream();
    DiskStream(DiskStream &&) noexcept;
    DiskStream &operator=(DiskStream &&) noexcept;
    ~DiskStream();

    /// True once CompoundFile::read has found the stream.
    bool isOpen() const;
    /// Size in bytes; 0 when not open.
    qint64 size() const;
    /// Copies [offset, offset + n) into `into`; false when that lies outside the
    /// stream or cannot be read.
    bool read(qint64 offset, qint64 n, char *into) const;

private:
    friend class CompoundFile;
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

}  // namespace office::ole
