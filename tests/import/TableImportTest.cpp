#include "ImportHarness.h"

#include <gtest/gtest.h>

using namespace importtest;

namespace {
const QString kDoc = QStringLiteral("Tab_Mappe.xls-1.rtf");
}

// A document with a table goes the table way whatever markers it holds: the
// table is pasted from A1 and "<<lf>>" in the used cells becomes a line feed.
TEST(TableImport, PastesTheFirstTableFromA1AndRestoresLineFeeds) {
    ImportHarness h;
    FakeSheet &target = h.book({1}).worksheets[1];
    target.cells[{4, 1}] = QStringLiteral("p<<lf>>q");  // in the used range, outside the table
    target.cells[{4, 2}] = QStringLiteral("=A1");       // no tag: never rewritten
    target.formulas = {{2, 2}, {4, 2}};                 // B2 is pasted over, B4 is not
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.cell(9, 9, QStringLiteral("Marke"));
    doc.table({{QStringLiteral("Zwei<<lf>>Wörter"), QStringLiteral("x")}, {QStringLiteral("y"), QStringLiteral("3")}});
    doc.text(QStringLiteral("zwischen\r"));
    doc.table({{QStringLiteral("zweite Tabelle")}});
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));

    h.run({kDoc});
    EXPECT_FALSE(h.outcome.runError);
    const FakeSheet &sheet = h.sheet(1);
    EXPECT_EQ(sheet.cellText(1, 1), QStringLiteral("Zwei\nWörter"));
    EXPECT_EQ(sheet.cellText(1, 2), QStringLiteral("x"));
    EXPECT_EQ(sheet.cellText(2, 1), QStringLiteral("y"));
    EXPECT_EQ(sheet.cellText(2, 2), QStringLiteral("3"));
    EXPECT_EQ(sheet.cellText(4, 1), QStringLiteral("p\nq"));
    EXPECT_EQ(sheet.cellText(9, 9), QString());
    EXPECT_EQ(sheet.cellText(3, 1), QString());
    EXPECT_EQ(sheet.writes, 4 + 1 + 1);  // four pasted, two rewritten ("Zwei<<lf>>Wörter", "p<<lf>>q")
    EXPECT_EQ(h.books.find(h.path(QStringLiteral("Mappe.xls")))->saves, 1);

    // Table runs show tables, not cells, in the total block: 1 table, 6 used cells counted.
    const QStringList log = h.logLines();
    EXPECT_FALSE(log.contains(QStringLiteral("Zellen Gesamt:")));
    const qsizetype tables = log.indexOf(QStringLiteral("Tabellen Gesamt:"));
    ASSERT_GE(tables, 0);
    EXPECT_TRUE(log.at(tables + 1).endsWith(QStringLiteral(" 1")));
    for (const QString &line : log) EXPECT_FALSE(line.endsWith(QStringLiteral("Zellen importiert")));
    EXPECT_EQ(log.filter(QStringLiteral("Formel durch Text ersetzt: ")),
              QStringList{QStringLiteral("Formel durch Text ersetzt: Blatt1!B2")});
}

TEST(TableImport, RefusedSheetLeavesTheWorkbookUnsaved) {
    ImportHarness h;
    h.book({1});
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("5"));
    doc.table({{QStringLiteral("a")}});
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
    h.run({kDoc});
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_EQ(h.books.find(h.path(QStringLiteral("Mappe.xls")))->saves, 0);
    EXPECT_TRUE(h.sheet(1).cells.isEmpty());
}

// "Alle Ebenen/Spalten" shows hidden columns and opens outlines before the
// paste; the cell way leaves them as they are.
TEST(TableImport, AllLevelsOptionShowsColumnsAndOutlinesOnlyTheTableWay) {
    for (const bool allLevels : {true, false}) {
        SCOPED_TRACE(allLevels);
        ImportHarness h;
        h.options.allLevels = allLevels;
        h.book({1});
        h.book({1}, QStringLiteral("Zellen.xls"));
        TaggedDocBuilder table(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
        table.table({{QStringLiteral("a")}});
        ASSERT_TRUE(table.saveAs(h.path(kDoc)));
        TaggedDocBuilder cells(QStringLiteral("Zellen.xls"), QStringLiteral("1"));
        cells.cell(1, 1, QStringLiteral("b")).total(1);
        ASSERT_TRUE(cells.saveAs(h.path(QStringLiteral("Text_Zellen.xls-1.rtf"))));
        h.run({kDoc, QStringLiteral("Text_Zellen.xls-1.rtf")});
        EXPECT_EQ(h.sheet(1).showAllCalls, allLevels ? 1 : 0);
        EXPECT_EQ(h.sheet(1, QStringLiteral("Zellen.xls")).showAllCalls, 0);
    }
}

// A table-way document whose workbook cannot be opened stops there: a log
// line and a message, but no file analysis. The cell way still reports.
TEST(TableImport, UnopenableWorkbookWritesNoFileAnalysis) {
    for (const bool tableWay : {true, false}) {
        SCOPED_TRACE(tableWay);
        ImportHarness h;
        TaggedDocBuilder doc(QStringLiteral("Fehlt.xls"), QStringLiteral("1"));
        if (tableWay) doc.table({{QStringLiteral("a")}});
        else doc.cell(1, 1, QStringLiteral("a")).total(1);
        ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
        h.run({kDoc});
        const QStringList log = h.logLines();
        EXPECT_TRUE(log.contains(QStringLiteral("Kann Excel-Datei nicht öffnen: ") + h.path(kDoc)));
        EXPECT_EQ(log.count(QStringLiteral("                Dateianalyse")), tableWay ? 0 : 1);
        EXPECT_TRUE(log.contains(QStringLiteral("                Gesamtanalyse")));
        EXPECT_EQ(h.ui.messages.size(), 1);
    }
}
