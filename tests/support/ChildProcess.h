#pragma once

// Runs a piece of a test in a forked child, so that a limit (file size, CPU time)
// or a SIGKILL hits the child alone and the test looks at what it left behind.

#include <csignal>
#include <functional>

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

}  // namespace testsupport
