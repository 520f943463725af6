#include "import/UsedRange.h"

#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

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
