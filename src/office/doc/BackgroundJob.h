#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace office::doc {

/// Runs one job at a time on a thread of its own, as a word processor's
/// background save does. The thread starts with the first job and ends with the
/// object, which first waits for the job in hand.
///
/// Jobs come often and are short (a save every few hundred cells), so both
/// sides wait a little while spinning before they sleep: sleeping and waking
/// each cost a system call, which took a tenth of an export's time.
class BackgroundJob {
public:
    BackgroundJob() = default;
    BackgroundJob(const BackgroundJob &) = delete;
    BackgroundJob &operator=(const BackgroundJob &) = delete;
    ~BackgroundJob();

    /// Waits for the job in hand, then hands `job` to the thread.
    void start(std::function<void()> job);
    /// Returns once no job is in hand.
    void wait();
    /// Whether a job was started and not yet waited for.
    bool busy() const { return m_started; }

private:
    void run();

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;           // set while a job waits or runs; guarded by m_mutex
    std::atomic<bool> m_inHand{false};     // m_job is set: the spinning side's view of it
    bool m_stopping = false;               // guarded by m_mutex
    bool m_started = false;                // touched by the owning thread only
};

}  // namespace office::doc
