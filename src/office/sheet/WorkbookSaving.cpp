// Workbook: writing the workbook back to its file.

#include "office/sheet/AtomicFile.h"
#include "office/sheet/Biff8Records.h"
#include "office/sheet/Biff8Writer.h"
#include "office/sheet/BiffRecordReader.h"
#include "office/sheet/Workbook.h"
#include "office/sheet/WorkbookDecryption.h"

namespace office::sheet {

namespace {

QByteArray joined(const std::vector<QByteArray> &pieces) {
    if (pieces.size() == 1) return pieces.front();
    QByteArray whole;
    qsizetype size = 0;
    for (const QByteArray &piece : pieces) size += piece.size();
    whole.reserve(size);
    for (const QByteArray &piece : pieces) whole.append(piece);
    return whole;
}

}  // namespace

Status Workbook::streamPieces(std::vector<QByteArray> &pieces) const {
    pieces.clear();
    if (!isModified()) {
        // Nothing changed: the stream as it was stored, encrypted or not.
        const ole::Entry *entry = m_container.find(m_streamName);
        if (entry) pieces.push_back(entry->data);
        return Status::success();
    }
    Status st = Biff8Writer(*this).write(pieces);
    if (!st || !m_decrypted) return st;
    // RC4 runs over the stream as a whole: it is joined first. RC4 is its own
    // inverse: running the decryption over the new plain stream, with the
    // FILEPASS record kept from the file, encrypts it again.
    QByteArray whole = joined(pieces);
    pieces.clear();
    BiffRecordReader reader(whole, 0, false);
    BiffRecord record;
    qint64 filePass = -1;
    while (reader.next(record) && record.id != biff::kEof)
        if (record.id == biff::kFilePass) filePass = record.offset;
    st = filePass >= 0 ? decryptWorkbookStream(whole, filePass, m_password)
                       : Status::failure(QStringLiteral("Verschlüsselungsangaben fehlen beim Speichern"));
    if (st) pieces.push_back(std::move(whole));
    return st;
}

Status Workbook::streamBytes(QByteArray &out) const {
    std::vector<QByteArray> pieces;
    const Status st = streamPieces(pieces);
    if (st) out = joined(pieces);
    return st;
}

Status Workbook::containerToSave(ole::CompoundFile &container) const {
    std::vector<QByteArray> pieces;
    const Status st = streamPieces(pieces);
    if (!st) return st;
    container = m_container;
    container.setStream(m_streamName, std::move(pieces));
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
