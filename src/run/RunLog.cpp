#include "run/RunLog.h"

namespace celltrove::run {

bool RunLog::OpenLog(const QString &path, bool append) {
    if (m_file.isOpen()) m_file.close();
    m_error.clear();
    m_file.setFileName(path);
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | (append ? QIODevice::Append : QIODevice::Truncate);
    if (!m_file.open(mode)) {
        m_error = m_file.errorString();
        return false;
    }
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
