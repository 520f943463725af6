#include "office/doc/RtfFileSave.h"

#include "office/doc/RtfWriter.h"
#include "office/doc/TableLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace office::doc {

namespace {

bool fileAsLeft(const QString &path, const RtfSaveMark &mark) {
    const QFileInfo onDisk(path);
    return onDisk.exists() && onDisk.size() == mark.fileSize && onDisk.lastModified() == mark.fileTime;
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
    const QFileInfo written(path);
    mark.bodyEnd += finalOffset;
    mark.writtenEnd = finalMark;
    mark.fileSize = written.size();
    mark.fileTime = written.lastModified();
    return true;
}

}  // namespace

Status saveRtfFile(const QString &path, const RtfSaveSource &source, RtfSaveMark &mark, RtfRewrite rewrite) {
    Story &story = source.story;
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
    const QFileInfo written(path);
    fresh.valid = true;
    fresh.path = path;
    fresh.writtenEnd = finalMark;
    fresh.styleRevision = source.styles.revision();
    fresh.fileSize = written.size();
    fresh.fileTime = written.lastModified();
    mark = fresh;
    story.markClean();
    return Status::success();
}

}  // namespace office::doc
