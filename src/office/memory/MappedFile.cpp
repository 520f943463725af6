#include "office/memory/MappedFile.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace office::memory {

MappedFile::~MappedFile() {
    if (m_data) munmap(m_data, m_size);
}

bool MappedFile::open(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_size = std::size_t(st.st_size);
    if (m_size > 0) {
        void *p = mmap(nullptr, m_size, PROT_READ, MAP_SHARED, fd, 0);
        if (p == MAP_FAILED) {
            ::close(fd);
            m_size = 0;
            return false;
        }
        m_data = static_cast<char *>(p);
        // Read ahead generously and drop pages behind the reader early.
        madvise(m_data, m_size, MADV_SEQUENTIAL);
    }
    ::close(fd);  // the mapping keeps the file
    return true;
}

void MappedFile::release(std::size_t upTo) {
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    const std::size_t end = std::min(upTo, m_size) / page * page;
    if (!m_data || end <= m_released) return;
    madvise(m_data + m_released, end - m_released, MADV_DONTNEED);
    m_released = end;
}

}  // namespace office::memory
