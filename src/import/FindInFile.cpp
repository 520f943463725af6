#include "import/FindInFile.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string.h>

namespace celltrove::importing {

namespace {

// glibc's memmem skips through a block four times as fast as QByteArrayView::indexOf,
// and every document of an import and a join is searched through whole.
qsizetype indexIn(QByteArrayView block, const QByteArray &needle) {
    const void *hit = ::memmem(block.data(), size_t(block.size()), needle.constData(), size_t(needle.size()));
    return hit ? static_cast<const char *>(hit) - block.data() : -1;
}

// Reads the file from its position on in blocks of kFindInFileBlock bytes into one
// buffer, each block behind the last `overlap` bytes of the one before, so that a
// text of up to overlap + 1 bytes is never cut in two; calls `look` with the buffer
// and the file position of its first byte until it returns true or the file ends.
void scanBlocks(QFile &file, qint64 passed, qsizetype overlap,
                const std::function<bool(QByteArrayView, qint64)> &look) {
    QByteArray buffer(overlap + kFindInFileBlock, Qt::Uninitialized);
    qsizetype kept = 0;
    for (;;) {
        const qint64 n = file.read(buffer.data() + kept, kFindInFileBlock);
        if (n <= 0) return;
        const qsizetype filled = kept + qsizetype(n);
        if (look(QByteArrayView(buffer.constData(), filled), passed)) return;
        const qsizetype keep = std::min(filled, overlap);
        passed += filled - keep;
        std::memmove(buffer.data(), buffer.constData() + filled - keep, size_t(keep));
        kept = keep;
    }
}

}  // namespace

qint64 FindInFile(const QString &path, const QString &text, qint64 start) {
    if (text.isEmpty()) return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray needle = text.toLatin1();
    if (start > 1 && !file.seek(start - 1)) return 0;
    qint64 found = 0;
    scanBlocks(file, std::max<qint64>(start - 1, 0), needle.size() - 1, [&](QByteArrayView block, qint64 passed) {
        const qsizetype at = indexIn(block, needle);
        if (at >= 0) found = passed + at + 1;
        return at >= 0;
    });
    return found;
}

QList<bool> FileContains(const QString &path, const QStringList &texts) {
    QList<bool> found(texts.size(), false);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return found;
    QList<QByteArray> needles;
    qsizetype longest = 1;
    for (const QString &text : texts) {
        needles.append(text.toLatin1());
        longest = std::max(longest, needles.back().size());
    }
    qsizetype left = 0;
    for (qsizetype i = 0; i < needles.size(); ++i) left += needles[i].isEmpty() ? 0 : 1;
    if (left == 0) return found;
    scanBlocks(file, 0, longest - 1, [&](QByteArrayView block, qint64) {
        for (qsizetype i = 0; i < needles.size(); ++i) {
            if (found[i] || needles[i].isEmpty() || indexIn(block, needles[i]) < 0) continue;
            found[i] = true;
            --left;
        }
        return left == 0;
    });
    return found;
}

}  // namespace celltrove::importing
