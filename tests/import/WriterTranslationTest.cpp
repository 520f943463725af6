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
