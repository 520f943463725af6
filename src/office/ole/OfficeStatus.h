#pragma once

#include <QString>

#include <new>

namespace office {

/// Result of an engine call that can fail. Engines never throw across their API:
/// they return a status with a readable reason and, for readers, the byte offset
/// in the stream where reading stopped (-1 when it does not apply).
struct Status {
    bool ok = true;
    QString message;
    qint64 offset = -1;

    static Status success() { return {}; }
    static Status failure(const QString &message, qint64 offset = -1) { return {false, message, offset}; }
    explicit operator bool() const { return ok; }
};

/// Runs a reader and returns its status. An allocation that fails on the way (a
/// file that needs more memory than the process may have) becomes a refusal with
/// `reason`: the reader's partial result is released as the failure unwinds.
template <typename Read>
Status refuseWhenOutOfMemory(Read &&read, const QString &reason) {
    try {
        return read();
    } catch (const std::bad_alloc &) {
        return Status::failure(reason);
    }
}

}  // namespace office
