// Fuzz target: the RTF reader, then the writer and the reader again on what it
// accepted, and a few edits that walk the tables it built.
#include "office/doc/Application.h"
#include "office/doc/RtfReader.h"
#include "office/doc/RtfWriter.h"
#include "office/doc/TextDump.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace office::doc;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    Document *doc = app.documents().add();
    if (!RtfReader::read(bytes, *doc).ok) return 0;
    (void)dumpText(*doc);
    Document again(&app, QString());
    (void)RtfReader::read(RtfWriter(*doc).write(nullptr), again);
    Selection &sel = doc->selection();
    if (sel.goToTable(1)) {
        sel.tables().item(1).select();
        sel.copy();
    }
    Find find = sel.find();
    find.setText(QStringLiteral("^p"));
    find.replacement().setText(QStringLiteral("x^p"));
    find.setWrap(kFindContinue);
    find.execute(ReplaceMode::All);
    sel.homeKey(Unit::Story);
    sel.paste();
    doc->range(doc->story().length() / 3, 2 * doc->story().length() / 3).deleteText();
    (void)dumpText(*doc);
    return 0;
}
