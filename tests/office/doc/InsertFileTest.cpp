#include "DocTestHelpers.h"

#include "office/doc/Application.h"
#include "office/doc/TextDump.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

struct InsertFileTest : ::testing::Test {
    QTemporaryDir dir;
    office::CellGridClipboard clipboard;
    Application app{&clipboard};

    // A tagged source file with both styles, a table, and a custom colour.
    QString makeSource(const QString &name, SaveFormat format = SaveFormat::Rtf) {
        Document *src = app.documents().add();
        doctest::addTaggedStyles(*src);
        Style *custom = src->styles().add(QStringLiteral("Eigener Stil"), StyleType::Character);
        custom->font().setColor(colorFromRgb(10, 20, 30));
        doctest::typeCellBlock(src->selection(), 1, 1, QStringLiteral("Text A"));
        src->selection().typeText(QStringLiteral("x"));
        src->selection().moveLeft(Unit::Character, 1, MoveMode::Extend);
        (void)src->selection().range().setStyle(QStringLiteral("Eigener Stil"));
        src->selection().endKey(Unit::Story);
        src->selection().typeText(QStringLiteral("\r"));
        clipboard.setGrid({{QStringLiteral("t1"), QStringLiteral("t2")}});
        src->selection().paste();
        src->selection().insertAfter(QStringLiteral("<!-- CellIDs-Gesamt:>>1"));
        (void)src->selection().range().setStyle(QStringLiteral("tw4winExternal"));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(src->saveAs(path, format).ok);
        src->close();
        return path;
    }
};

// The joining sequence: separator with its style, then the whole file at the end.
TEST_F(InsertFileTest, JoinsFilesBehindStyledSeparators) {
    const QString source = makeSource(QStringLiteral("Text_a.xls-1.rtf"));
    Document *joined = app.documents().add();
    Selection &sel = joined->selection();
    sel.typeText(QStringLiteral("<!--Bindle Tool-->\r<!-- Bindle-Fn: all.rtf-->\r\r"));
    Style *ext = joined->styles().add(QStringLiteral("tw4winExternal"), StyleType::Character);
    ext->font().setName(QStringLiteral("Courier New"));
    ext->font().setColorIndex(15);
    ext->setLanguageId(1024);
    sel.endKey(Unit::Story);
    for (int i = 0; i < 2; ++i) {
        sel.insertAfter(QStringLiteral("<BindleRTF>Text_a.xls-1.rtf</BindleRTF>\r\r"));
        ASSERT_TRUE(sel.range().setStyle(QStringLiteral("tw4winExternal")).ok);
        sel.moveRight(Unit::Character, 1);
        sel.endKey(Unit::Story);
        ASSERT_TRUE(sel.insertFile(source).ok);
        sel.endKey(Unit::Story);
    }
    sel.insertAfter(QStringLiteral("<BindleRTF>Ready</BindleRTF>"));
    (void)sel.range().setStyle(QStringLiteral("tw4winExternal"));

    EXPECT_NE(joined->styles().item(QStringLiteral("tw4winInternal")), nullptr);
    const Style *custom = joined->styles().item(QStringLiteral("Eigener Stil"));
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(custom->font().color(), colorFromRgb(10, 20, 30));
    EXPECT_EQ(joined->tables().count(), 2);
    const QString dump = dumpText(*joined);
    EXPECT_EQ(dump.count(QStringLiteral("[tw4winExternal]<!-- CellID: 1,1-->\\p")), 0);  // marks end lines, not shown
    EXPECT_EQ(dump.count(QStringLiteral("\t[tw4winExternal]<!-- CellID: 1,1-->[/]\n")), 2);
    EXPECT_EQ(dump.count(QStringLiteral("\t#cell-row\tt1|t2\n")), 2);
    EXPECT_EQ(dump.count(QStringLiteral("[Eigener Stil]x[/]")), 2);
    // The inserted file's last paragraph joins the next separator.
    EXPECT_TRUE(dump.contains(QStringLiteral("[tw4winExternal]<!-- CellIDs-Gesamt:>>1<BindleRTF>Text_a.xls-1.rtf</BindleRTF>[/]\n")))
        << dump.toStdString();
    EXPECT_TRUE(dump.endsWith(QStringLiteral("[tw4winExternal]<!-- CellIDs-Gesamt:>>1<BindleRTF>Ready</BindleRTF>[/]\n")));
}

TEST_F(InsertFileTest, InsertingIntoATableCellFlattensTheInsertedTable) {
    const QString source = makeSource(QStringLiteral("s.rtf"));
    Document *doc = app.documents().add();
    clipboard.setGrid({{QStringLiteral("A"), QStringLiteral("B")}});
    doc->selection().paste();
    const int cell = doc->tables().item(1).cell(1, 2).range().start();
    doc->selection().setRange(cell, cell);
    ASSERT_TRUE(doc->selection().insertFile(source).ok);
    ASSERT_EQ(doc->tables().count(), 1);
    const QStringList row = doc->tables().item(1).cellTexts().first();
    ASSERT_EQ(row.size(), 2);
    EXPECT_TRUE(row[1].contains(QStringLiteral("t1\tt2\n"))) << row[1].toStdString();
    EXPECT_TRUE(row[1].endsWith(QStringLiteral("B")));
}

TEST_F(InsertFileTest, AWordDocumentInsertsAsItsRtfDoes) {
    QStringList dumps;
    for (const auto &[name, format] : {std::pair{QStringLiteral("s.rtf"), SaveFormat::Rtf}, std::pair{QStringLiteral("s.doc"), SaveFormat::Doc}}) {
        const QString source = makeSource(name, format);
        Document *doc = app.documents().add();
        doc->selection().typeText(QStringLiteral("vorher\r"));
        ASSERT_TRUE(doc->selection().insertFile(source).ok) << name.toStdString();
        dumps << dumpText(*doc);
        EXPECT_EQ(doc->tables().count(), 1);
        EXPECT_GE(doc->styles().indexOf(QStringLiteral("Eigener Stil")), 0);
    }
    EXPECT_EQ(dumps[1], dumps[0]);
}

TEST_F(InsertFileTest, AMissingOrForeignFileIsRefusedAndNothingChanges) {
    Document *doc = app.documents().add();
    doc->selection().typeText(QStringLiteral("keep"));
    EXPECT_FALSE(doc->selection().insertFile(dir.filePath(QStringLiteral("missing.rtf"))).ok);
    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("plain.rtf")), "just text"));
    const office::Status status = doc->selection().insertFile(dir.filePath(QStringLiteral("plain.rtf")));
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(status.message.contains(QStringLiteral("RTF")));
    EXPECT_EQ(doc->content().text(), QStringLiteral("keep\r"));
}

// A stretch of another document goes in with its character styles, which the
// receiving document gains.
TEST_F(InsertFileTest, AStretchOfAnotherDocumentKeepsItsStyles) {
    Document *source = app.documents().add();
    doctest::addTaggedStyles(*source);
    source->selection().typeText(QStringLiteral("eins\rzwei drei\rvier"));
    (void)source->range(5, 9).setStyle(QStringLiteral("tw4winExternal"));
    Document *target = app.documents().add();
    target->selection().typeText(QStringLiteral("A"));
    EXPECT_EQ(target->insertDocument(1, *source, 3, 15), 13);
    EXPECT_EQ(dumpText(*target), QStringLiteral("1\tAs\n2\t[tw4winExternal]zwei[/] drei\n3\t\n"));
    EXPECT_EQ(target->insertDocument(0, *source, 30, 40), 0);  // nothing beyond the end

    // A document's own stretch, inserted into it, is copied before anything moves.
    EXPECT_EQ(source->insertDocument(10, *source, 5, 10), 15);
    EXPECT_EQ(dumpText(*source),
              QStringLiteral("1\teins\n2\t[tw4winExternal]zwei[/] [tw4winExternal]zwei[/] drei\n3\tvier\n"));
}

TEST(TextCommand, DumpsParagraphsRunsAndRows) {
    const QString cli = testsupport::binDir() + QStringLiteral("/celltrove-cli");
    const auto r = testsupport::runProgram(cli, {QStringLiteral("text"), testsupport::fixtureDir() + QStringLiteral("/rtf/lo_tagged.rtf")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 13);
    EXPECT_EQ(lines[3], QStringLiteral("4\t[tw4winExternal]<!-- CellID: 1,1-->[/]"));
    EXPECT_EQ(lines[9], QStringLiteral("10\terste Zeile\\vzweite\\tZeile [tw4winInternal]<<lf>>[/] Ende"));
    EXPECT_EQ(lines[12], QStringLiteral("13\t#cell-row\tName|Wert|\u00C4"));
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.rtf"));
    ASSERT_TRUE(testsupport::writeFile(bad, "PK\x03\x04 not rtf"));
    const auto refused = testsupport::runProgram(cli, {QStringLiteral("text"), bad});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("Not an RTF file"));

    // A .doc dumps as the RTF of the same document does; a damaged one is refused with its offset.
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    Document *doc = app.documents().add();
    doctest::addTaggedStyles(*doc);
    doctest::typeCellBlock(doc->selection(), 1, 1, QStringLiteral("Grüße \u65E5\nzwei"));
    clipboard.setGrid({{QStringLiteral("a"), QStringLiteral("b|c")}});
    doc->selection().paste();
    const QString rtf = dir.filePath(QStringLiteral("t.rtf"));
    const QString word = dir.filePath(QStringLiteral("t.doc"));
    ASSERT_TRUE(doc->saveAs(rtf, SaveFormat::Rtf).ok);
    ASSERT_TRUE(doc->saveAs(word, SaveFormat::Doc).ok);
    const auto fromRtf = testsupport::runProgram(cli, {QStringLiteral("text"), rtf});
    const auto fromDoc = testsupport::runProgram(cli, {QStringLiteral("text"), word});
    ASSERT_EQ(fromDoc.exitCode, 0) << fromDoc.err.toStdString();
    EXPECT_EQ(fromDoc.out, fromRtf.out);
    EXPECT_TRUE(fromDoc.out.contains("#cell-row\ta|b\\|c")) << fromDoc.out.toStdString();
    QByteArray damaged = testsupport::readFile(word);
    damaged.truncate(damaged.size() / 2);
    const QString cut = dir.filePath(QStringLiteral("cut.doc"));
    ASSERT_TRUE(testsupport::writeFile(cut, damaged));
    const auto refusedDoc = testsupport::runProgram(cli, {QStringLiteral("text"), cut});
    EXPECT_EQ(refusedDoc.exitCode, 2);
    EXPECT_FALSE(refusedDoc.err.isEmpty());
}

}  // namespace
