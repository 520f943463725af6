// Fuzz target: the compound-file reader, and the writer on whatever it accepted.
#include "office/ole/CompoundFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    office::ole::CompoundFile file;
    if (office::ole::CompoundFile::readBytes(bytes, file).ok) {
        QByteArray image;
        (void)file.writeBytes(image);
    }
    return 0;
}
