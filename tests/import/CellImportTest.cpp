#include "ImportHarness.h"

#include "count/AnalysisReport.h"
#include "import/CellImport.h"

#include <gtest/gtest.h>

using namespace importtest;
using celltrove::run::FileTypeFilter;

namespace {

const QString kDoc = QStringLiteral("Text_Mappe.xls-1.rtf");

QString importedLine(int n) { return QString::number(n) + QStringLiteral(" Zellen importiert"); }

}  // namespace

TEST(CellImport, WritesEveryMarkedCellIntoTheHeadersSheetAndSaves) {
    ImportHarness h;
    h.book({1}).worksheets[1].cells[{9, 9}] = QStringLiteral("bleibt");
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.cell(1, 1, QStringLiteral("Hello")).cell(3, 2, QStringLiteral("Two\nlines")).cell(12, 256, QStringLiteral("Ä€"));
    doc.total(3);
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));

    h.run({kDoc});
    EXPECT_TRUE(h.outcome.ran);
    EXPECT_FALSE(h.outcome.runError);
    const FakeSheet &sheet = h.sheet(1);
    EXPECT_EQ(sheet.cellText(1, 1), QStringLiteral("Hello"));
    EXPECT_EQ(sheet.cellText(3, 2), QStringLiteral("Two\nlines"));
    EXPECT_EQ(sheet.cellText(12, 256), QStringLiteral("Ä€"));
    EXPECT_EQ(sheet.cellText(9, 9), QStringLiteral("bleibt"));
    EXPECT_EQ(h.books.find(h.path(QStringLiteral("Mappe.xls")))->saves, 1);
    EXPECT_TRUE(h.logHas(importedLine(3)));
    EXPECT_TRUE(h.logHas(QStringLiteral("Zellen Gesamt:")));  // cell way: the cells block is shown
}

// The text of a cell is what stands between its marker's paragraph and the
// next "<!-- ", without the paragraph marks around it.
TEST(CellImport, CellTextEdgeCases) {
    struct Case {
        const char *name;
        QString raw;       // paragraphs after the marker's empty paragraph
        QString expected;  // null: the cell keeps its old text
    };
    const QString keep;
    const Case cases[] = {
        {"two paragraphs", QStringLiteral("Zwei\rAbsätze\r\r"), QStringLiteral("Zwei\nAbsätze")},
        {"lf tag", QStringLiteral("a<<lf>>b\r\r"), QStringLiteral("a\nb")},
        {"manual line break", QStringLiteral("a\vb\r\r"), QStringLiteral("a\nb")},
        {"single blank", QStringLiteral(" \r\r"), keep},
        {"empty", QStringLiteral("\r\r"), keep},
        {"empty without marks", QString(), keep},
        {"only an lf tag", QStringLiteral("<<lf>>\r\r"), keep},
        {"only a line break", QStringLiteral("\v\r\r"), keep},
        {"leading paragraph mark", QStringLiteral("\rVorne\r\r"), QStringLiteral("Vorne")},
        {"cut at a marker start", QStringLiteral("Text <!-- Rest\r\r"), QStringLiteral("Text ")},
        {"blanks kept", QStringLiteral("  Blanks  \r\r"), QStringLiteral("  Blanks  ")},
        {"many trailing marks", QStringLiteral("x\r\r\r\r\r"), QStringLiteral("x")},
        {"no marks before next marker", QStringLiteral("dicht"), QStringLiteral("dicht")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ImportHarness h;
        FakeBook &book = h.book({1});
        book.worksheets[1].cells[{1, 1}] = QStringLiteral("alt");
        TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
        doc.marker(QStringLiteral("1,1")).text(c.raw).cell(2, 1, QStringLiteral("next")).total(2);
        ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
        h.run({kDoc});
        EXPECT_FALSE(h.outcome.runError);
        EXPECT_EQ(h.sheet(1).cellText(1, 1), c.expected.isNull() ? QStringLiteral("alt") : c.expected);
        EXPECT_EQ(h.sheet(1).cellText(2, 1), QStringLiteral("next"));
        EXPECT_TRUE(h.logHas(importedLine(2)));
    }
}

TEST(CellImport, MissingTotalsLineStillImportsTheLastCellAndCountsAgainst123) {
    ImportHarness h;
    h.book({1});
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.cell(1, 1, QStringLiteral("eins")).cell(2, 1, QStringLiteral("letzte"));
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
    h.run({kDoc});
    EXPECT_EQ(h.sheet(1).cellText(1, 1), QStringLiteral("eins"));
    EXPECT_EQ(h.sheet(1).cellText(2, 1), QStringLiteral("letzte"));
    ASSERT_FALSE(h.ui.processTexts.isEmpty());
    const QLocale locale = QLocale::system();
    EXPECT_EQ(h.ui.processTexts.first(), celltrove::count::NumberText(100.0 / 123, locale).left(6) + QStringLiteral(" %"));
}

TEST(CellImport, DocumentWithoutMarkersOpensNoWorkbook) {
    ImportHarness h;
    h.book({1});
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.text(QStringLiteral("Nur Text\r")).total(0);
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
    h.run({kDoc});
    EXPECT_TRUE(h.books.openedPaths.isEmpty());
    EXPECT_FALSE(h.outcome.runError);
    for (const QString &line : h.logLines()) EXPECT_FALSE(line.endsWith(QStringLiteral("Zellen importiert")));
}

TEST(CellImport, CommentsGoBackByTheirOrderWithoutTrailingLineFeeds) {
    ImportHarness h;
    h.book({1}).worksheets[1].comments = {QStringLiteral("c1"), QStringLiteral("c2"), QStringLiteral("c3")};
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.comment(QStringLiteral("Eins")).comment(QStringLiteral("  Zwei\rZeilen<<lf>>Tag  "));
    for (int row = 1; row <= 10; ++row) doc.cell(row, 1, QStringLiteral("z%1").arg(row));
    doc.total(10);
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
    h.run({kDoc});
    const FakeSheet &sheet = h.sheet(1);
    // Fewer blocks than comments: the third keeps its text.
    EXPECT_EQ(sheet.comments, QStringList({QStringLiteral("Eins"), QStringLiteral("Zwei\nZeilen\nTag"), QStringLiteral("c3")}));
    EXPECT_EQ(sheet.cellText(10, 1), QStringLiteral("z10"));
    EXPECT_TRUE(h.logHas(importedLine(12)));
}

TEST(CellImport, SurplusCommentBlocksAreNotRead) {
    ImportHarness h;
    h.book({1}).worksheets[1].comments = {QStringLiteral("c1")};
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.comment(QStringLiteral("neu")).comment(QStringLiteral("zuviel")).cell(1, 1, QStringLiteral("a")).total(1);
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
    h.run({kDoc});
    EXPECT_EQ(h.sheet(1).comments, QStringList{QStringLiteral("neu")});
    EXPECT_TRUE(h.logHas(importedLine(2)));
}

// The sheet number is the sheet's Index among all sheets: with a chart sheet
// at Index 2, number 3 is the second worksheet.
TEST(CellImport, SheetNumberIsTheIndexAmongAllSheets) {
    ImportHarness h;
    h.book({1, 3});
    TaggedDocBuilder doc(QStringLiteral("  Mappe.xls  "), QStringLiteral("3"));
    doc.cell(3, 2, QStringLiteral("B3")).total(1);
    ASSERT_TRUE(doc.saveAs(h.path(QStringLiteral("Text_Mappe.xls-3.rtf"))));
    h.run({QStringLiteral("Text_Mappe.xls-3.rtf")});
    EXPECT_FALSE(h.outcome.runError);
    EXPECT_EQ(h.sheet(3).cellText(3, 2), QStringLiteral("B3"));
    EXPECT_TRUE(h.sheet(1).cells.isEmpty());
}

// A header that names no worksheet, or a workbook outside the document's
// folder, is refused: logged, the run error flag set, nothing written or saved.
TEST(CellImport, HeaderThatNamesNoTargetIsRefused) {
    struct Case {
        const char *name;
        QString workbook;
        QString sheet;
        bool opens;  // the workbook is opened before the refusal
    };
    const Case cases[] = {
        {"sheet number not a number", QStringLiteral("Mappe.xls"), QStringLiteral("eins"), true},
        {"sheet number empty", QStringLiteral("Mappe.xls"), QString(), true},
        {"chart sheet", QStringLiteral("Mappe.xls"), QStringLiteral("2"), true},
        {"no such sheet", QStringLiteral("Mappe.xls"), QStringLiteral("7"), true},
        {"negative", QStringLiteral("Mappe.xls"), QStringLiteral("-1"), true},
        {"workbook name empty", QString(), QStringLiteral("1"), false},
        {"parent folder", QStringLiteral("../Mappe.xls"), QStringLiteral("1"), false},
        {"sub folder", QStringLiteral("sub/Mappe.xls"), QStringLiteral("1"), false},
        {"backslash", QStringLiteral("sub\\Mappe.xls"), QStringLiteral("1"), false},
        {"dots", QStringLiteral(".."), QStringLiteral("1"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ImportHarness h;
        h.book({1, 3}).worksheets[1].cells[{1, 1}] = QStringLiteral("alt");
        TaggedDocBuilder doc(c.workbook, c.sheet);
        doc.cell(1, 1, QStringLiteral("neu")).total(1);
        ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
        h.run({kDoc});
        EXPECT_TRUE(h.outcome.runError);
        EXPECT_EQ(h.books.openedPaths.size(), c.opens ? 1 : 0);
        FakeBook *book = h.books.find(h.path(QStringLiteral("Mappe.xls")));
        EXPECT_EQ(book->saves, 0);
        EXPECT_EQ(h.sheet(1).cellText(1, 1), QStringLiteral("alt"));
        const QStringList log = h.logLines();
        EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const QString &l) { return l.startsWith(QStringLiteral("Error: ")); }));
        EXPECT_TRUE(h.logHas(QStringLiteral("Error: Mindestens 1 Fehler vorhanden.")));
    }
}

TEST(CellImport, HeaderWithoutWorkbookMarkerIsRefused) {
    ImportHarness h;
    h.book({1});
    office::doc::Application word;
    office::doc::Document *doc = word.documents().add();
    doc->selection().insertAfter(QStringLiteral("<!-- CellID: 1,1-->\r\rneu\r\r<!-- CellIDs-Gesamt:>>1"));
    ASSERT_TRUE(doc->saveAs(h.path(kDoc), office::doc::SaveFormat::Rtf));
    h.run({kDoc});
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_TRUE(h.books.openedPaths.isEmpty());
}

TEST(CellImport, WorkbookThatCannotBeOpenedIsAnErrorAndAMessage) {
    ImportHarness h;
    TaggedDocBuilder doc(QStringLiteral("Fehlt.xls"), QStringLiteral("1"));
    doc.cell(1, 1, QStringLiteral("neu")).total(1);
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
    h.run({kDoc});
    EXPECT_TRUE(h.outcome.runError);
    const QString line = QStringLiteral("Kann Excel-Datei nicht öffnen: ") + h.path(kDoc);
    EXPECT_TRUE(h.logHas(line));
    EXPECT_EQ(h.ui.messages, QStringList{QStringLiteral("Celltrove für Excel: ") + line});
}

TEST(CellImport, BrokenMarkersAreLoggedAndTheRestIsWritten) {
    ImportHarness h;
    h.book({1});
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.marker(QStringLiteral("x,1")).text(QStringLiteral("a\r\r"));
    doc.marker(QStringLiteral("70000,1")).text(QStringLiteral("b\r\r"));
    doc.marker(QStringLiteral("1,257")).text(QStringLiteral("c\r\r"));
    doc.cell(65536, 1, QStringLiteral("letzte Zeile")).total(4);
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));
    h.run({kDoc});
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_EQ(h.sheet(1).cellText(65536, 1), QStringLiteral("letzte Zeile"));
    EXPECT_EQ(h.sheet(1).cells.size(), 1);
    EXPECT_TRUE(h.logHas(QStringLiteral("Error: Ungültige Zellmarke: <!-- CellID: x,1")));
    EXPECT_TRUE(h.logHas(importedLine(4)));
}

TEST(CellImport, ParseCellIdentifier) {
    int row = 0;
    int column = 0;
    EXPECT_TRUE(celltrove::importing::ParseCellIdentifier(QStringLiteral(" 12 , 3 "), row, column));
    EXPECT_EQ(row, 12);
    EXPECT_EQ(column, 3);
    for (const char *bad : {"", "1", "1,2,3", "0,1", "1,0", "65537,1", "a,b", "1.5,2"})
        EXPECT_FALSE(celltrove::importing::ParseCellIdentifier(QString::fromLatin1(bad), row, column)) << bad;
}

// Documents a translation tool or a hand edit may leave behind: the run ends
// normally, without a crash or a hang, whatever gets written.
TEST(CellImport, MalformedDocumentsEndTheRunNormally) {
    const QString header = QStringLiteral("<!-- Excel-Dateiname: -->Mappe.xls\r<!-- ExcelsheetNr.: -->1\r");
    const QString bodies[] = {
        QStringLiteral("<!-- CellID: "),
        QStringLiteral("<!-- CellID: 1,1-->"),
        QStringLiteral("<!-- CellIDs-Gesamt:>>2\r<!-- CellID: 1,1-->\r\rvorher\r\r"),
        QStringLiteral("<!-- CellID: 1,1--><!-- CellID: 2,1-->\rx"),
        QStringLiteral("<comm>\rohne Ende\r<!-- CellID: 1,1-->\r\ra\r\r<!-- CellIDs-Gesamt:>>x"),
        QStringLiteral("</comm><comm><!-- CellID: 1,1-->\r\r<!-- CellIDs-Gesamt:>>-5"),
        QStringLiteral("<!-- CellID: 1-1-->\r\ra\r\r<!-- CellID: ,-->\r\rb\r\r<!-- CellIDs-Gesamt:>>99999999999"),
        QStringLiteral("<!-- CellID: 1,1-->\r\r<<lf>><<lf>>\r<!-- <!-- <!-- \r\r<!-- CellIDs-Gesamt:>>"),
    };
    for (const QString &body : bodies) {
        SCOPED_TRACE(body.toStdString());
        ImportHarness h;
        h.book({1}).worksheets[1].comments = {QStringLiteral("c")};
        office::doc::Application word;
        office::doc::Document *doc = word.documents().add();
        doc->selection().insertAfter(header + body);
        ASSERT_TRUE(doc->saveAs(h.path(QStringLiteral("kaputt.rtf")), office::doc::SaveFormat::Rtf));
        h.run({QStringLiteral("kaputt.rtf")});
        EXPECT_TRUE(h.outcome.ran);
        EXPECT_TRUE(h.logHas(QStringLiteral("                Gesamtanalyse")));
    }
}

// A translated formula result replaces the formula; each such cell gets one
// log line, a formula cell that the document leaves alone gets none.
TEST(CellImport, EveryReplacedFormulaIsLogged) {
    ImportHarness h;
    FakeSheet &sheet = h.book({1}).worksheets[1];
    sheet.sheetName = QStringLiteral("Preise 2026");
    sheet.formulas = {{2, 1}, {3, 28}, {5, 5}};
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.cell(1, 1, QStringLiteral("constant")).cell(2, 1, QStringLiteral("Summe")).cell(3, 28, QStringLiteral("Text"));
    doc.cell(5, 5, QStringLiteral(" "));  // left alone: the formula stays
    doc.total(4);
    ASSERT_TRUE(doc.saveAs(h.path(kDoc)));

    h.run({kDoc});
    const QStringList log = h.logLines();
    QStringList replaced;
    for (const QString &line : log)
        if (line.startsWith(QStringLiteral("Formel durch Text ersetzt: "))) replaced << line;
    EXPECT_EQ(replaced, (QStringList{QStringLiteral("Formel durch Text ersetzt: Preise 2026!A2"),
                                     QStringLiteral("Formel durch Text ersetzt: Preise 2026!AB3")}));
    EXPECT_EQ(h.sheet(1).formulas, (QSet<QPair<int, int>>{{5, 5}}));
    EXPECT_FALSE(h.outcome.runError);
}
