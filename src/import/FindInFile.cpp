#include "import/FindInFile.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cstring>

namespace celltrove::importing {

qint64 FindInFile(const QString &path, const QString &text, qint64 start) {
    if (text.isEmpty()) return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray needle = text.toLatin1();
    qint64 passed = 0;  // bytes of the file before the buffer's first byte
    if (start > 1) {
        if (!file.seek(start - 1)) return 0;
        passed = start - 1;
    }
    // The carried-over tail, then the new block, in one buffer used throughout.
    QByteArray buffer(needle.size() - 1 + kFindInFileBlock, Qt::Uninitialized);
    qsizetype kept = 0;
    for (;;) {
        const qint64 n = file.read(buffer.data() + kept, kFindInFileBlock);
        if (n <= 0) break;
        const qsizetype filled = kept + qsizetype(n);
        const qsizetype at = QByteArrayView(buffer.constData(), filled).indexOf(needle);
        if (at >= 0) return passed + at + 1;
        // Keep the last bytes so that an occurrence spanning two blocks is found.
        const qsizetype keep = std::min(filled, needle.size() - 1);
        passed += filled - keep;
        std::memmove(buffer.data(), buffer.constData() + filled - keep, size_t(keep));
        kept = keep;
    }
    return 0;
}

}  // namespace celltrove::importing
