#pragma once

#include <QFile>
#include <QString>

namespace celltrove::run {

/// The run log: one text file per run, UTF-8 without BOM, one line per
/// `WriteLog`, each ending in CR LF, with nothing added to the caller's text.
class RunLog {
public:
    /// Opens `path` for writing: `append` false replaces an existing file (unless
    /// another run is writing it: then both runs' lines follow each other), true
    /// adds to it (creating it when absent). False with `errorString()` when the
    /// file cannot be opened.
    bool OpenLog(const QString &path, bool append);
    /// Writes `line` + CR LF. False when the log is not open or the write failed;
    /// the first failure is kept in `errorString()`.
    bool WriteLog(const QString &line);
    /// Closes the log; false when the last bytes could not be written.
    bool CloseLog();

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    QString errorString() const { return m_error; }

private:
    QFile m_file;
    QString m_error;
};

}  // namespace celltrove::run
