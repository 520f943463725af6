#include "DocTestHelpers.h"

#include "office/doc/Application.h"
#include "office/doc/DocumentFile.h"
#include "office/doc/RtfStretchSave.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

}  // namespace

// A stretch saved straight from a document is the file that a new document
// holding only that stretch saves, byte for byte: styles, the fonts and colours the
// stretch uses (and no others), tables, and a final paragraph mark of its own. An
// empty stretch gives an empty document (with the source's style sheet, where a new
// document that received nothing keeps its own). One saver serves every stretch,
// the long ones before the short ones.
TEST(RtfStretchSave, SavesWhatANewDocumentHoldingTheStretchSaves) {
    QTemporaryDir dir;
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    Document *source = app.documents().add();
    doctest::addTaggedStyles(*source);
    Selection &sel = source->selection();
    sel.typeText(QStringLiteral("\r\rErster Teil mit Arial\r"));
    source->editCharFormat(8, 12, [](CharFormat &f) { f.fontName = QStringLiteral("Arial"); });
    doctest::typeCellBlock(sel, 1, 1, QStringLiteral("Zelle {eins}\nzwei"));
    clipboard.setGrid({{QStringLiteral("a"), QStringLiteral("b")}, {QStringLiteral("c"), QStringLiteral("d")}});
    sel.paste();
    const int afterTable = sel.end();
    sel.typeText(QStringLiteral("Zweiter Teil in Verdana\r"));
    source->editCharFormat(afterTable, afterTable + 6, [](CharFormat &f) {
        f.fontName = QStringLiteral("Verdana");
        f.color = colorFromRgb(10, 20, 30);
    });
    const int length = source->story().length();

    const struct {
        const char *what;
        int from, to;
        bool hasVerdana;
    } cases[] = {
        {"everything", 0, length, true},
        {"the table and what follows", afterTable - 12, length - 1, true},
        {"first part", 2, afterTable - 12, false},
        {"from the middle of a run", 10, 30, false},
        {"nothing", 5, 5, false},
        {"beyond the end", length + 5, length + 10, false},
    };
    RtfStretchSaver saver;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString stretchPath = dir.filePath(QStringLiteral("stretch.rtf"));
        ASSERT_TRUE(saver.save(*source, c.from, c.to, stretchPath).ok);
        Document *part = app.documents().add();
        part->insertDocument(0, *source, c.from, c.to);
        const QString partPath = dir.filePath(QStringLiteral("part.rtf"));
        ASSERT_TRUE(part->saveAs(partPath, SaveFormat::Rtf).ok);
        part->close();
        const QByteArray saved = fileBytes(stretchPath);
        EXPECT_EQ(saved.contains("Verdana"), c.hasVerdana);
        if (std::min(c.to, length - 1) > c.from) {
            EXPECT_EQ(saved, fileBytes(partPath));
            continue;
        }
        Document back(&app, QString());
        ASSERT_TRUE(readDocumentFile(stretchPath, back).ok);
        EXPECT_EQ(back.content().text(), QStringLiteral("\r"));
        EXPECT_NE(back.styles().item(QStringLiteral("tw4winExternal")), nullptr);
    }
    // The source is read, not changed.
    EXPECT_EQ(source->story().length(), length);
}

// A file that cannot be written is reported, and nothing is left in its place.
TEST(RtfStretchSave, AnUnwritablePathFails) {
    QTemporaryDir dir;
    Application app;
    Document *source = app.documents().add();
    source->selection().typeText(QStringLiteral("Text\r"));
    RtfStretchSaver saver;
    const QString path = dir.filePath(QStringLiteral("missing/part.rtf"));
    EXPECT_FALSE(saver.save(*source, 0, 5, path).ok);
    EXPECT_FALSE(QFile::exists(path));
}
