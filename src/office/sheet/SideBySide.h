#pragma once

#include <future>
#include <system_error>

namespace office::sheet {

/// Runs `aside` on a second thread while `here` runs on the caller's, and returns
/// when both are done. The two must not touch the same data. An exception from
/// `here` is thrown once `aside` has ended; one from `aside` is thrown after
/// `here` ran. Where no thread can be started, both run here, one after the other.
template <typename Aside, typename Here>
void runSideBySide(Aside &&aside, Here &&here) {
    std::future<void> other;
    try {
        other = std::async(std::launch::async, [&aside] { aside(); });
    } catch (const std::system_error &) {
        aside();
        here();
        return;
    }
    here();  // should it throw, the future's destructor waits for `aside`
    other.get();
}

}  // namespace office::sheet
