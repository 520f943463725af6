#include "office/doc/BackgroundJob.h"

#include <chrono>
#include <system_error>

#include <pthread.h>

namespace office::doc {

namespace {

// Spins until `done` holds or `limit` has passed; true when it held.
template <typename Done>
bool spinUntil(Done done, std::chrono::microseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    for (int i = 1;; ++i) {
        if (done()) return true;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
        if (i % 64 == 0 && std::chrono::steady_clock::now() >= until) return done();
    }
}

// The owner waits for a job it needs done (a save of a few hundred cells takes
// about a tenth of a millisecond); the thread waits for the next job.
constexpr std::chrono::microseconds kOwnerSpin(200);
constexpr std::chrono::microseconds kThreadSpin(200);

}  // namespace

BackgroundJob::~BackgroundJob() {
    if (!m_thread.joinable()) return;
    wait();
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundJob::start(std::function<void()> job) {
    wait();
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread([this] { run(); });
        } catch (const std::system_error &) {
            // No thread to spare: the job runs here. It counts as started until it
            // is waited for, so that its owner collects the result as from a thread.
            job();
            m_started = true;
            return;
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_inHand.store(true, std::memory_order_release);
    }
    m_started = true;
    m_changed.notify_all();  // no system call while the thread spins rather than sleeps
}

void BackgroundJob::wait() {
    if (!m_started) return;
    if (!spinUntil([this] { return !m_inHand.load(std::memory_order_acquire); }, kOwnerSpin)) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_job; });
    }
    m_started = false;
}

void BackgroundJob::run() {
    pthread_setname_np(pthread_self(), "background-job");  // tells the thread apart in profilers
    for (;;) {
        spinUntil([this] { return m_inHand.load(std::memory_order_acquire); }, kThreadSpin);
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_job || m_stopping; });
            if (!m_job) return;  // stopping with nothing in hand
            job = m_job;
        }
        job();
        {
            std::lock_guard lock(m_mutex);
            m_job = nullptr;
            m_inHand.store(false, std::memory_order_release);
        }
        m_changed.notify_all();
    }
}

}  // namespace office::doc
