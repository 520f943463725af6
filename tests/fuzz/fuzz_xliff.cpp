// Fuzz target: the XLIFF reader on any bytes, fed in the chunks it reads a file in.
#include "import/XliffReader.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    buffer.open(QIODevice::ReadOnly);
    celltrove::importing::XliffDocument document;
    (void)celltrove::importing::ReadXliff(buffer, document);
    return 0;
}
