#include "office/sheet/AtomicFile.h"

#include "office/ole/OutputPath.h"

#include <QSaveFile>

namespace office::sheet {

Status writeFileAtomically(const QString &path, const QByteArray &bytes, const DeviceWriter &writer) {
    if (Status target = checkOutputPath(path); !target) return target;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(QStringLiteral("Datei kann nicht geschrieben werden: %1").arg(file.errorString()));
    // QSaveFile buffers small writes and does not count a failed flush of that buffer
    // (a full disk) as a write error: commit() would put the cut file in place.
    const bool written = (writer ? writer(file, bytes) : file.write(bytes) == bytes.size()) && file.flush();
    if (!written) {
        const QString reason = writeFailureReason(file);
        file.cancelWriting();
        return Status::failure(QStringLiteral("Datei kann nicht geschrieben werden: %1").arg(reason));
    }
    // commit() flushes, syncs and renames; until then the old file stays as it was.
    if (!file.commit())
        return Status::failure(QStringLiteral("Datei kann nicht gespeichert werden: %1").arg(file.errorString()));
    return Status::success();
}

}  // namespace office::sheet
