#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace office::memory {

/// Faults in the pages of a large block on a thread of its own while the owner fills
/// the block from its start. On a virtual machine the first touch of a fresh page
/// costs more than filling it, and two threads take those faults side by side, so the
/// owner then finds most pages already there. The thread works from the end of the
/// block towards its start and never reads or writes the block's bytes.
class BackgroundPrefault {
public:
    BackgroundPrefault() = default;
    /// Starts on blocks from kWorthFrom bytes; smaller ones are left to the owner.
    BackgroundPrefault(void *block, std::size_t bytes);
    ~BackgroundPrefault() { stop(); }
    BackgroundPrefault(const BackgroundPrefault &) = delete;
    BackgroundPrefault &operator=(const BackgroundPrefault &) = delete;

    /// Stops the thread and waits for it; call it before the block is released or moved.
    void stop();

    static constexpr std::size_t kWorthFrom = std::size_t(4) << 20;

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

}  // namespace office::memory
