#include "ExportTestSupport.h"

#include "export/CellFilter.h"
#include "office/sheet/ValueText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace celltrove;

namespace {

// "style<TAB>text" per paragraph as LibreOffice Writer reads our document.
QStringList paragraphsAsLibreOfficeReadsThem(const QString &rtf) {
    const auto r = testsupport::runProgram(
        QStringLiteral("/usr/bin/python3"),
        {QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../export/lo_paragraphs.py")), rtf}, 180000);
    QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    if (!lines.isEmpty()) lines.removeFirst();  // "== name"
    return lines;
}

QString ext(const QString &text) { return QStringLiteral("tw4winExternal\t") + text; }
QString plain(const QString &text) { return QStringLiteral("-\t") + text; }

}  // namespace

TEST(LibreOfficeReadsExport, ParagraphsStylesAndTotalLine) {
    REQUIRE_PROGRAM("soffice");
    ExportFixture f;
    f.addFixture(QStringLiteral("export-basic.xls"));
    ASSERT_FALSE(f.run(f.request({QStringLiteral("export-basic.xls")})).runError);

    const QString date = office::sheet::valueToText(office::sheet::CellValue::date(45356, false));
    QStringList expected = {ext(QStringLiteral("<!-- cellTrove für Excel 1.0 Build: 13 -->")),
                            ext(QStringLiteral("<!-- Excel-Dateiname: -->export-basic.xls")),
                            ext(QStringLiteral("<!-- ExcelsheetNr.: -->1")),
                            ext(QStringLiteral("<!-- ExcelsheetName: -->Umsatz")),
                            plain(QString())};
    for (const char *comment : {"Kommentar eins", "Zweiter"})
        expected << ext(QStringLiteral("<comm>")) << plain(QString()) << plain(QString::fromUtf8(comment))
                 << plain(QString()) << ext(QStringLiteral("</comm>")) << plain(QString());
    QList<std::pair<QString, QString>> cells = {{"1,1", "Text"},         {"1,3", "Haus und Hof"},
                                                {"1,5", "versteckt"},    {"2,1", "Zwei\\vZeilen\\vhier"},
                                                {"2,3", "  "},           {"3,1", "=nicht Formel"},
                                                {"3,3", "abcd"},         {"4,1", date}};
    if (!exporting::IsNumericValue(office::sheet::CellValue::text(QStringLiteral(" 12,5 "))))
        cells.append({QStringLiteral("5,3"), QStringLiteral(" 12,5 ")});
    cells.append({QStringLiteral("5,4"), QStringLiteral("Ende")});
    for (const auto &[marker, text] : cells)
        expected << ext(QStringLiteral("<!-- CellID: ") + marker + QStringLiteral("-->")) << plain(QString())
                 << plain(text) << plain(QString());
    expected << ext(QStringLiteral("<!-- CellIDs-Gesamt:>>%1").arg(cells.size()));

    QStringList actual = paragraphsAsLibreOfficeReadsThem(f.path(QStringLiteral("Text_export-basic.xls-1.rtf")));
    // An empty paragraph has no text run, so its style cannot be seen.
    for (QString &line : actual)
        if (line.endsWith(u'\t')) line = plain(QString());
    EXPECT_EQ(actual, expected) << actual.join(u'\n').toStdString();
}
