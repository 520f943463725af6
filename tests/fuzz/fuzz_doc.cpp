// Fuzz target: the Word 97-2003 reader, then the writer on what it accepted, the
// reader again on that, and a text dump of both.
#include "office/doc/Application.h"
#include "office/doc/DocReader.h"
#include "office/doc/DocWriter.h"
#include "office/doc/TextDump.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace office::doc;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    Application app;
    Document *doc = app.documents().add();
    if (!DocReader::read(bytes, *doc).ok) return 0;
    (void)dumpText(*doc);
    (void)doc->tables().count();
    QByteArray written;
    if (!DocWriter(*doc).write(written).ok) return 0;
    Document again(&app, QString());
    if (DocReader::read(written, again).ok) (void)dumpText(again);
    return 0;
}
