// Workbook: writing the workbook back to its file.

#include "office/sheet/AtomicFile.h"
#include "office/sheet/Biff8Records.h"
#include "office/sheet/Biff8Writer.h"
#include "office/sheet/BiffRecordReader.h"
#include "office/sheet/Workbook.h"
#include "office/sheet/WorkbookDecryption.h"

namespace office::sheet {

Status Workbook::streamBytes(QByteArray &out) const {
    if (!isModified()) {
        // Nothing changed: the stream as it was stored, encrypted or not.
        const ole::Entry *entry = m_container.find(m_streamName);
        out = entry ? entry->data : QByteArray();
        return Status::success();
    }
    Status st = Biff8Writer(*this).write(out);
    if (!st) return st;
    if (m_decrypted) {
        // RC4 is its own inverse: running the decryption over the new plain stream,
        // with the FILEPASS record kept from the file, encrypts it again.
        BiffRecordReader reader(out, 0, false);
        BiffRecord record;
        qint64 filePass = -1;
        while (reader.next(record) && record.id != biff::kEof)
            if (record.id == biff::kFilePass) filePass = record.offset;
        st = filePass >= 0 ? decryptWorkbookStream(out, filePass, m_password)
                           : Status::failure(QStringLiteral("Verschlüsselungsangaben fehlen beim Speichern"));
        if (!st) return st;
    }
    return Status::success();
}

Status Workbook::containerToSave(ole::CompoundFile &container) const {
    QByteArray stream;
    const Status st = streamBytes(stream);
    if (!st) return st;
    container = m_container;
    container.setStream(m_streamName, stream);
    return st;
}

Status Workbook::toBytes(QByteArray &out) const {
    ole::CompoundFile container;
    const Status st = containerToSave(container);
    return st ? container.writeBytes(out) : st;
}

Status Workbook::save() {
    if (m_path.isEmpty()) return Status::failure(QStringLiteral("Die Arbeitsmappe hat keinen Dateinamen"));
    return saveAs(m_path);
}

Status Workbook::saveAs(const QString &path) {
    ole::CompoundFile container;
    const Status st = containerToSave(container);
    if (!st) return st;
    // The compound file is written straight into the file: no image of tens of
    // megabytes is built in memory first.
    return writeFileAtomically(path, [&container](int fd) { return container.writeToDescriptor(fd); });
}

}  // namespace office::sheet
