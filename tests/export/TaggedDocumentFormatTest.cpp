#include "export/CellFilter.h"
#include "export/TaggedDocumentFormat.h"

#include <gtest/gtest.h>

using namespace celltrove::exporting;
using office::sheet::CellValue;

namespace {

QString CellMarker(int row, int column) {
    QString marker;
    AppendCellMarker(marker, row, column);
    return marker;
}

QString CellParagraphText(const QString &cellText) {
    QString text;
    AppendCellParagraphText(text, cellText);
    return text;
}

}  // namespace

TEST(TaggedDocumentFormat, FixedTexts) {
    EXPECT_EQ(CellMarker(12, 3), QStringLiteral("<!-- CellID: 12,3-->"));
    EXPECT_EQ(CellMarker(65536, 256), QStringLiteral("<!-- CellID: 65536,256-->"));
    EXPECT_EQ(HeaderLine(QStringLiteral("cellTrove für Excel ")),
              QStringLiteral("<!-- cellTrove für Excel 1.0 Build: 13 -->"));
    EXPECT_EQ(TaggedFileName(QStringLiteral("Umsatz 2024.xls"), 3), QStringLiteral("Text_Umsatz 2024.xls-3.rtf"));
}

TEST(TaggedDocumentFormat, EveryLineEndBecomesAManualLineBreak) {
    EXPECT_EQ(CellParagraphText(QStringLiteral("a\nb\nc")), QStringLiteral("a\vb\vc"));
    EXPECT_EQ(CellParagraphText(QStringLiteral("a\r\nb")), QStringLiteral("a\vb"));
    EXPECT_EQ(CellParagraphText(QStringLiteral("a\rb")), QStringLiteral("a\vb"));
    EXPECT_EQ(CellParagraphText(QStringLiteral("\ttab <b> & \"q\"")), QStringLiteral("\ttab <b> & \"q\""));
}

namespace {

struct FilterCase {
    const char *name;
    CellValue value;
    const char *text;
    int column;
    bool numbers, allLevels, range;
    bool exported;
};

}  // namespace

TEST(CellFilter, DecidesWhichCellsAreWritten) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const FilterCase cases[] = {
        {"text", CellValue::text(QStringLiteral("Haus")), "Haus", 1, false, true, false, true},
        {"single blank", CellValue::text(QStringLiteral(" ")), " ", 1, false, true, false, false},
        {"two blanks", CellValue::text(QStringLiteral("  ")), "  ", 1, false, true, false, true},
        {"number", CellValue::number(12), "12", 1, false, true, false, false},
        {"number, numbers on", CellValue::number(12), "12", 1, true, true, false, true},
        {"boolean", CellValue::boolean(true), "True", 1, false, true, false, false},
        {"date is not numeric", CellValue::date(45356, false), "05.03.2024", 1, false, true, false, true},
        {"number as text", CellValue::text(QStringLiteral(" 1.234,5 ")), " 1.234,5 ", 1, false, true, false, false},
        {"currency as text", CellValue::text(QStringLiteral("-12,50 €")), "-12,50 €", 1, false, true, false, false},
        {"exponent as text", CellValue::text(QStringLiteral("1,5E3")), "1,5E3", 1, false, true, false, false},
        {"percent as text is text", CellValue::text(QStringLiteral("5%")), "5%", 1, false, true, false, true},
        {"English decimal under German", CellValue::text(QStringLiteral("1.5")), "1.5", 1, false, true, false, true},
        {"error value", CellValue::error(0x07), "#DIV/0!", 1, false, true, false, true},
        {"not all levels: plain text", CellValue::text(QStringLiteral("Haus")), "Haus", 1, false, false, false, false},
        {"not all levels: = text", CellValue::text(QStringLiteral("=x")), "=x", 1, false, false, false, true},
        {"range: before", CellValue::text(QStringLiteral("x")), "x", 2, false, true, true, false},
        {"range: first", CellValue::text(QStringLiteral("x")), "x", 3, false, true, true, true},
        {"range: last", CellValue::text(QStringLiteral("x")), "x", 5, false, true, true, true},
        {"range: after", CellValue::text(QStringLiteral("x")), "x", 6, false, true, true, false},
    };
    for (const FilterCase &c : cases) {
        celltrove::run::RunOptions options;
        options.exportNumbers = c.numbers;
        options.allLevels = c.allLevels;
        options.columnRange = c.range;
        options.rangeStart = 3;
        options.rangeEnd = 5;
        EXPECT_EQ(IsExportedCell(c.value, QString::fromUtf8(c.text), c.column, options, german), c.exported) << c.name;
    }
}
