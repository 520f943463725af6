// The Word 97-2003 writer: what it stores, and that reading its files gives the
// same document back (a second write is byte for byte the first).
#include "DocSamples.h"

#include "office/doc/DocFib.h"
#include "office/doc/DocReader.h"
#include "office/doc/DocWriter.h"
#include "office/doc/TextDump.h"
#include "office/ole/CompoundFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace office::doc;

namespace {

QByteArray docOf(const Document &doc) {
    QByteArray bytes;
    EXPECT_TRUE(DocWriter(doc).write(bytes).ok);
    return bytes;
}

QByteArray streamOf(const QByteArray &file, const QString &name) {
    office::ole::CompoundFile cf;
    EXPECT_TRUE(office::ole::CompoundFile::readBytes(file, cf).ok);
    const office::ole::Entry *e = cf.find(name);
    return e ? e->data : QByteArray();
}

// The paragraph format of every mark and the character format of every
// character, by value (format numbers differ between documents).
QStringList formattedCharacters(const Document &doc) {
    QStringList out;
    const Story &s = doc.story();
    for (int p = 0; p < s.length(); ++p) {
        const CharFormat &cf = doc.charFormats().at(s.charFormatAt(p));
        const Style *style = doc.styles().at(cf.style);
        QString line = QStringLiteral("%1 %2 %3 %4 %5%6%7 %8 %9")
                           .arg(p)
                           .arg(style ? style->nameLocal() : QString(), cf.fontName)
                           .arg(cf.halfPoints)
                           .arg(cf.bold)
                           .arg(cf.italic)
                           .arg(cf.underline)
                           .arg(cf.color)
                           .arg(cf.language);
        if (s.at(p) == kParagraphMark || s.at(p) == kCellMark) {
            const ParaFormat &pf = doc.paraFormats().at(s.paraFormatAt(p));
            line += QStringLiteral(" | %1 %2%3%4").arg(pf.style).arg(pf.inTable).arg(pf.rowEnd).arg(pf.autoFit);
        }
        out << line;
    }
    return out;
}

struct Sample {
    const char *name;
    std::function<Document *(Application &)> make;
    bool compressed;  // every character fits Windows-1252
};

std::vector<Sample> samples() {
    auto grid256 = [] {
        QList<QStringList> g(3);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 256; ++c) g[r] << QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1);
        return g;
    };
    return {
        {"tagged ANSI", [](Application &a) { return doctest::taggedDocument(a, {{QStringLiteral("Grüße € „x“")}}); },
         true},
        {"tagged mixed", [](Application &a) { return doctest::taggedDocument(a, doctest::mixedGrid()); }, false},
        {"table mixed", [](Application &a) { return doctest::tableDocument(a, doctest::mixedGrid()); }, false},
        {"table fixed",
         [](Application &a) {
             return doctest::tableDocument(a, {{QStringLiteral("a"), QStringLiteral("b")}}, false);
         },
         true},
        {"table 1x1", [](Application &a) { return doctest::tableDocument(a, {{QStringLiteral("eins")}}); }, true},
        {"table 256 columns", [grid256](Application &a) { return doctest::tableDocument(a, grid256()); }, true},
        {"empty", [](Application &a) { return a.documents().add(); }, true},
    };
}

TEST(DocWriter, RoundTripGivesTheSameDocumentAndBytes) {
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    for (const Sample &sample : samples()) {
        SCOPED_TRACE(sample.name);
        Document *doc = sample.make(app);
        // A paragraph style on the first paragraph, direct formatting on a stretch of it.
        Style *heading = doc->styles().add(QStringLiteral("Überschrift Eigen"), StyleType::Paragraph);
        heading->font().setBold(1);
        heading->font().setHalfPoints(32);
        doc->setParagraphStyle(0, 1, doc->styles().indexOf(QStringLiteral("Überschrift Eigen")));
        doc->editCharFormat(1, 4, [](CharFormat &f) {
            f.fontName = QStringLiteral("Arial");
            f.halfPoints = 28;
            f.bold = 1;
            f.italic = 0;
            f.underline = 1;
            f.color = colorFromRgb(0x12, 0x34, 0x56);
            f.language = 1036;
        });
        const QByteArray first = docOf(*doc);
        Document back(&app, QString());
        const office::Status read = DocReader::read(first, back);
        ASSERT_TRUE(read.ok) << read.message.toStdString() << " at " << read.offset;
        EXPECT_EQ(dumpText(back), dumpText(*doc));
        EXPECT_EQ(formattedCharacters(back), formattedCharacters(*doc));
        EXPECT_EQ(back.tables().count(), doc->tables().count());
        for (int t = 1; t <= doc->tables().count(); ++t)
            EXPECT_EQ(back.tables().item(t).cellTexts(), doc->tables().item(t).cellTexts());
        const Style *ext = back.styles().item(QStringLiteral("tw4winExternal"));
        if (doc->styles().item(QStringLiteral("tw4winExternal"))) {
            ASSERT_NE(ext, nullptr);
            EXPECT_EQ(ext->type(), StyleType::Character);
            EXPECT_EQ(ext->font().name(), QStringLiteral("Courier New"));
            EXPECT_EQ(ext->font().colorIndex(), 15);
            EXPECT_EQ(ext->languageId(), 1024);
            EXPECT_EQ(back.styles().item(QStringLiteral("tw4winInternal"))->font().colorIndex(), 6);
        }
        const Style *backHeading = back.styles().item(QStringLiteral("Überschrift Eigen"));
        ASSERT_NE(backHeading, nullptr);
        EXPECT_EQ(backHeading->type(), StyleType::Paragraph);
        EXPECT_EQ(backHeading->font().bold(), 1);
        EXPECT_EQ(backHeading->font().halfPoints(), 32);
        EXPECT_EQ(docOf(back), first) << "a second write differs";

        // One piece of the text, 8-bit exactly when every character fits Windows-1252.
        DocFib fib;
        ASSERT_TRUE(DocFib::read(streamOf(first, QStringLiteral("WordDocument")), fib).ok);
        EXPECT_EQ(fib.ccpText, doc->story().length());
        EXPECT_EQ(fib.fcMac - fib.fcMin, quint32(doc->story().length() * (sample.compressed ? 1 : 2)));
        EXPECT_TRUE(fib.whichTable1);
        EXPECT_FALSE(fib.complex);
        doc->close();
    }
}

TEST(DocWriter, SaveAsDocThenSaveWritesTheFileAtomically) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Doc_a.xls-1.doc"));
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    Document *doc = doctest::tableDocument(app, doctest::mixedGrid());
    ASSERT_TRUE(doc->saveAs(path, SaveFormat::Doc).ok);
    EXPECT_EQ(doc->saveFormat(), SaveFormat::Doc);
    EXPECT_TRUE(doc->saved());
    doc->selection().endKey(Unit::Story);
    doc->selection().typeText(QStringLiteral("danach"));
    ASSERT_TRUE(doc->save().ok);
    EXPECT_EQ(testsupport::readFile(path), docOf(*doc));

    // Opening keeps the format, so that save() writes a .doc again.
    Document *opened = app.documents().open(path);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->saveFormat(), SaveFormat::Doc);
    EXPECT_EQ(dumpText(*opened), dumpText(*doc));
    opened->selection().typeText(QStringLiteral("vorne "));
    ASSERT_TRUE(opened->save().ok);
    Document back(&app, QString());
    ASSERT_TRUE(DocReader::readFile(path, back).ok);
    EXPECT_TRUE(back.content().text().startsWith(QStringLiteral("vorne <!--")));

    // Nothing but the file is left in the folder; a missing folder is refused.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Doc_a.xls-1.doc")});
    EXPECT_FALSE(opened->saveAs(dir.filePath(QStringLiteral("missing/x.doc")), SaveFormat::Doc).ok);
    opened->setSaved(false);
    ASSERT_TRUE(opened->saveAs(path, SaveFormat::Doc).ok);

    // A folder that cannot be written: the save fails and the old file stays whole.
    const QByteArray before = testsupport::readFile(path);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    opened->selection().typeText(QStringLiteral("mehr "));
    const bool writable =
        QFile(dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);  // root ignores modes
    if (!writable) {
        EXPECT_FALSE(opened->save().ok);
        EXPECT_EQ(testsupport::readFile(path), before);
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
}

TEST(DocWriter, WideRowsKeepTheirDefinitionOutsideThePropertyPages) {
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    QList<QStringList> grid(1);
    for (int c = 0; c < 40; ++c) grid[0] << QString::number(c);
    const QByteArray file = docOf(*doctest::tableDocument(app, grid));
    EXPECT_FALSE(streamOf(file, QStringLiteral("Data")).isEmpty());
    const QByteArray narrow = docOf(*doctest::tableDocument(app, {{QStringLiteral("a")}}));
    EXPECT_TRUE(streamOf(narrow, QStringLiteral("Data")).isEmpty());
}

}  // namespace
