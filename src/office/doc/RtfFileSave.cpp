#include "office/doc/RtfFileSave.h"

#include "office/doc/RtfWriter.h"
#include "office/doc/TableLayout.h"
#include "office/ole/OutputPath.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace office::doc {

namespace {

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 timeNs = 0;
};

// Size and modification time straight from stat: QFileInfo's times go through
// the local time zone, which rereads the zone file on every call.
FileStamp stampOf(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool fileAsLeft(const QString &path, const RtfSaveMark &mark) {
    const FileStamp onDisk = stampOf(path);
    return onDisk.exists && onDisk.size == mark.fileSize && onDisk.timeNs == mark.fileTimeNs;
}

// Writes `tail` over the file's old ending. The space is reserved first, so a full
// disk usually fails before anything changed; a write that fails later puts the old
// ending back, so the file stays the whole document of the last save. On failure
// `error` says why.
bool appendTail(const QString &path, RtfSaveMark &mark, const QByteArray &tail, qint64 finalOffset, int finalMark,
                QString &error) {
    QFile file(path);
    // Unbuffered, so that a failed write fails here and leaves nothing queued that a
    // later flush would still put over the restored ending.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    const qint64 newSize = mark.bodyEnd + tail.size();
    if (newSize > mark.fileSize &&
        ::fallocate(file.handle(), FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 && errno != EOPNOTSUPP) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (!file.seek(mark.bodyEnd)) {
        error = file.errorString();
        return false;
    }
    const QByteArray oldEnding = file.read(mark.fileSize - mark.bodyEnd);
    // The old ending is cut off only when the new one does not cover it.
    const bool cut = newSize < mark.fileSize;
    if (!((!cut || file.resize(mark.bodyEnd)) && file.seek(mark.bodyEnd) && file.write(tail) == tail.size() &&
          file.flush())) {
        error = writeFailureReason(file);
        file.unsetError();
        if (!(file.resize(mark.bodyEnd) && file.seek(mark.bodyEnd) && file.write(oldEnding) == oldEnding.size() &&
              file.flush()))
            error += QStringLiteral("; the file may be cut short");
        return false;
    }
    file.close();
    const FileStamp written = stampOf(path);
    mark.bodyEnd += finalOffset;
    mark.writtenEnd = finalMark;
    mark.fileSize = written.size;
    mark.fileTimeNs = written.timeNs;
    return true;
}

}  // namespace

Status saveRtfFile(const QString &path, const RtfSaveSource &source, RtfSaveMark &mark, RtfRewrite rewrite) {
    if (Status target = checkOutputPath(path); !target) return target;
    Story &story = source.story;
    story.closeGap();  // the writer reads a story in one piece fastest
    const int finalMark = story.length() - 1;
    auto writer = [&] { return RtfWriter(source.styles, source.charFormats, source.paraFormats, story); };
    const bool canAppend = mark.valid && mark.path == path && story.lowestChange() >= mark.writtenEnd &&
                           mark.styleRevision == source.styles.revision() && fileAsLeft(path, mark) &&
                           !paragraphInTable(story, source.paraFormats, mark.writtenEnd);
    QString appendError;
    if (canAppend) {
        QByteArray tail;
        qint64 finalOffset = 0;
        if (writer().writeAppend(mark, tail, &finalOffset) &&
            appendTail(path, mark, tail, finalOffset, finalMark, appendError)) {
            story.markClean();
            return Status::success();
        }
    }
    if (rewrite == RtfRewrite::Refused) {
        mark.valid = false;
        if (!appendError.isEmpty())
            return Status::failure(QStringLiteral("Cannot write %1: %2").arg(path, appendError));
        return Status::failure(
            QStringLiteral("Cannot write %1: the file was changed by another program, or the document's style sheet "
                           "changed after part of its text was written.")
                .arg(path));
    }
    RtfSaveMark fresh;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    // Written as it is made: a copy of the whole file in memory would add its size
    // to the peak. A short write (the disk or the file size limit reached), or a
    // failed flush of QSaveFile's buffer, is not counted as a write error by
    // commit(), which would then put the cut file in place: check both.
    if (!writer().write(file, &fresh) || !file.flush()) {
        const QString reason = writeFailureReason(file);
        file.cancelWriting();
        return Status::failure(QStringLiteral("Cannot write %1: %2").arg(path, reason));
    }
    if (!file.commit()) return Status::failure(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    const FileStamp written = stampOf(path);
    fresh.valid = true;
    fresh.path = path;
    fresh.writtenEnd = finalMark;
    fresh.styleRevision = source.styles.revision();
    fresh.fileSize = written.size;
    fresh.fileTimeNs = written.timeNs;
    mark = fresh;
    story.markClean();
    return Status::success();
}

}  // namespace office::doc
