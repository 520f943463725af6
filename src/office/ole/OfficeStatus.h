#pragma once

#include <QString>

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

}  // namespace office
