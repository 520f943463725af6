#include "office/sheet/AtomicFile.h"

#include "office/ole/OutputPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace office::sheet {

namespace {

// A save writes to a hidden file beside the workbook, named after it, and holds an
// exclusive lock on it until the rename. A save killed before its rename leaves
// that file behind unlocked (the lock dies with the process): the next save of the
// same workbook removes it. A file that is still locked belongs to a save going on.
QString tempPrefix(const QFileInfo &target) {
    return QStringLiteral(".") + target.fileName() + QStringLiteral(".celltrove-save-");
}

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void removeAbandonedTemporaries(const QFileInfo &target) {
    const QString prefix = tempPrefix(target);
    const QDir folder = target.absoluteDir();
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (!entry.startsWith(prefix)) continue;
        const QByteArray name = QFile::encodeName(folder.filePath(entry));
        const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(name.constData());
        ::close(fd);
    }
}

// Creates and locks a new temporary file; fd is -1 and the reason set on failure.
int createLockedTemporary(const QFileInfo &target, QByteArray &name, QString &reason) {
    const QString base = target.absoluteDir().filePath(tempPrefix(target));
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = QFile::encodeName(base + QString::number(QRandomGenerator::global()->generate(), 36));
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            reason = systemError(errno);
            return -1;
        }
        // Another save's clean-up may have taken it between the creation and the
        // lock: then the name no longer leads to this file, and a new one is made.
        struct stat mine {}, named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &mine) == 0 && ::lstat(name.constData(), &named) == 0 &&
            mine.st_dev == named.st_dev && mine.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    reason = QStringLiteral("no temporary file could be created");
    return -1;
}

bool syncFolder(const QString &folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Replaces the file at path with what `write` puts into a locked temporary file
// beside it; `write` gives the reason of a failure, or an empty text.
Status replaceAtomically(const QString &path, const std::function<QString(int fd)> &write) {
    if (Status target = checkOutputPath(path); !target) return target;
    // A link to a workbook in the same folder is saved through: the file it leads to is replaced.
    const QFileInfo given(path);
    const QFileInfo target(given.isSymLink() ? given.canonicalFilePath() : given.absoluteFilePath());
    removeAbandonedTemporaries(target);

    QByteArray tempName;
    QString reason;
    const int fd = createLockedTemporary(target, tempName, reason);
    if (fd < 0) return Status::failure(QStringLiteral("Datei kann nicht geschrieben werden: %1").arg(reason));
    auto abandon = [&](const QString &why, const char *message) {
        ::unlink(tempName.constData());
        ::close(fd);
        return Status::failure(QString::fromUtf8(message).arg(why));
    };

    if (const QString failure = write(fd); !failure.isEmpty())
        return abandon(failure, "Datei kann nicht geschrieben werden: %1");
    if (::fsync(fd) != 0) return abandon(systemError(errno), "Datei kann nicht geschrieben werden: %1");
    // The workbook keeps its permissions; a new one gets the user's default ones.
    struct stat old {};
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &old) == 0)
        (void)::fchmod(fd, old.st_mode & 07777);
    // Until the rename the old file stays as it was.
    if (::rename(tempName.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        return abandon(systemError(errno), "Datei kann nicht gespeichert werden: %1");
    ::close(fd);
    (void)syncFolder(target.absolutePath());
    return Status::success();
}

}  // namespace

Status writeFileAtomically(const QString &path, const QByteArray &bytes, const DeviceWriter &writer) {
    return replaceAtomically(path, [&](int fd) -> QString {
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) return file.errorString();
        // QFile buffers small writes: the flush is where a full disk shows.
        const bool written = (writer ? writer(file, bytes) : file.write(bytes) == bytes.size()) && file.flush();
        return written ? QString() : writeFailureReason(file);
    });
}

Status writeFileAtomically(const QString &path, const DescriptorFiller &fill) {
    return replaceAtomically(path, [&](int fd) -> QString {
        const Status filled = fill(fd);
        if (filled) return QString();
        return filled.message.isEmpty() ? QStringLiteral("not all bytes were written") : filled.message;
    });
}

}  // namespace office::sheet
