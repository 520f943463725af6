#pragma once

// Runs a piece of a test in a forked child, so that a limit (file size, CPU time)
// or a SIGKILL hits the child alone and the test looks at what it left behind.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

struct ChildLimits {
    rlim_t fileSizeBytes = RLIM_INFINITY;  ///< RLIMIT_FSIZE; SIGXFSZ is ignored, so writes past it fail
    rlim_t cpuSeconds = RLIM_INFINITY;     ///< RLIMIT_CPU
};

/// Forks; the child sets the limits, runs body and leaves with its result through _exit
/// (no destructors, no leak check: the parent owns the test). Returns the child's pid.
inline pid_t startChild(const std::function<int()> &body, const ChildLimits &limits = {}) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    if (limits.fileSizeBytes != RLIM_INFINITY) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limits.fileSizeBytes, limits.fileSizeBytes};
        ::setrlimit(RLIMIT_FSIZE, &size);
    }
    if (limits.cpuSeconds != RLIM_INFINITY) {
        const rlimit cpu{limits.cpuSeconds, limits.cpuSeconds};
        ::setrlimit(RLIMIT_CPU, &cpu);
    }
    ::_exit(body());
}

/// The child's exit status, or 128 + signal when a signal ended it.
inline int waitForChild(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline int runInChild(const std::function<int()> &body, const ChildLimits &limits = {}) {
    return waitForChild(startChild(body, limits));
}

/// Resident size of a process in bytes (0 when it is gone).
inline std::uint64_t residentBytes(pid_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * std::uint64_t(::sysconf(_SC_PAGESIZE));
}

#if defined(__SANITIZE_ADDRESS__)
/// ASan keeps freed blocks in a quarantine of up to 256 MB before reusing them.
inline constexpr std::uint64_t kSanitizerAllowance = 256ull << 20;
#else
inline constexpr std::uint64_t kSanitizerAllowance = 0;
#endif

/// What a child run under a memory watchdog came to.
struct BoundedRun {
    int status = -1;                    ///< exit status, or 128 + signal
    bool overMemory = false;            ///< stopped by the watchdog
    std::uint64_t peakGrowthBytes = 0;  ///< highest resident size seen over the parent's at the fork
};

/// Runs body in a child under a CPU limit and stops it (SIGKILL) when its resident
/// size grows more than maxGrowthBytes (plus the sanitizer's quarantine) over the
/// parent's at the fork. Resident size and not RLIMIT_AS: the sanitizers reserve
/// terabytes of address space up front.
inline BoundedRun runWithinMemory(const std::function<int()> &body, std::uint64_t maxGrowthBytes,
                                  rlim_t cpuSeconds = 300) {
    const std::uint64_t base = residentBytes(::getpid());
    const pid_t pid = startChild(body, ChildLimits{RLIM_INFINITY, cpuSeconds});
    BoundedRun run;
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, WNOHANG, &usage) != pid) {
        const std::uint64_t resident = residentBytes(pid);
        if (resident > base) run.peakGrowthBytes = std::max(run.peakGrowthBytes, resident - base);
        if (resident > base + maxGrowthBytes + kSanitizerAllowance) {
            run.overMemory = true;
            ::kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The kernel's own peak catches what the polls missed.
    const std::uint64_t peak = std::uint64_t(usage.ru_maxrss) * 1024;
    if (peak > base) run.peakGrowthBytes = std::max(run.peakGrowthBytes, peak - base);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

}  // namespace testsupport
