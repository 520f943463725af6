// The reader on what Word writes that our writer does not: several pieces in any
// order on disk, 8-bit and UTF-16 mixed, a fast-saved piece table, fields.
#include "DocSamples.h"
#include "support/TestSupport.h"

#include "office/doc/DocFib.h"
#include "office/doc/DocReader.h"
#include "office/doc/DocWriter.h"
#include "office/doc/TextDump.h"
#include "office/ole/CompoundFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace office::doc;
using office::ole::CompoundFile;

namespace {

void put32(QByteArray &b, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}
quint32 get32(const QByteArray &b, qsizetype at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | quint8(b[at + i]);
    return v;
}
constexpr qsizetype kClxPair = 154 + 8 * DocFib::kClx;

// Rewrites the text of a file we wrote (one 8-bit piece) as three pieces:
// [0, a) and [b, n) where they were, [a, b) as UTF-16 appended to the stream,
// listed first on disk; a property list ahead of them and the fast-save flag.
QByteArray splitIntoPieces(const QByteArray &file, int a, int b) {
    CompoundFile cf;
    EXPECT_TRUE(CompoundFile::readBytes(file, cf).ok);
    QByteArray word = cf.find(QStringLiteral("WordDocument"))->data;
    QByteArray table = cf.find(QStringLiteral("1Table"))->data;
    const quint32 ccp = get32(word, 64 + 12);
    const quint32 textAt = DocFib::kTextStart;
    const quint32 moved = quint32(word.size());
    for (int cp = a; cp < b; ++cp) {  // Windows-1252 bytes below 0x80 and Latin-1 letters map straight
        word.append(word[textAt + cp]);
        word.append('\0');
    }
    QByteArray clx;
    clx.append(char(1));
    clx.append(char(3));
    clx.append(char(0));
    clx.append("\x35\x08\x01", 3);  // a bold modifier, as a fast save leaves them
    clx.append(char(2));
    QByteArray plc(4 * 4 + 8 * 3, '\0');
    put32(plc, 0, 0);
    put32(plc, 4, quint32(a));
    put32(plc, 8, quint32(b));
    put32(plc, 12, ccp);
    put32(plc, 16 + 2, (textAt * 2) | 0x40000000);
    put32(plc, 24 + 2, moved);
    put32(plc, 32 + 2, ((textAt + quint32(b)) * 2) | 0x40000000);
    plc[24 + 6] = char(0x02);  // a property modifier on the UTF-16 piece
    QByteArray lcb(4, '\0');
    put32(lcb, 0, quint32(plc.size()));
    clx.append(lcb);
    clx.append(plc);
    put32(word, kClxPair, quint32(table.size()));
    put32(word, kClxPair + 4, quint32(clx.size()));
    word[10] = char(quint8(word[10]) | 0x04);  // fComplex
    table.append(clx);
    cf.setStream(QStringLiteral("WordDocument"), word);
    cf.setStream(QStringLiteral("1Table"), table);
    QByteArray out;
    EXPECT_TRUE(cf.writeBytes(out).ok);
    return out;
}

TEST(DocReader, ReadsSeveralPiecesOfBothKindsInAnyOrderOnDisk) {
    Application app;
    Document *doc = doctest::taggedDocument(app, {{QStringLiteral("Grüße aus Köln und Umgebung")}});
    QByteArray file;
    ASSERT_TRUE(DocWriter(*doc).write(file).ok);
    const int at = int(doc->story().text(0, doc->story().length()).indexOf(QStringLiteral("aus Köln")));
    ASSERT_GT(at, 0);
    Document back(&app, QString());
    const office::Status s = DocReader::read(splitIntoPieces(file, at, at + 8), back);
    ASSERT_TRUE(s.ok) << s.message.toStdString();
    EXPECT_EQ(back.story().text(0, back.story().length()), doc->story().text(0, doc->story().length()));
    // The styled markers lie outside the moved piece and keep their style.
    EXPECT_EQ(dumpText(back).section(QLatin1Char('\n'), 0, 3), dumpText(*doc).section(QLatin1Char('\n'), 0, 3));
}

TEST(DocReader, FieldsReadThroughTheirResults) {
    struct Case {
        QString stored;
        QString read;
    };
    const Case cases[] = {
        {QStringLiteral("a\x13 HYPERLINK \"x\" \x14Link\x15 b"), QStringLiteral("aLink b")},
        {QStringLiteral("\x13 AUTHOR \x14\x13 X \x14inner\x15 outer\x15!"), QStringLiteral("inner outer!")},
        {QStringLiteral("\x13 PAGE \x15no result"), QStringLiteral("no result")},
        {QStringLiteral("x\x01y\x08z"), QStringLiteral("xyz")},  // picture and drawing anchors
        {QStringLiteral("unclosed \x13 field"), QStringLiteral("unclosed ")},
    };
    Application app;
    for (const Case &c : cases) {
        Document *doc = app.documents().add();
        doc->mutableStory().insert(0, c.stored, 0u, 0u);
        QByteArray file;
        ASSERT_TRUE(DocWriter(*doc).write(file).ok);
        Document back(&app, QString());
        ASSERT_TRUE(DocReader::read(file, back).ok);
        EXPECT_EQ(back.content().text(), c.read + QStringLiteral("\r")) << c.stored.toStdString();
        doc->close();
    }
}

// A file on disk is read in parts: its text, longer than one part, in one 8-bit
// or one UTF-16 piece, with many property pages, reads back as from memory.
TEST(DocReader, FileOnDiskReadsAsFromMemory) {
    QTemporaryDir tmp;
    for (const QString &word : {QStringLiteral("Grüße"), QStringLiteral("語")}) {
        Application app;
        QList<QStringList> cells;
        for (int row = 0; row < 1200; ++row)
            cells << QStringList{QStringLiteral("%1 %2 ").arg(word).arg(row).repeated(12)};
        Document *doc = doctest::taggedDocument(app, cells);
        QByteArray file;
        ASSERT_TRUE(DocWriter(*doc).write(file).ok);
        ASSERT_GT(file.size(), 3 * 65536);
        const QString path = tmp.filePath(QStringLiteral("long.doc"));
        ASSERT_TRUE(testsupport::writeFile(path, file));
        Document fromMemory(&app, QString()), fromDisk(&app, QString());
        ASSERT_TRUE(DocReader::read(file, fromMemory).ok);
        const office::Status s = DocReader::readFile(path, fromDisk);
        ASSERT_TRUE(s.ok) << s.message.toStdString();
        EXPECT_EQ(dumpText(fromDisk), dumpText(*doc));
        EXPECT_EQ(dumpText(fromDisk), dumpText(fromMemory));
    }
}

}  // namespace
