// Workbooks written by LibreOffice (tests/fixtures/make_workbook_fixtures.py): what
// the generator put in is what the reader gives back.

#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace office::sheet;

namespace {

std::unique_ptr<Workbook> fixture(const char *name) {
    std::unique_ptr<Workbook> book;
    const office::Status st = Workbook::open(testsupport::fixtureDir() + QStringLiteral("/xls/") + QLatin1String(name), book);
    EXPECT_TRUE(st.ok) << name << ": " << st.message.toStdString();
    return book;
}

const QLocale de(QLocale::German, QLocale::Germany);

}  // namespace

TEST(Fixture, SheetsByNumberNameAndIndex) {
    auto book = fixture("kinds.xls");
    ASSERT_TRUE(book);
    ASSERT_EQ(book->worksheetCount(), 5);
    const char *names[] = {"Werte", "Leer", "Gliederung", "Versteckt", "Datum"};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(book->worksheet(n)->name(), QString::fromUtf8(names[n - 1]));
        EXPECT_EQ(book->worksheet(n)->index(), n);
    }
    EXPECT_EQ(book->worksheet(QStringLiteral("gliederung")), book->worksheet(3));
    EXPECT_EQ(book->worksheet(QStringLiteral("nicht da")), nullptr);
    EXPECT_EQ(book->worksheet(0), nullptr);
    EXPECT_EQ(book->worksheet(6), nullptr);
    EXPECT_EQ(book->worksheet(4)->visibility(), SheetVisibility::Hidden);
}

TEST(Fixture, EveryKindOfValue) {
    auto book = fixture("kinds.xls");
    ASSERT_TRUE(book);
    const Worksheet &s = *book->worksheet(1);
    const struct {
        int row, column;
        CellValue value;
    } cases[] = {
        {1, 1, CellValue::text(QStringLiteral("Größe Übermaß Straße"))},
        {1, 2, CellValue::text(QStringLiteral("日本語のテキスト"))},
        {1, 3, CellValue::text(QStringLiteral("eins\nzwei\ndrei"))},
        {1, 4, CellValue::text(QStringLiteral(" "))},
        {1, 5, CellValue::text(QStringLiteral("  "))},
        {1, 6, CellValue::text(QStringLiteral("fett und normal"))},  // rich text
        {2, 1, CellValue::number(3.5)},
        {2, 2, CellValue::number(42)},
        {2, 3, CellValue::number(-7)},
        {2, 4, CellValue::number(1234567.125)},
        {2, 5, CellValue::number(1e20)},
        {2, 6, CellValue::number(0.000012345)},
        {3, 1, CellValue::boolean(true)},
        {3, 2, CellValue::error(0x07)},
        {3, 3, CellValue::error(0x2A)},
        {3, 4, CellValue::text(QStringLiteral("Größe Übermaß Straße!"))},
        {3, 5, CellValue::text(QString())},  // formula giving ""
        {3, 6, CellValue::number(7)},
        {8, 2, CellValue::number(70)},  // shared formula
        {8, 3, CellValue::number(77)},
        {6, 4, CellValue::number(10)},  // array formula
        {12, 1, CellValue::text(QStringLiteral("kurz"))},
        {14, 8, CellValue()},  // formatting only
        {20, 20, CellValue()},
    };
    for (const auto &c : cases) EXPECT_EQ(s.value(c.row, c.column), c.value) << c.row << "," << c.column;
    EXPECT_EQ(s.value(12, 2).textValue(), QString(5000, QChar(0x00C4)) + QStringLiteral("ende"));
    EXPECT_EQ(s.value(12, 3).textValue(), QString(9000, QLatin1Char('x')));
    EXPECT_EQ(valueToText(s.value(2, 1), de), QStringLiteral("3,5"));
    ASSERT_TRUE(s.cell(14, 8));
    EXPECT_GE(s.cell(14, 8)->xf, 15);  // its own cell format, kept
}

TEST(Fixture, FormulaRecordsAreKeptForTheFormulaText) {
    auto book = fixture("kinds.xls");
    ASSERT_TRUE(book);
    const Worksheet &s = *book->worksheet(1);
    const Cell *sum = s.cell(3, 6);
    ASSERT_TRUE(sum && sum->isFormula());
    EXPECT_FALSE(s.formulas().at(sum->ref).tokens().isEmpty());
    // B5:B10 and C5:C10 are shared formulas, D5:D7 an array formula.
    const FormulaBlock *shared = s.formulaBlockAt(5, 2);
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->kind, FormulaBlock::Shared);
    EXPECT_EQ(shared->range, (CellRange{5, 10, 2, 2}));
    const FormulaBlock *array = s.formulaBlockAt(5, 4);
    ASSERT_TRUE(array);
    EXPECT_EQ(array->kind, FormulaBlock::Array);
    // A PtgExp token names the anchor cell of its block.
    const QByteArray tokens = s.formulas().at(s.cell(8, 2)->ref).tokens();
    ASSERT_EQ(tokens.size(), 5);
    EXPECT_EQ(tokens[0], 0x01);
    EXPECT_EQ(quint8(tokens[1]) | quint8(tokens[2]) << 8, 4);  // row 5, 0-based
}

TEST(Fixture, CommentsInRowMajorOrder) {
    auto book = fixture("kinds.xls");
    ASSERT_TRUE(book);
    const Worksheet &s = *book->worksheet(1);
    ASSERT_EQ(s.commentCount(), 3);
    EXPECT_EQ(s.comment(1).text, QStringLiteral("Erster Kommentar"));
    EXPECT_EQ(s.comment(2).text, QStringLiteral("Zweiter Kommentar\nmit Zeilenumbruch"));
    EXPECT_EQ(s.comment(3).text, QStringLiteral("Kommentar zu langem Text"));
    EXPECT_EQ(std::make_pair(s.comment(2).row, s.comment(2).column), std::make_pair(2, 4));
    EXPECT_EQ(s.comment(1).author, QStringLiteral(" "));  // LibreOffice's empty author
    EXPECT_EQ(book->worksheet(2)->commentCount(), 0);
}

TEST(Fixture, EndJumpsFindTheUsedArea) {
    auto book = fixture("kinds.xls");
    ASSERT_TRUE(book);
    const Worksheet &empty = *book->worksheet(2);
    EXPECT_EQ(empty.endUp(Worksheet::kRowCount, 1), 1);
    EXPECT_EQ(empty.endLeft(1, Worksheet::kColumnCount), 1);
    EXPECT_TRUE(empty.value(1, 1).isEmpty());
    const Worksheet &werte = *book->worksheet(1);
    EXPECT_EQ(werte.endUp(Worksheet::kRowCount, 1), 12);
    EXPECT_EQ(werte.endUp(Worksheet::kRowCount, 8), 1);    // H14 holds only formatting
    EXPECT_EQ(werte.endLeft(1, Worksheet::kColumnCount), 7);
    EXPECT_EQ(werte.endUp(10, 1), 5);   // inside a run: to its top
    EXPECT_EQ(werte.endUp(5, 1), 3);    // at a run's top: to the next filled cell above
    EXPECT_EQ(werte.endUp(11, 1), 10);  // from an empty cell: to the next filled cell
    EXPECT_EQ(werte.end(1, 7, Direction::Left), 1);
}

TEST(Fixture, HiddenColumnsOutlinesAndMergedAreas) {
    auto book = fixture("kinds.xls");
    ASSERT_TRUE(book);
    Worksheet &s = *book->worksheet(3);
    for (int col = 1; col <= 8; ++col) EXPECT_EQ(s.isColumnHidden(col), col == 2 || col == 4 || col == 5) << col;
    EXPECT_EQ(s.columnOutlineLevel(4), 1);
    EXPECT_EQ(s.columnOutlineLevel(3), 0);
    EXPECT_EQ(s.rowOutlineLevel(5), 2);
    for (int row = 1; row <= 12; ++row) EXPECT_EQ(s.isRowHidden(row), (row >= 4 && row <= 6) || row == 10) << row;
    // The merged area G8:H9 shows only its top-left cell; H9 keeps its hidden value.
    ASSERT_EQ(s.mergedAreas().size(), 1u);
    EXPECT_EQ(s.mergedAreas()[0], (CellRange{8, 9, 7, 8}));
    EXPECT_EQ(s.value(8, 7), CellValue::text(QStringLiteral("R8C7")));
    EXPECT_EQ(s.value(9, 8), CellValue::text(QStringLiteral("R9C8")));
    EXPECT_EQ(s.endLeft(9, Worksheet::kColumnCount), 8);  // H9 holds a value
    s.showAllOutlineLevels();
    for (int col = 1; col <= 8; ++col) EXPECT_EQ(s.isColumnHidden(col), col == 2) << col;
    for (int row = 1; row <= 12; ++row) EXPECT_EQ(s.isRowHidden(row), row == 10) << row;
    s.showAllColumns();
    EXPECT_FALSE(s.isColumnHidden(2));
}

TEST(Fixture, DatesInBothDateSystems) {
    for (const char *name : {"kinds.xls", "dates1904.xls"}) {
        SCOPED_TRACE(name);
        auto book = fixture(name);
        ASSERT_TRUE(book);
        const Worksheet &s = *book->worksheet(QStringLiteral("Datum"));
        const bool mac = book->isDate1904();
        EXPECT_EQ(mac, QLatin1String(name) == QLatin1String("dates1904.xls"));
        EXPECT_EQ(s.value(1, 1).kind(), ValueKind::Date);
        EXPECT_EQ(s.value(1, 1).toDouble(), mac ? 46362 - 1462 : 46362);
        EXPECT_EQ(valueToText(s.value(1, 1), de), QStringLiteral("06.12.2026"));
        EXPECT_EQ(valueToText(s.value(2, 1), de), QStringLiteral("06.12.2026 14:30:00"));
        // A bare time is day 0 of its system; in the 1904 system that is a real day.
        EXPECT_EQ(valueToText(s.value(3, 1), de), mac ? QStringLiteral("01.01.1904 18:00:00") : QStringLiteral("18:00:00"));
        EXPECT_EQ(valueToText(s.value(4, 1), de), mac ? QStringLiteral("01.01.1904") : QStringLiteral("01.01.1900"));
    }
}

TEST(Fixture, ExcelNinetyFiveWorkbook) {
    auto book = fixture("excel95.xls");
    ASSERT_TRUE(book);
    EXPECT_EQ(book->biffVersion(), 5);
    const Worksheet &s = *book->worksheet(1);
    EXPECT_EQ(s.name(), QStringLiteral("Blatt Ä"));
    EXPECT_EQ(s.value(1, 1), CellValue::text(QStringLiteral("Größe")));
    EXPECT_EQ(s.value(1, 2), CellValue::number(2.25));
    EXPECT_EQ(s.value(2, 1), CellValue::text(QStringLiteral("Maßkrug")));
    EXPECT_EQ(s.value(2, 2), CellValue::number(4.5));
    ASSERT_EQ(s.commentCount(), 1);
    EXPECT_EQ(s.comment(1).text, QStringLiteral("Anmerkung ü"));
}
