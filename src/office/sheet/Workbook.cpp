#include "office/sheet/Workbook.h"

#include "office/sheet/Biff8Reader.h"
#include "office/sheet/Biff8Records.h"
#include "office/sheet/BiffRecordReader.h"
#include "office/sheet/WorkbookDecryption.h"

#include <QFile>

namespace office::sheet {
namespace {

// BIFF2-4 files are bare record streams that begin with their BOF.
bool looksLikeOldBiff(const QByteArray &bytes) {
    if (bytes.size() < 4) return false;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const std::uint16_t id = std::uint16_t(p[0] | (p[1] << 8));
    return id == biff::kBofBiff2 || id == biff::kBofBiff3 || id == biff::kBofBiff4 || id == biff::kBof;
}

// Offset of the FILEPASS record among the globals, or -1. Record headers are never
// encrypted, so the walk works on the stream as stored.
qint64 findFilePass(const QByteArray &stream) {
    BiffRecordReader reader(stream, 0, false);
    BiffRecord record;
    while (reader.next(record)) {
        if (record.id == biff::kFilePass) return record.offset;
        if (record.id == biff::kEof) break;
    }
    return -1;
}

// What a file that is no compound file is, from its first bytes.
Status refuseForeign(const QByteArray &head) {
    if (looksLikeOldBiff(head))
        return Status::failure(QStringLiteral("Format von Excel 2.x bis 4.0 (BIFF2-4) wird nicht unterstützt"), 0);
    return Status::failure(QStringLiteral("Keine Excel-97-2003-Arbeitsmappe (keine OLE2-Verbunddatei)"), 0);
}

QString outOfMemory() {
    return QStringLiteral("Nicht genug Arbeitsspeicher, um die Arbeitsmappe zu lesen");
}

}  // namespace

Status Workbook::open(const QString &path, std::unique_ptr<Workbook> &out) {
    out.reset();
    return refuseWhenOutOfMemory([&] { return openFile(path, out); }, outOfMemory());
}

Status Workbook::openBytes(const QByteArray &fileBytes, std::unique_ptr<Workbook> &out, const QString &password) {
    out.reset();
    return refuseWhenOutOfMemory([&] { return openImage(fileBytes, out, password); }, outOfMemory());
}

Status Workbook::openFile(const QString &path, std::unique_ptr<Workbook> &out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Datei kann nicht geöffnet werden: %1").arg(file.errorString()));
    const QByteArray head = file.read(8);
    file.close();
    if (!ole::hasOle2Signature(head)) return refuseForeign(head);
    // The container reader holds the file only while it takes the streams out, so the
    // file's bytes and the parsed workbook are never in memory together.
    auto book = std::make_unique<Workbook>();
    Status st = ole::CompoundFile::read(path, book->m_container);
    if (!st) return Status::failure(QStringLiteral("OLE2-Verbunddatei ist beschädigt: %1").arg(st.message));
    st = book->readContainer(kDefaultWorkbookPassword);
    if (!st) return st;
    book->m_path = path;
    out = std::move(book);
    return Status::success();
}

Status Workbook::openImage(const QByteArray &fileBytes, std::unique_ptr<Workbook> &out, const QString &password) {
    if (!ole::hasOle2Signature(fileBytes)) return refuseForeign(fileBytes.left(8));
    auto book = std::make_unique<Workbook>();
    Status st = ole::CompoundFile::readBytes(fileBytes, book->m_container);
    if (!st) return Status::failure(QStringLiteral("OLE2-Verbunddatei ist beschädigt: %1").arg(st.message));
    st = book->readContainer(password);
    if (!st) return st;
    out = std::move(book);
    return Status::success();
}

Status Workbook::readContainer(const QString &password) {
    const ole::Entry *stream = nullptr;
    for (const QString &name : {QStringLiteral("Workbook"), QStringLiteral("Book")}) {
        stream = m_container.find(name);
        if (stream && !stream->isStorage) break;
        stream = nullptr;
    }
    if (!stream) {
        if (m_container.find(QStringLiteral("EncryptedPackage")))
            return Status::failure(QStringLiteral("Verschlüsselte Arbeitsmappe im Excel-2007-Format wird nicht unterstützt"));
        return Status::failure(QStringLiteral("Die Datei enthält keinen Workbook-Datenstrom"));
    }
    m_streamName = stream->path;
    m_stream = stream->data;
    const qint64 filePass = findFilePass(m_stream);
    if (filePass >= 0) {
        Status st = decryptWorkbookStream(m_stream, filePass, password);
        if (!st) return st;
        m_decrypted = true;
        m_password = password;
    }
    return Biff8Reader(*this).read();
}

Worksheet *Workbook::sheet(int index) const {
    if (index < 1 || index > sheetCount()) return nullptr;
    return m_sheets[std::size_t(index - 1)].get();
}

Worksheet *Workbook::worksheet(int number) const {
    if (number < 1 || number > worksheetCount()) return nullptr;
    return m_worksheets[std::size_t(number - 1)];
}

Worksheet *Workbook::worksheet(const QString &name) const {
    for (Worksheet *sheet : m_worksheets)
        if (sheet->name().compare(name, Qt::CaseInsensitive) == 0) return sheet;
    return nullptr;
}

int Workbook::xfFormatIndex(int xf) const {
    return xf >= 0 && xf < xfCount() ? m_xfFormats[std::size_t(xf)] : -1;
}

bool Workbook::xfIsDate(int xf) const {
    return xf >= 0 && std::size_t(xf) < m_xfIsDate.size() && m_xfIsDate[std::size_t(xf)];
}

QString Workbook::string(std::uint32_t index) const { return m_strings.at(index); }

int Workbook::dateXfFor(int xf) {
    if (xfIsDate(xf)) return xf;
    constexpr std::uint16_t kShortDate = 14;
    // Reuse a cell XF that already shows the short date.
    for (int i = 0; i < xfCount(); ++i) {
        if (m_xfFormats[std::size_t(i)] != kShortDate) continue;
        const QByteArray body = xfRecord(i);
        if (body.size() >= 6 && !(quint8(body[4]) & 0x04)) return i;  // not a style XF
    }
    QByteArray body = xfRecord(xf);
    if (body.size() < 6) return xf;
    body[2] = char(kShortDate & 0xFF);
    body[3] = char(kShortDate >> 8);
    m_addedXfs.push_back(body);
    m_xfFormats.push_back(kShortDate);
    m_xfIsDate.push_back(true);
    return xfCount() - 1;
}

QByteArray Workbook::xfRecord(int xf) const {
    int seen = 0;
    for (const RawRecord &r : m_globalRecords) {
        if (r.id != 0x00E0) continue;
        if (seen++ == xf) return m_stream.mid(r.offset + 4, r.length - 4);
    }
    const int added = xf - seen;
    return added >= 0 && std::size_t(added) < m_addedXfs.size() ? m_addedXfs[std::size_t(added)] : QByteArray();
}

bool Workbook::isModified() const {
    if (!m_addedXfs.empty()) return true;
    for (const auto &sheet : m_sheets)
        if (sheet->isModified()) return true;
    return false;
}

}  // namespace office::sheet
