#include "office/memory/BackgroundPrefault.h"

#include <cstdint>
#include <system_error>

#include <pthread.h>
#include <sys/mman.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

namespace office::memory {

namespace {

constexpr std::uintptr_t kPage = 4096;
constexpr std::size_t kStep = std::size_t(2) << 20;  // 2 MiB per call, to stop soon when asked

}  // namespace

BackgroundPrefault::BackgroundPrefault(void *block, std::size_t bytes) {
    if (!block || bytes < kWorthFrom) return;
    // madvise wants page-aligned bounds; only whole pages inside the block are touched.
    const auto start = (reinterpret_cast<std::uintptr_t>(block) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(kPage - 1);
    if (end <= start) return;
    try {
        m_thread = std::thread([this, start, end] {
            pthread_setname_np(pthread_self(), "prefault");
            for (std::uintptr_t at = end; at > start && !m_stop.load(std::memory_order_relaxed);) {
                const std::uintptr_t from = at - start > kStep ? at - kStep : start;
                // Where the kernel cannot (too old, out of memory), the owner's writes fault as usual.
                if (madvise(reinterpret_cast<void *>(from), at - from, MADV_POPULATE_WRITE) != 0) return;
                at = from;
            }
        });
    } catch (const std::system_error &) {
        // No thread to spare: the owner faults its pages itself.
    }
}

void BackgroundPrefault::stop() {
    m_stop.store(true, std::memory_order_relaxed);
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace office::memory
