#include "office/doc/RtfFileSave.h"

#include "office/doc/RtfWriter.h"
#include "office/doc/TableLayout.h"

#include <QFile>
#include <QSaveFile>

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

// Writes `tail` over the file's old ending; false leaves the file possibly cut
// short, which only a full write mends.
bool appendTail(const QString &path, RtfSaveMark &mark, const QByteArray &tail, qint64 finalOffset, int finalMark) {
    QFile file(path);
    // The old ending is cut off only when the new one does not cover it.
    const bool cut = mark.bodyEnd + tail.size() < mark.fileSize;
    if (!(file.open(QIODevice::ReadWrite) && (!cut || file.resize(mark.bodyEnd)) && file.seek(mark.bodyEnd) &&
          file.write(tail) == tail.size() && file.flush()))
        return false;
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
    Story &story = source.story;
    story.closeGap();  // the writer reads a story in one piece fastest
    const int finalMark = story.length() - 1;
    auto writer = [&] { return RtfWriter(source.styles, source.charFormats, source.paraFormats, story); };
    const bool canAppend = mark.valid && mark.path == path && story.lowestChange() >= mark.writtenEnd &&
                           mark.styleRevision == source.styles.revision() && fileAsLeft(path, mark) &&
                           !paragraphInTable(story, source.paraFormats, mark.writtenEnd);
    if (canAppend) {
        QByteArray tail;
        qint64 finalOffset = 0;
        if (writer().writeAppend(mark, tail, &finalOffset) &&
            appendTail(path, mark, tail, finalOffset, finalMark)) {
            story.markClean();
            return Status::success();
        }
    }
    if (rewrite == RtfRewrite::Refused) {
        mark.valid = false;
        return Status::failure(
            QStringLiteral("Cannot write %1: the file was changed by another program, or the document's style sheet "
                           "changed after part of its text was written.")
                .arg(path));
    }
    RtfSaveMark fresh;
    const QByteArray bytes = writer().write(&fresh);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    file.write(bytes);
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
