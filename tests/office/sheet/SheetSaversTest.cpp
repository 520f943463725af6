// The worksheet's range copy, tab-separated text and HTML savers on the
// LibreOffice-made formats.xls (tests/fixtures/make_workbook_fixtures.py).
#include "office/sheet/HtmlWorkbook.h"
#include "office/sheet/TabSeparatedText.h"
#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace office::sheet;

namespace {

std::unique_ptr<Workbook> formatsWorkbook() {
    std::unique_ptr<Workbook> book;
    (void)Workbook::open(testsupport::fixtureDir() + QStringLiteral("/xls/formats.xls"), book);
    return book;
}

TEST(SheetSavers, TextFieldsAreQuotedAsTheSpreadsheetQuotesThem) {
    const struct {
        const char *field;
        const char *written;
    } cases[] = {
        {"", ""},
        {"plain; with, separators", "plain; with, separators"},
        {"tab\there", "\"tab\there\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {" lead and trail ", " lead and trail "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(quotedTextField(QString::fromUtf8(c.field)), QString::fromUtf8(c.written)) << c.field;
}

TEST(SheetSavers, TextCoversTheUsedRectangleFromA1InEitherEncoding) {
    auto book = formatsWorkbook();
    ASSERT_TRUE(book);
    // Sheet 3: every row as wide as the rectangle, CR LF after each, the line feed quoted.
    const QString third = QStringLiteral("zweites Blatt\t\r\n\t\"Zeile\nzwei\"\r\n7\t\r\n");
    EXPECT_EQ(tabSeparatedText(*book->sheet(3)), third);
    EXPECT_EQ(tabSeparatedText(*book->sheet(2)), QStringLiteral("\r\n"));
    // Sheet 1: merged B3 is empty, the hidden column I is written, collapsed rows too.
    const QStringList rows = tabSeparatedText(*book->sheet(1)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[2], QStringLiteral("verbunden\t\tnach dem Verbund\t\t\t\t\t\tauch versteckt"));
    EXPECT_EQ(rows[4], QStringLiteral("Gliederung eins\t\t\t\t\t\t\t\t"));
    EXPECT_TRUE(rows[7].isEmpty());

    QTemporaryDir dir;
    const QString utf8 = dir.filePath(QStringLiteral("a.txt")), utf16 = dir.filePath(QStringLiteral("a-uni.txt"));
    ASSERT_TRUE(saveSheetAsText(*book->sheet(3), utf8, TextFileEncoding::Utf8));
    ASSERT_TRUE(saveSheetAsText(*book->sheet(3), utf16, TextFileEncoding::Utf16LeWithBom));
    EXPECT_EQ(testsupport::readFile(utf8), third.toUtf8());
    QByteArray expected("\xFF\xFE", 2);
    for (QChar c : third) expected.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    EXPECT_EQ(testsupport::readFile(utf16), expected);
    // An unwritable place is a failure, and nothing is left behind.
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/a.txt"));
    EXPECT_FALSE(saveSheetAsText(*book->sheet(3), missing, TextFileEncoding::Utf8));
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(SheetSavers, CopyGivesTheGridOfShownTextsHiddenColumnsIncluded) {
    auto book = formatsWorkbook();
    ASSERT_TRUE(book);
    Worksheet &sheet = *book->sheet(1);
    office::CellGridClipboard clipboard;
    sheet.copyRange({1, 3, 1, 9}, clipboard);
    ASSERT_EQ(clipboard.rows().size(), 3);
    EXPECT_EQ(clipboard.rows()[1],
              (QStringList{"3.5", "1,234.50", "25%", "06.12.2026", "42", "-7.1", "7", "Text; mit, Komma", ""}));
    EXPECT_EQ(clipboard.rows()[2][0], QStringLiteral("verbunden"));
    EXPECT_EQ(clipboard.rows()[2][1], QString());  // covered by the merge
    EXPECT_EQ(clipboard.rows()[2][8], QStringLiteral("auch versteckt"));
    EXPECT_TRUE(sheet.isColumnHidden(9));  // copying shows nothing
    // Formula texts when formulas are displayed; a range beyond the cells is empty texts.
    sheet.setDisplayFormulas(true);
    sheet.copyRange({2, 2, 7, 8}, clipboard);
    EXPECT_EQ(clipboard.rows(), (QList<QStringList>{{QStringLiteral("=A2*2"), QStringLiteral("Text; mit, Komma")}}));
    sheet.copyRange({100, 101, 1, 2}, clipboard);
    EXPECT_EQ(clipboard.rows(), (QList<QStringList>{{QString(), QString()}, {QString(), QString()}}));
}

TEST(SheetSavers, HtmlEscapesMarkupAndKeepsControlCharactersAsReferences) {
    const struct {
        const char *text;
        const char *html;
    } cases[] = {
        {"a & b", "a &amp; b"},
        {"<script>x</script>", "&lt;script&gt;x&lt;/script&gt;"},
        {"\"q\" 'a'", "&quot;q&quot; 'a'"},
        {"tab\tlf\ncr\r", "tab\tlf\ncr\r"},
        {"bell\x07", "bell&#7;"},
        {"Größe 日本 😀", "Größe 日本 😀"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(escapedHtmlText(QString::fromUtf8(c.text)), QString::fromUtf8(c.html)) << c.text;
}

TEST(SheetSavers, HtmlCarriesFormatsSpansAndHiddenRowsAndColumns) {
    auto book = formatsWorkbook();
    ASSERT_TRUE(book);
    const QString html = workbookHtml(*book, QStringLiteral("formats <1>.xls"));
    EXPECT_TRUE(
        html.startsWith(QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                                       "<title>formats &lt;1&gt;.xls</title>")));
    for (const char *part : {
             "<td style=\"font-weight:bold;\">Größe Übermaß Straße</td>",
             "<td style=\"font-style:italic;\">Tab\there</td>",
             "<td style=\"color:#ff0000;\">eins\nzwei\ndrei</td>",
             "<td style=\"text-decoration:underline;\">Sagte &quot;Hallo&quot; &amp; &lt;b&gt;fett&lt;/b&gt;</td>",
             "<td style=\"text-align:right;\">1,234.50</td>",          // a number under General
             "<td style=\"text-align:right;\">Text; mit, Komma</td>",  // a text aligned right
             "<td colspan=\"2\">verbunden</td><td>nach dem Verbund</td>",
             "<td hidden>in versteckter Spalte</td>",
             "<tr hidden><td>Gliederung eins</td>",
             "<h2>Leer</h2>\n<table>\n<tr><td></td></tr>\n</table>",
             "<h2>Zweites Blatt</h2>",
         })
        EXPECT_TRUE(html.contains(QString::fromUtf8(part))) << part;
    EXPECT_LT(html.indexOf(QStringLiteral("<h2>Gemischt</h2>")), html.indexOf(QStringLiteral("<h2>Leer</h2>")));
    EXPECT_FALSE(html.contains(QStringLiteral("<b>")));
}

}  // namespace
