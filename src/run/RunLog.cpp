#include "run/RunLog.h"

#include <cerrno>

#include <sys/file.h>

namespace celltrove::run {

bool RunLog::OpenLog(const QString &path, bool append) {
    if (m_file.isOpen()) m_file.close();
    m_error.clear();
    m_file.setFileName(path);
    // Always opened for appending, so that each line lands whole at the end even when
    // another run writes the same log. Each run holds a shared lock on it; a run that
    // replaces the log empties it only when no other run holds one, and so never
    // wipes the lines of a run still going.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_error = m_file.errorString();
        return false;
    }
    const int fd = m_file.handle();
    // A file system without locks (EWOULDBLOCK is the only "held by another run") is emptied as before.
    if (!append && (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) && !m_file.resize(0)) {
        m_error = m_file.errorString();
        m_file.close();
        return false;
    }
    ::flock(fd, LOCK_SH);
    return true;
}

bool RunLog::WriteLog(const QString &line) {
    if (!m_file.isOpen()) return false;
    const QByteArray bytes = line.toUtf8() + "\r\n";
    // Flushed line by line: a log must show how far a run got even if it dies.
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        if (m_error.isEmpty()) m_error = m_file.errorString();
        return false;
    }
    return true;
}

bool RunLog::CloseLog() {
    if (!m_file.isOpen()) return m_error.isEmpty();
    const bool flushed = m_file.flush();
    if (!flushed && m_error.isEmpty()) m_error = m_file.errorString();
    m_file.close();
    return flushed && m_error.isEmpty();
}

}  // namespace celltrove::run
