// The export formats other than the tagged RTF: file names, run logs, the table
// form's document as the document engine reads it back, and refusals.
#include "FormatsTestSupport.h"

#include "export/ExportFormats.h"
#include "office/doc/Application.h"
#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace celltrove;
using run::ExportFormat;

namespace {

// The log lines a workbook's export writes between "exportiere …" and its file analysis.
QStringList sheetLines(const QStringList &log) {
    const qsizetype start = log.indexOf(QStringLiteral("exportiere formats.xls"));
    QStringList lines;
    for (qsizetype i = start + 1; start >= 0 && i < log.size() && !log[i].startsWith(QLatin1String("_ _")); ++i)
        lines.append(log[i]);
    return lines;
}

TEST(FormatExport, OutputFileNames) {
    const struct {
        ExportFormat format;
        int sheet;
        const char *name;
    } cases[] = {
        {ExportFormat::TaggedRtf, 1, "Text_a.xls-1.rtf"},
        {ExportFormat::RtfTables, 1, "Tab_a.xls-1.rtf"},
        {ExportFormat::RtfTables, 10, "Tab_a.xls-10.rtf"},
        {ExportFormat::Doc, 2, "Doc_a.xls-2.doc"},
        {ExportFormat::Text, 1, "a.xls1.txt"},
        {ExportFormat::Text, 10, "a.xls10.txt"},
        {ExportFormat::UnicodeText, 10, "a.xls10-uni.txt"},
        {ExportFormat::Html, 3, "a.xls.html"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(exporting::OutputFileName(c.format, QStringLiteral("a.xls"), c.sheet), QLatin1String(c.name));
    EXPECT_EQ(exporting::SelectExportFormat(ExportFormat::Doc).wordFileFormat, 6);  // the first save is RTF
    EXPECT_EQ(exporting::SelectExportFormat(ExportFormat::RtfTables).extension, QStringLiteral(".rtf"));
}

TEST(FormatExport, EachFormatLogsItsSheetsAndWritesItsFiles) {
    const QString empty = QStringLiteral("-- Leer (2):   Diese Tabelle ist leer.");
    const struct {
        ExportFormat format;
        QStringList lines;
        QStringList files;
    } cases[] = {
        {ExportFormat::RtfTables,
         {QStringLiteral("-- Gemischt"), empty, QStringLiteral("-- Zweites Blatt")},
         {QStringLiteral("Tab_formats.xls-1.rtf"), QStringLiteral("Tab_formats.xls-3.rtf")}},
        {ExportFormat::Text,
         {QStringLiteral("-- Gemischt (1)"), empty, QStringLiteral("-- Zweites Blatt (3)")},
         {QStringLiteral("formats.xls1.txt"), QStringLiteral("formats.xls3.txt")}},
        {ExportFormat::UnicodeText,
         {QStringLiteral("-- Gemischt (1)"), empty, QStringLiteral("-- Zweites Blatt (3)")},
         {QStringLiteral("formats.xls1-uni.txt"), QStringLiteral("formats.xls3-uni.txt")}},
        // One file for the workbook, no sheet lines.
        {ExportFormat::Html, {}, {QStringLiteral("formats.xls.html")}},
    };
    for (const auto &c : cases) {
        ExportFixture f;
        ASSERT_TRUE(addFormatsWorkbook(f));
        const auto outcome = runFormat(f, c.format);
        const QStringList log = f.logLines();
        EXPECT_FALSE(outcome.runError) << log.join(u'\n').toStdString();
        EXPECT_EQ(sheetLines(log), c.lines) << log.join(u'\n').toStdString();
        QStringList written = QDir(f.dir.path()).entryList(QDir::Files, QDir::Name);
        written.removeAll(exporting::kExportLogName);
        written.removeAll(kFormatsWorkbook);
        written.removeAll(QStringLiteral("settings.ini"));
        EXPECT_EQ(written, c.files) << run::ExportFormatCaption(c.format).toStdString();
        // The sheets count as tables, whatever the format.
        const qsizetype tables = log.indexOf(QStringLiteral("Tabellen Gesamt:"));
        ASSERT_GE(tables, 0);
        EXPECT_TRUE(log[tables + 1].endsWith(QStringLiteral(" 3")));
        EXPECT_EQ(log.contains(QStringLiteral("Option: Export mit Tabellen")), c.format == ExportFormat::RtfTables);
    }
}

TEST(FormatExport, PathLimitIs251AndIsCheckedBeforeTheWorkbookIsOpened) {
    for (const int length : {251, 252}) {
        ExportFixture f;
        // A workbook that does not exist: only the length decides which refusal comes.
        const QString name = QStringLiteral("fehlt.xls");
        const int pad = length - int(f.dir.path().size()) - 2 - int(name.size());
        const QString sub = QString(pad, u'p');
        ASSERT_TRUE(QDir(f.dir.path()).mkdir(sub));
        run::RunRequest request = f.request({name});
        request.folder = f.path(sub) + u'/';
        request.format = ExportFormat::Text;
        ASSERT_EQ((request.folder + name).size(), length);
        const auto outcome = exporting::RunExport(request, f.texts, f.settings, f.ui);
        const QString log = QString::fromUtf8(testsupport::readFile(request.folder + exporting::kExportLogName));
        EXPECT_TRUE(outcome.runError);
        EXPECT_EQ(log.contains(QStringLiteral("Error: Dateiname zu lang. Bitte kürzen. (-1 Zeichen)")), length > 251);
        EXPECT_EQ(log.contains(QStringLiteral("Kann Excel-Datei nicht öffnen: ")), length <= 251) << log.toStdString();
        EXPECT_EQ(f.ui.messages.size(), length <= 251 ? 1 : 0);
    }
}

TEST(FormatExport, TableFormDocumentHasTheHeaderTagsAndFixedWidths) {
    ExportFixture f;
    ASSERT_TRUE(addFormatsWorkbook(f));
    run::RunRequest request = f.request({kFormatsWorkbook});
    request.format = ExportFormat::RtfTables;
    request.options.allLevels = false;  // hidden column I stays hidden, and is in the table all the same
    ASSERT_FALSE(f.run(request).runError);

    office::CellGridClipboard clipboard;
    office::doc::Application word(&clipboard);
    office::doc::Document *doc = word.documents().open(f.path(QStringLiteral("Tab_formats.xls-1.rtf")));
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->tables().count(), 1);
    office::doc::Table table = doc->tables().item(1);
    EXPECT_FALSE(table.allowAutoFit());
    EXPECT_EQ(table.rowCount(), 7);
    EXPECT_EQ(table.columnCount(), 9);
    const QList<QStringList> cells = table.cellTexts();
    EXPECT_EQ(cells[0][2], QStringLiteral("eins<<lf>>zwei<<lf>>drei"));
    EXPECT_EQ(cells[0][6], QString());  // a single blank, emptied
    EXPECT_EQ(cells[0][7], QString());  // a single no-break space, emptied
    EXPECT_EQ(cells[0][8], QStringLiteral("in versteckter Spalte"));
    const int cellStart = table.cell(1, 3).range().start();
    EXPECT_EQ(doc->range(cellStart + 4, cellStart + 10).characterStyleName(), QStringLiteral("tw4winInternal"));
    EXPECT_EQ(doc->range(cellStart, cellStart + 4).characterStyleName(), QString());
    // The header: four styled lines (the fourth mark excepted), an empty fifth paragraph.
    for (int p = 1; p <= 4; ++p)
        EXPECT_EQ(doc->range(doc->paragraphs(p).start(), doc->paragraphs(p).start() + 1).characterStyleName(),
                  QStringLiteral("tw4winExternal"));
    EXPECT_EQ(doc->paragraphs(2).text(), QStringLiteral("<!-- Excel-Dateiname: -->formats.xls\r"));
    EXPECT_EQ(doc->range(doc->paragraphs(4).end() - 1, doc->paragraphs(4).end()).characterStyleName(), QString());
    EXPECT_EQ(doc->paragraphs(5).text(), QStringLiteral("\r"));
}

TEST(FormatExport, ASheetWithOneCellGivesATableOfTwoColumns) {
    ExportFixture f;
    ASSERT_TRUE(addFormatsWorkbook(f));
    {
        std::unique_ptr<office::sheet::Workbook> book;
        ASSERT_TRUE(office::sheet::Workbook::open(f.path(kFormatsWorkbook), book));
        office::sheet::Worksheet &third = *book->sheet(3);
        third.setValue(2, 2, QString());
        third.setValue(3, 1, QString());
        ASSERT_TRUE(book->save());
    }
    ASSERT_FALSE(runFormat(f, ExportFormat::RtfTables).runError);
    office::doc::Application word;
    office::doc::Document *doc = word.documents().open(f.path(QStringLiteral("Tab_formats.xls-3.rtf")));
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->tables().count(), 1);
    EXPECT_EQ(doc->tables().item(1).cellTexts(), (QList<QStringList>{{QStringLiteral("zweites Blatt"), QString()}}));
}

// Needs the Word document writer (Document::saveAs in Word document format).
TEST(FormatExport, DocFormSavesAWordDocumentUnderTheDocName) {
    ExportFixture f;
    ASSERT_TRUE(addFormatsWorkbook(f));
    const auto outcome = runFormat(f, ExportFormat::Doc);
    EXPECT_FALSE(outcome.runError) << f.logLines().join(u'\n').toStdString();
    for (const char *name : {"Doc_formats.xls-1.doc", "Doc_formats.xls-3.doc"})
        EXPECT_TRUE(testsupport::readFile(f.path(QLatin1String(name))).startsWith("\xD0\xCF\x11\xE0")) << name;
    EXPECT_EQ(sheetLines(f.logLines()),
              (QStringList{QStringLiteral("-- Gemischt"), QStringLiteral("-- Leer (2):   Diese Tabelle ist leer."),
                           QStringLiteral("-- Zweites Blatt")}));
}

TEST(FormatExport, AnUnwritableTableDocumentIsAnErrorAndLeavesNoFile) {
    ExportFixture f;
    ASSERT_TRUE(addFormatsWorkbook(f));
    // A folder where the document should go.
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("Tab_formats.xls-1.rtf")));
    const auto outcome = runFormat(f, ExportFormat::RtfTables);
    EXPECT_TRUE(outcome.runError);
    const QStringList log = f.logLines();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const QString &l) {
        return l.startsWith(QStringLiteral("Kann Datei nicht speichern: ")) &&
               l.contains(QStringLiteral("Tab_formats.xls-1.rtf"));
    })) << log.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(f.path(QStringLiteral("Tab_formats.xls-3.rtf"))));
}

}  // namespace
