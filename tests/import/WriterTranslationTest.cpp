#include "ImportHarness.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace importtest;

namespace {

// Runs lo_translate.py: every run without the structure style in upper case,
// saved by Writer's RTF filter.
bool translateWithWriter(const QString &source, const QString &target) {
    const QString script = QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../import/lo_translate.py"));
    const auto r = testsupport::runProgram(QStringLiteral("/usr/bin/python3"), {script, source, target}, 240000);
    return r.exitCode == 0 && QFile::exists(target);
}

}  // namespace

// A translator's round trip: the document saved by Writer after translation
// goes back into the cells and comments, line breaks included; the header
// and markers, which the translator left alone, still lead to the cells.
TEST(WriterTranslation, TranslatedTextsReachTheirCellsAndComments) {
    REQUIRE_PROGRAM("soffice");
    ImportHarness h;
    FakeSheet &sheet = h.book({1, 2}).worksheets[2];
    sheet.comments = {QStringLiteral("c1"), QStringLiteral("c2")};
    sheet.cells[{50, 1}] = QStringLiteral("unberührt");
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("2"), QStringLiteral("Blatt 2"));
    doc.comment(QStringLiteral("erster Kommentar")).comment(QStringLiteral("zwei\nZeilen"));
    const QList<std::pair<QPair<int, int>, QString>> cells = {
        {{1, 1}, QStringLiteral("Haus")},
        {{1, 3}, QStringLiteral("drei\nZeilen\nhier")},
        {{2, 1}, QStringLiteral("Grüße aus Köln")},
        {{7, 256}, QStringLiteral("letzte Spalte")},
        {{40000, 2}, QStringLiteral("weit unten")},
        // Writer holds a paragraph this long as several text portions.
        {{12, 3}, QStringLiteral("wort ").repeated(1800)},
    };
    for (const auto &[cell, text] : cells) doc.cell(cell.first, cell.second, text);
    doc.total(int(cells.size()));
    const QString original = h.path(QStringLiteral("original.rtf"));
    ASSERT_TRUE(doc.saveAs(original));
    const QString translated = QStringLiteral("Text_Mappe.xls-2.rtf");
    ASSERT_TRUE(translateWithWriter(original, h.path(translated)));

    h.run({translated});
    EXPECT_FALSE(h.outcome.runError) << h.logLines().join(u'\n').toStdString();
    const FakeSheet &result = h.sheet(2);
    for (const auto &[cell, text] : cells)
        EXPECT_EQ(result.cellText(cell.first, cell.second), text.toUpper()) << cell.first << "," << cell.second;
    EXPECT_EQ(result.cellText(50, 1), QStringLiteral("unberührt"));
    EXPECT_EQ(result.comments, QStringList({QStringLiteral("ERSTER KOMMENTAR"), QStringLiteral("ZWEI\nZEILEN")}));
    EXPECT_TRUE(h.sheet(1).cells.isEmpty());
}

// Writer saves a soft hyphen as \- and a non-breaking hyphen as \_, which the
// document engine holds as the word processor's internal codes; cells and
// comments get the Unicode characters back, by both ways of import.
TEST(WriterTranslation, SpecialHyphensAndSpacesComeBackAsUnicode) {
    REQUIRE_PROGRAM("soffice");
    const QString special = QStringLiteral("Silben\u00ADtrennung Bindestrich\u2011fest geschützt\u00A0Leer");
    ImportHarness h;
    h.book({1}).worksheets[1].comments = {QStringLiteral("c1")};
    TaggedDocBuilder cellsWay(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    cellsWay.comment(special).cell(1, 1, special).cell(2, 1, QStringLiteral("\u00AD")).total(2);
    TaggedDocBuilder tableWay(QStringLiteral("Tabelle.xls"), QStringLiteral("1"));
    tableWay.table({{special, QStringLiteral("b\u2011")}});
    h.book({1}, QStringLiteral("Tabelle.xls"));
    const QString cellsDoc = QStringLiteral("Text_Mappe.xls-1.rtf"), tableDoc = QStringLiteral("Tab_Tabelle.xls-1.rtf");
    ASSERT_TRUE(cellsWay.saveAs(h.path(QStringLiteral("cells.rtf"))));
    ASSERT_TRUE(tableWay.saveAs(h.path(QStringLiteral("table.rtf"))));
    ASSERT_TRUE(translateWithWriter(h.path(QStringLiteral("cells.rtf")), h.path(cellsDoc)));
    ASSERT_TRUE(translateWithWriter(h.path(QStringLiteral("table.rtf")), h.path(tableDoc)));
    QFile saved(h.path(cellsDoc));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray rtf = saved.readAll();
    EXPECT_TRUE(rtf.contains("\\-") && rtf.contains("\\_")) << "Writer no longer writes the hyphen control symbols";

    h.run({cellsDoc, tableDoc});
    EXPECT_FALSE(h.outcome.runError) << h.logLines().join(u'\n').toStdString();
    const FakeSheet &cells = h.sheet(1);
    EXPECT_EQ(cells.cellText(1, 1), special.toUpper());
    EXPECT_EQ(cells.cellText(2, 1), QStringLiteral("\u00AD"));
    EXPECT_EQ(cells.comments, QStringList{special.toUpper()});
    const FakeSheet &table = h.sheet(1, QStringLiteral("Tabelle.xls"));
    // lo_translate.py leaves tables alone: Writer only read and wrote them.
    EXPECT_EQ(table.cellText(1, 1), special);
    EXPECT_EQ(table.cellText(1, 2), QStringLiteral("b\u2011"));
}
