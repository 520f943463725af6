#include "import/UsedRange.h"

#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace celltrove;

TEST(DetectUsedRange, FindsTheRectangleFromA1) {
    std::unique_ptr<office::sheet::Workbook> book;
    ASSERT_TRUE(office::sheet::Workbook::open(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"), book)
                    .ok);
    struct Case {
        int sheet, rows, columns;
        bool empty;
    } cases[] = {{1, 5, 5, false}, {2, 1, 1, true}, {3, 4, 2, false}};
    for (const Case &c : cases) {
        const importing::UsedRange used = importing::DetectUsedRange(*book->worksheet(c.sheet));
        EXPECT_EQ(used.rows, c.rows) << c.sheet;
        EXPECT_EQ(used.columns, c.columns) << c.sheet;
        EXPECT_EQ(used.sheetEmpty, c.empty) << c.sheet;
    }
}

TEST(DetectUsedRange, ReachesTheLastRowAndColumnAndNothingBeyond) {
    REQUIRE_CORPUS();
    // 255 columns by 10 rows, written by Excel.
    std::unique_ptr<office::sheet::Workbook> book;
    ASSERT_TRUE(office::sheet::Workbook::open(testsupport::corpusFile(QStringLiteral("xls/edr_Test255x10.xls")), book).ok);
    const office::sheet::Worksheet &sheet = *book->worksheet(1);
    const importing::UsedRange used = importing::DetectUsedRange(sheet);
    int lastRow = 0, lastColumn = 0;
    for (const office::sheet::Cell &cell : sheet.cells()) {
        if (sheet.value(cell.row(), cell.column()).isEmpty()) continue;
        lastRow = std::max(lastRow, cell.row());
        lastColumn = std::max(lastColumn, cell.column());
    }
    EXPECT_EQ(used.rows, lastRow);
    EXPECT_EQ(used.columns, lastColumn);
}

namespace {

// The range as the jumps find it one by one: End(Up) from the last row of every
// column, then End(Left) from the last column of every row down to the rows found.
importing::UsedRange jumpByJump(const office::sheet::Worksheet &sheet) {
    using office::sheet::Worksheet;
    importing::UsedRange used;
    for (int column = 1; column <= Worksheet::kColumnCount; ++column)
        used.rows = std::max(used.rows, sheet.value(Worksheet::kRowCount, column).isEmpty()
                                            ? sheet.endUp(Worksheet::kRowCount, column)
                                            : Worksheet::kRowCount);
    for (int row = 1; row <= used.rows; ++row)
        used.columns = std::max(used.columns, sheet.value(row, Worksheet::kColumnCount).isEmpty()
                                                  ? sheet.endLeft(row, Worksheet::kColumnCount)
                                                  : Worksheet::kColumnCount);
    return used;
}

}  // namespace

TEST(DetectUsedRange, SameAsTakingEveryJump) {
    const struct Case {
        const char *what;
        std::vector<std::pair<int, int>> cells;
    } cases[] = {
        {"empty sheet", {}},
        {"only A1", {{1, 1}}},
        {"scattered", {{3, 7}, {40, 2}, {12, 30}}},
        {"last row filled", {{65536, 3}, {65535, 3}, {65530, 3}, {2, 5}}},
        {"last column filled", {{7, 256}, {7, 255}, {7, 200}, {9, 4}}},
        {"both edges", {{65536, 256}, {1, 1}}},
    };
    for (const Case &c : cases) {
        std::unique_ptr<office::sheet::Workbook> book;
        ASSERT_TRUE(office::sheet::Workbook::open(
                        testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"), book)
                        .ok);
        office::sheet::Worksheet &sheet = *book->worksheet(2);  // an empty sheet
        for (const auto &[row, column] : c.cells) ASSERT_TRUE(sheet.setValue(row, column, QStringLiteral("x")));
        const importing::UsedRange expected = jumpByJump(sheet);
        const importing::UsedRange used = importing::DetectUsedRange(sheet);
        EXPECT_EQ(used.rows, expected.rows) << c.what;
        EXPECT_EQ(used.columns, expected.columns) << c.what;
        EXPECT_EQ(used.sheetEmpty, c.cells.empty()) << c.what;
    }
}

TEST(CountUsedCells, CountsEveryNonEmptyCell) {
    std::unique_ptr<office::sheet::Workbook> book;
    ASSERT_TRUE(office::sheet::Workbook::open(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"), book)
                    .ok);
    const office::sheet::Worksheet &sheet = *book->worksheet(3);
    count::TextCounter counter;
    importing::CountUsedCells(sheet, importing::DetectUsedRange(sheet), counter);
    EXPECT_EQ(counter.runCells(), 2);  // "Café" and "merged"
    EXPECT_EQ(counter.runCharacters(), 10);
}
