#include "import/FindInFile.h"

#include <QByteArray>
#include <QFile>

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
    QByteArray buffer;  // the carried-over tail, then the new block
    while (!file.atEnd()) {
        const QByteArray block = file.read(kFindInFileBlock);
        if (block.isEmpty()) break;
        buffer += block;
        const qsizetype at = buffer.indexOf(needle);
        if (at >= 0) return passed + at + 1;
        // Keep the last bytes so that an occurrence spanning two blocks is found.
        const qsizetype keep = std::min(buffer.size(), needle.size() - 1);
        passed += buffer.size() - keep;
        buffer = buffer.right(keep);
    }
    return 0;
}

}  // namespace celltrove::importing
