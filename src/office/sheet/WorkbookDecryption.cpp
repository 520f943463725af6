#include "office/sheet/WorkbookDecryption.h"

#include "office/sheet/Biff8Records.h"
#include "office/sheet/BiffRecordReader.h"
#include "office/sheet/Rc4.h"
#include "office/sheet/RecordCursor.h"

#include <QCryptographicHash>

#include <functional>

namespace office::sheet {
namespace {

constexpr qint64 kBlockSize = 1024;

QByteArray passwordBytes(const QString &password) {
    QByteArray out;
    for (QChar c : password) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray le32(std::uint32_t v) {
    QByteArray out(4, 0);
    for (int i = 0; i < 4; ++i) out[i] = char((v >> (8 * i)) & 0xFF);
    return out;
}

using KeyForBlock = std::function<QByteArray(std::uint32_t)>;

// Records whose bodies stay in clear text in an encrypted stream.
bool bodyInClear(std::uint16_t id) {
    switch (id) {
    case biff::kBof:
    case biff::kFilePass:
    case 0x0194:  // USREXCL
    case 0x0195:  // FILELOCK
    case 0x00E1:  // INTERFACEHDR
    case 0x0196:  // RRDINFO
    case 0x0138:  // RRDHEAD
        return true;
    default: return false;
    }
}

// The keystream runs over the whole stream by offset, in blocks of 1024 bytes with
// a key per block; record headers and clear-text bodies use it up without applying it.
void decryptRecords(QByteArray &stream, qint64 from, const KeyForBlock &keyFor) {
    QByteArray original = stream;
    std::vector<bool> encrypted(std::size_t(stream.size()), false);
    qint64 pos = from;
    while (true) {
        // Walk header by header: CONTINUE records are records of their own here.
        if (pos + 4 > original.size()) break;
        const auto *p = reinterpret_cast<const unsigned char *>(original.constData() + pos);
        const std::uint16_t id = std::uint16_t(p[0] | (p[1] << 8));
        const int size = p[2] | (p[3] << 8);
        const qint64 body = pos + 4;
        const qint64 end = std::min<qint64>(body + size, original.size());
        if (!bodyInClear(id)) {
            const qint64 start = id == biff::kBoundSheet ? body + 4 : body;  // lbPlyPos stays clear
            for (qint64 i = start; i < end; ++i) encrypted[std::size_t(i)] = true;
        }
        pos = body + size;
    }
    for (qint64 block = 0; block * kBlockSize < stream.size(); ++block) {
        const qint64 start = block * kBlockSize;
        const qint64 end = std::min(start + kBlockSize, stream.size());
        bool any = false;
        for (qint64 i = start; i < end && !any; ++i) any = encrypted[std::size_t(i)];
        if (!any) continue;
        QByteArray keystream(int(end - start), 0);
        Rc4(keyFor(std::uint32_t(block))).apply(keystream);
        for (qint64 i = start; i < end; ++i)
            if (encrypted[std::size_t(i)]) stream[i] = char(stream[i] ^ keystream[int(i - start)]);
    }
}

Status standardRc4(RecordCursor &c, QByteArray &stream, qint64 from, const QString &password) {
    const QByteArray salt = c.bytes(16);
    QByteArray verifier = c.bytes(16);
    QByteArray verifierHash = c.bytes(16);
    if (!c.ok()) return Status::failure(QStringLiteral("Verschlüsselungsangaben (FILEPASS) unvollständig"));
    const QByteArray h0 = QCryptographicHash::hash(passwordBytes(password), QCryptographicHash::Md5).left(5);
    QByteArray intermediate;
    for (int i = 0; i < 16; ++i) intermediate += h0 + salt;
    const QByteArray h1 = QCryptographicHash::hash(intermediate, QCryptographicHash::Md5).left(5);
    const KeyForBlock keyFor = [h1](std::uint32_t block) {
        return QCryptographicHash::hash(h1 + le32(block), QCryptographicHash::Md5);
    };
    Rc4 check(keyFor(0));
    check.apply(verifier);
    check.apply(verifierHash);
    if (QCryptographicHash::hash(verifier, QCryptographicHash::Md5) != verifierHash)
        return Status::failure(QStringLiteral("Arbeitsmappe ist mit einem Kennwort verschlüsselt"));
    decryptRecords(stream, from, keyFor);
    return Status::success();
}

Status cryptoApiRc4(RecordCursor &c, QByteArray &stream, qint64 from, const QString &password) {
    c.u32();  // flags
    const std::uint32_t headerSize = c.u32();
    const int headerStart = c.pos();
    c.u32();  // flags
    c.u32();  // size extra
    const std::uint32_t algorithm = c.u32();
    c.u32();  // hash algorithm
    std::uint32_t keyBits = c.u32();
    c.skip(qint64(headerSize) - (c.pos() - headerStart));
    const std::uint32_t saltSize = c.u32();
    const QByteArray salt = c.bytes(int(std::min<std::uint32_t>(saltSize, 16)));
    QByteArray verifier = c.bytes(16);
    const std::uint32_t hashSize = c.u32();
    QByteArray verifierHash = c.bytes(int(std::min<std::uint32_t>(hashSize, 32)));
    if (!c.ok() || saltSize != 16)
        return Status::failure(QStringLiteral("Verschlüsselungsangaben (FILEPASS) unvollständig"));
    if (algorithm != 0 && algorithm != 0x6801)  // RC4
        return Status::failure(QStringLiteral("Verschlüsselungsverfahren wird nicht unterstützt"));
    if (keyBits == 0) keyBits = 40;
    if (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0)
        return Status::failure(QStringLiteral("Verschlüsselungsangaben (FILEPASS) ungültig"));
    const QByteArray h0 = QCryptographicHash::hash(salt + passwordBytes(password), QCryptographicHash::Sha1);
    const KeyForBlock keyFor = [h0, keyBits](std::uint32_t block) {
        const QByteArray h = QCryptographicHash::hash(h0 + le32(block), QCryptographicHash::Sha1);
        // A 40-bit key is used as 128 bits with the rest zero.
        return keyBits == 40 ? h.left(5) + QByteArray(11, 0) : h.left(int(keyBits / 8));
    };
    Rc4 check(keyFor(0));
    check.apply(verifier);
    check.apply(verifierHash);
    if (QCryptographicHash::hash(verifier, QCryptographicHash::Sha1) != verifierHash.left(20))
        return Status::failure(QStringLiteral("Arbeitsmappe ist mit einem Kennwort verschlüsselt"));
    decryptRecords(stream, from, keyFor);
    return Status::success();
}

}  // namespace

Status decryptWorkbookStream(QByteArray &stream, qint64 filePassOffset, const QString &password) {
    BiffRecordReader reader(stream, filePassOffset);
    BiffRecord filePass;
    if (!reader.next(filePass) || filePass.id != biff::kFilePass)
        return Status::failure(QStringLiteral("Verschlüsselungsangaben (FILEPASS) fehlen"), filePassOffset);
    RecordCursor c(filePass.body);
    const std::uint16_t type = c.u16();
    // Excel 95 knows only XOR obfuscation: key and verifier, without a type field.
    if (type == 0 || filePass.body.size() == 4)
        return Status::failure(QStringLiteral("Arbeitsmappe ist mit einem Kennwort verschlüsselt (XOR)"),
                               filePassOffset);
    const std::uint16_t major = c.u16();
    const std::uint16_t minor = c.u16();
    const qint64 from = filePass.endOffset;
    Status st;
    if (type == 1 && major == 1 && minor == 1) st = standardRc4(c, stream, from, password);
    else if (type == 1 && major >= 2 && major <= 4 && minor == 2)
        st = cryptoApiRc4(c, stream, from, password);
    else st = Status::failure(QStringLiteral("Verschlüsselungsverfahren wird nicht unterstützt"));
    if (!st) st.offset = filePassOffset;
    return st;
}

}  // namespace office::sheet
