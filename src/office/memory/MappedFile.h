#pragma once

#include <cstddef>
#include <string>

namespace office::memory {

/// A whole file mapped read-only, for readers that go through a large file once
/// from its start. Its pages come from the page cache: nothing is copied and no
/// fresh memory is zeroed, and pages already read can be handed back to the
/// kernel, so a front-to-back reader keeps only a few pages of the file resident.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    /// Maps the file at `path` (a local path in the file system's encoding).
    /// False, with nothing mapped, when the file cannot be opened or mapped;
    /// an empty file maps to no bytes and succeeds.
    bool open(const std::string &path);

    const char *data() const { return m_data; }
    std::size_t size() const { return m_size; }

    /// Lets the kernel take back the whole pages below byte offset `upTo`; they
    /// are read again from the file should they be touched later.
    void release(std::size_t upTo);

private:
    char *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_released = 0;
};

}  // namespace office::memory
