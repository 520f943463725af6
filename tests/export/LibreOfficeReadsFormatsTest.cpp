// The export formats read back by the programs a translator or a reader uses:
// LibreOffice Writer opens the table forms, LibreOffice Calc's CSV import reads
// the text files, Python's html.parser reads the web page. The reference is the
// fixture workbook as LibreOffice Calc shows its cells.
#include "FormatsTestSupport.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QJsonArray>

using namespace celltrove;
using run::ExportFormat;

namespace {

using Grid = QList<QStringList>;

// Without trailing empty rows and columns.
Grid trimmed(Grid grid) {
    while (!grid.isEmpty() &&
           std::all_of(grid.last().begin(), grid.last().end(), [](const QString &s) { return s.isEmpty(); }))
        grid.removeLast();
    qsizetype width = 0;
    for (const QStringList &row : grid)
        for (qsizetype c = 0; c < row.size(); ++c)
            if (!row[c].isEmpty()) width = std::max(width, c + 1);
    for (QStringList &row : grid) {
        while (row.size() > width) row.removeLast();
        while (row.size() < width) row.append(QString());
    }
    return grid;
}

// What the table form makes of a cell text: line feeds as "<<lf>>", one blank emptied.
Grid asRtfTableForm(Grid grid) {
    for (QStringList &row : grid)
        for (QString &cell : row) {
            if (cell == QStringLiteral(" ") || cell == QStringLiteral("\u00A0")) cell.clear();
            cell.replace(u'\n', QStringLiteral("<<lf>>"));
        }
    return grid;
}

QStringList headerOf(const QString &sheetName, int index) {
    return {QStringLiteral("tw4winExternal\t<!-- cellTrove für Excel 1.0 Build: 13 -->"),
            QStringLiteral("tw4winExternal\t<!-- Excel-Dateiname: -->formats.xls"),
            QStringLiteral("tw4winExternal\t<!-- ExcelsheetNr.: -->%1").arg(index),
            QStringLiteral("tw4winExternal\t<!-- ExcelsheetName: -->") + sheetName, QStringLiteral("-\t")};
}

QStringList paragraphsOf(const QJsonObject &document) {
    QStringList lines;
    for (const QJsonValue &p : document.value(QStringLiteral("paragraphs")).toArray())
        lines.append(p.toArray().at(0).toString() + u'\t' + p.toArray().at(1).toString());
    return lines;
}

std::string show(const Grid &grid) {
    QStringList rows;
    for (const QStringList &row : grid) rows.append(row.join(QStringLiteral(" | ")));
    return rows.join(u'\n').toStdString();
}

struct FormatsRun : ::testing::Test {
    ExportFixture f;
    Grid sheet1, sheet3;

    void SetUp() override {
        if (!testsupport::haveProgram(QStringLiteral("soffice"))) GTEST_SKIP() << "soffice not installed";
        ASSERT_TRUE(addFormatsWorkbook(f));
        const QJsonObject book =
            readBackWithLibreOffice({f.path(kFormatsWorkbook)}).value(f.path(kFormatsWorkbook)).toObject();
        const QJsonArray sheets = book.value(QStringLiteral("sheets")).toArray();
        ASSERT_EQ(sheets.size(), 3);
        sheet1 = trimmed(gridOf(sheets.at(0).toObject().value(QStringLiteral("grid"))));
        sheet3 = trimmed(gridOf(sheets.at(2).toObject().value(QStringLiteral("grid"))));
        ASSERT_EQ(sheet1.size(), 7);
    }
};

TEST_F(FormatsRun, TableRtfTextUnicodeTextAndHtmlReadBackAsTheSheetsShow) {
    for (ExportFormat format :
         {ExportFormat::RtfTables, ExportFormat::Text, ExportFormat::UnicodeText, ExportFormat::Html})
        ASSERT_FALSE(runFormat(f, format).runError) << f.logLines().join(u'\n').toStdString();
    const QStringList files = {QStringLiteral("Tab_formats.xls-1.rtf"), QStringLiteral("Tab_formats.xls-3.rtf"),
                               QStringLiteral("formats.xls1.txt"),      QStringLiteral("formats.xls3.txt"),
                               QStringLiteral("formats.xls1-uni.txt"),  QStringLiteral("formats.xls3-uni.txt"),
                               QStringLiteral("formats.xls.html")};
    QStringList paths;
    for (const QString &name : files) paths.append(f.path(name));
    const QJsonObject read = readBackWithLibreOffice(paths);
    ASSERT_EQ(read.size(), files.size());
    auto of = [&](const QString &name) { return read.value(f.path(name)).toObject(); };

    // The table forms: the tagged header, then one table with the cells as shown.
    for (const auto &[name, sheetName, index, grid] :
         {std::tuple{QStringLiteral("Tab_formats.xls-1.rtf"), QStringLiteral("Gemischt"), 1, sheet1},
          std::tuple{QStringLiteral("Tab_formats.xls-3.rtf"), QStringLiteral("Zweites Blatt"), 3, sheet3}}) {
        const QJsonObject doc = of(name);
        EXPECT_EQ(paragraphsOf(doc), headerOf(sheetName, index)) << name.toStdString();
        const QJsonArray tables = doc.value(QStringLiteral("tables")).toArray();
        ASSERT_EQ(tables.size(), 1) << name.toStdString();
        const Grid table = trimmed(gridOf(tables.at(0)));
        EXPECT_EQ(table, asRtfTableForm(grid)) << show(table);
        // Each line feed became a tag that a translation tool keeps.
        qsizetype feeds = 0;
        for (const QStringList &row : grid) feeds += row.join(QString()).count(u'\n');
        QStringList internal;
        for (const QJsonValue &v : doc.value(QStringLiteral("internal")).toArray()) internal.append(v.toString());
        EXPECT_EQ(internal.join(QString()), QStringLiteral("<<lf>>").repeated(feeds)) << name.toStdString();
    }

    // The text files: the CSV import gives back the grid, in either encoding.
    for (const QString &suffix : {QStringLiteral(".txt"), QStringLiteral("-uni.txt")}) {
        EXPECT_EQ(trimmed(gridOf(of(QStringLiteral("formats.xls1") + suffix).value(QStringLiteral("grid")))), sheet1)
            << suffix.toStdString();
        EXPECT_EQ(trimmed(gridOf(of(QStringLiteral("formats.xls3") + suffix).value(QStringLiteral("grid")))), sheet3)
            << suffix.toStdString();
    }
    EXPECT_TRUE(testsupport::readFile(f.path(QStringLiteral("formats.xls1-uni.txt"))).startsWith("\xFF\xFE"));

    // The web page: one table per worksheet, cell texts intact, no markup from the cells.
    const QJsonObject html = of(QStringLiteral("formats.xls.html"));
    EXPECT_EQ(html.value(QStringLiteral("title")).toString(), QStringLiteral("formats.xls"));
    EXPECT_EQ(html.value(QStringLiteral("headings")).toArray(),
              QJsonArray({QStringLiteral("Gemischt"), QStringLiteral("Leer"), QStringLiteral("Zweites Blatt")}));
    const QJsonArray tables = html.value(QStringLiteral("tables")).toArray();
    ASSERT_EQ(tables.size(), 3);
    EXPECT_EQ(gridOf(tables.at(0)), sheet1) << show(gridOf(tables.at(0)));
    EXPECT_TRUE(gridOf(tables.at(1)).isEmpty());
    EXPECT_EQ(gridOf(tables.at(2)), sheet3);
    EXPECT_EQ(html.value(QStringLiteral("tags")).toArray(),
              QJsonArray({"body", "h2", "head", "html", "meta", "section", "style", "table", "td", "title", "tr"}));
    // Column I is hidden: one hidden cell in each of the seven rows.
    EXPECT_EQ(html.value(QStringLiteral("hidden_cells")).toInt(), 7);
}

// Needs the Word document writer (Document::saveAs in Word document format).
TEST_F(FormatsRun, DocTableFormReadsBackAsTheSheetShows) {
    ASSERT_FALSE(runFormat(f, ExportFormat::Doc).runError) << f.logLines().join(u'\n').toStdString();
    const QString name = QStringLiteral("Doc_formats.xls-1.doc");
    // A Word document, not RTF under a .doc name.
    EXPECT_TRUE(testsupport::readFile(f.path(name)).startsWith("\xD0\xCF\x11\xE0"));
    const QJsonObject doc = readBackWithLibreOffice({f.path(name)}).value(f.path(name)).toObject();
    EXPECT_EQ(paragraphsOf(doc), headerOf(QStringLiteral("Gemischt"), 1));
    const QJsonArray tables = doc.value(QStringLiteral("tables")).toArray();
    ASSERT_EQ(tables.size(), 1);
    // No replacements and no emptying in this form.
    EXPECT_EQ(trimmed(gridOf(tables.at(0))), trimmed(sheet1)) << show(gridOf(tables.at(0)));
}

}  // namespace
