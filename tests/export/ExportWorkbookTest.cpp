#include "ExportTestSupport.h"

#include "export/CellFilter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace celltrove;

namespace {

const QString kBasic = QStringLiteral("export-basic.xls");
const QString kSheet1 = QStringLiteral("Text_export-basic.xls-1.rtf");
const QString kSheet3 = QStringLiteral("Text_export-basic.xls-3.rtf");

// " 12,5 " is a number only where the decimal separator is a comma.
bool textNumberIsNumeric() {
    return exporting::IsNumericValue(office::sheet::CellValue::text(QStringLiteral(" 12,5 ")));
}

QStringList basicSheet1Markers() {
    QStringList m = {"1,1", "1,3", "1,5", "2,1", "2,3", "3,1", "3,3", "4,1"};
    if (!textNumberIsNumeric()) m << "5,3";
    m << "5,4";
    return m;
}

}  // namespace

TEST(ExportWorkbook, WritesOneDocumentPerNonEmptySheet) {
    ExportFixture f;
    const QString workbook = f.addFixture(kBasic);
    const QByteArray before = testsupport::readFile(workbook);
    const auto outcome = f.run(f.request({kBasic}));
    ASSERT_TRUE(outcome.ran);
    EXPECT_FALSE(outcome.runError);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.messages.join(u'\n').toStdString();

    const QByteArray doc1 = testsupport::readFile(f.path(kSheet1));
    const QByteArray doc3 = testsupport::readFile(f.path(kSheet3));
    EXPECT_EQ(markersInRtf(doc1), basicSheet1Markers());
    EXPECT_EQ(totalLineNumber(doc1), basicSheet1Markers().size());
    EXPECT_EQ(markersInRtf(doc3), (QStringList{"2,2", "4,1"}));  // merged A4:B4 only once
    EXPECT_EQ(totalLineNumber(doc3), 2);
    // The empty second sheet has no document; the third keeps its index.
    EXPECT_FALSE(QFile::exists(f.path(QStringLiteral("Text_export-basic.xls-2.rtf"))));
    EXPECT_EQ(testsupport::readFile(workbook), before) << "an export never changes the workbook";

    const QStringList log = f.logLines();
    const int cells1 = int(basicSheet1Markers().size()) + 2;  // + two comments
    EXPECT_TRUE(log.contains(QStringLiteral("-- Umsatz (1) -- %1 Zellen").arg(cells1)));
    EXPECT_TRUE(log.contains(QStringLiteral("-- Leer:   Diese Tabelle ist leer.")));
    EXPECT_TRUE(log.contains(QStringLiteral("-- Größe Ü (3) -- 2 Zellen")));
    EXPECT_EQ(log.last(), QStringLiteral("*******************************************"));
    EXPECT_FALSE(log.contains(QStringLiteral("Error: Mindestens 1 Fehler vorhanden.")));
}

TEST(ExportWorkbook, OptionsChooseCellsAndComments) {
    struct Case {
        const char *name;
        bool numbers, comments, range;
        int from, to;
        QStringList markers;
        bool hasComments;
        const char *rangeLine;
    };
    QStringList withNumbers = {"1,1", "1,2", "1,3", "1,5", "2,1", "2,3", "3,1", "3,2", "3,3", "4,1", "4,2", "5,3", "5,4"};
    QStringList range35 = {"1,3", "1,5", "2,3", "3,3"};
    if (!textNumberIsNumeric()) range35 << "5,3";
    range35 << "5,4";
    const Case cases[] = {
        {"numbers", true, true, false, 1, 256, withNumbers, true, nullptr},
        {"no comments", false, false, false, 1, 256, basicSheet1Markers(), false, nullptr},
        {"columns 3-5", false, true, true, 3, 5, range35, true, "Spaltenbereich: 3 bis 5 (C/ E)"},
        {"inverted range", false, true, true, 7, 3, basicSheet1Markers(), true, "Spaltenbereich: 1 bis 256 (A/ IV)"},
    };
    for (const Case &c : cases) {
        ExportFixture f;
        f.addFixture(kBasic);
        run::RunRequest request = f.request({kBasic});
        request.options.exportNumbers = c.numbers;
        request.options.comments = c.comments;
        request.options.columnRange = c.range;
        request.options.rangeStart = c.from;
        request.options.rangeEnd = c.to;
        ASSERT_TRUE(f.run(request).ran) << c.name;
        const QByteArray doc1 = testsupport::readFile(f.path(kSheet1));
        EXPECT_EQ(markersInRtf(doc1), c.markers) << c.name;
        EXPECT_EQ(doc1.contains("<comm>"), c.hasComments) << c.name;
        const QStringList log = f.logLines();
        EXPECT_EQ(log.contains(QStringLiteral("Option: Zahlen exportieren")), c.numbers) << c.name;
        EXPECT_EQ(log.contains(QStringLiteral("Option: Kommentare exportieren")), c.comments) << c.name;
        if (c.rangeLine) {
            EXPECT_TRUE(log.contains(QString::fromUtf8(c.rangeLine))) << c.name;
        }
    }
}

TEST(ExportWorkbook, AWorkbookThatCannotBeOpenedIsARunError) {
    ExportFixture f;
    f.addFixture(kBasic);
    ASSERT_TRUE(testsupport::writeFile(f.path(QStringLiteral("kaputt.xls")), QByteArray(2048, 'x')));
    const auto outcome = f.run(f.request({QStringLiteral("kaputt.xls"), kBasic}));
    EXPECT_TRUE(outcome.runError);
    const QString text = QStringLiteral("Kann Excel-Datei nicht öffnen: ") + f.path(QStringLiteral("kaputt.xls"));
    EXPECT_EQ(f.ui.messages, QStringList{QStringLiteral("Celltrove für Excel: ") + text});
    const QStringList log = f.logLines();
    EXPECT_TRUE(log.contains(text));
    EXPECT_TRUE(QFile::exists(f.path(kSheet1))) << "the next workbook is still exported";
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log.at(log.size() - 2), QStringLiteral(" "));
    EXPECT_EQ(log.last(), QStringLiteral("Error: Mindestens 1 Fehler vorhanden."));
}

TEST(ExportWorkbook, PathLongerThan250IsRefused) {
    for (const int length : {250, 251}) {
        ExportFixture f;
        // folder + name: a sub-folder whose name pads the path to `length`.
        const int pad = length - int(f.dir.path().size()) - 2 - int(kBasic.size());
        ASSERT_GT(pad, 0);
        const QString sub = QString(pad, u'p');
        ASSERT_TRUE(QDir(f.dir.path()).mkdir(sub));
        QFile::copy(testsupport::fixtureDir() + QStringLiteral("/export/") + kBasic, f.path(sub + u'/' + kBasic));
        run::RunRequest request = f.request({kBasic});
        request.folder = f.path(sub) + u'/';
        ASSERT_EQ((request.folder + kBasic).size(), length);
        const auto outcome = exporting::RunExport(request, f.texts, f.settings, f.ui);
        QString logText = QString::fromUtf8(testsupport::readFile(request.folder + exporting::kExportLogName));
        const bool refused = length > 250;
        EXPECT_EQ(outcome.runError, refused) << length;
        EXPECT_EQ(QFile::exists(request.folder + kSheet1), !refused) << length;
        if (refused) {
            EXPECT_TRUE(logText.contains(QStringLiteral("Error: Dateiname zu lang. Bitte kürzen. (-1 Zeichen)\r\n\"") +
                                         request.folder + kBasic + QStringLiteral("\"\r\n\r\n")))
                << logText.toStdString();
        }
    }
}

TEST(ExportRun, StopsBeforeExportingWhenTheLogCannotBeWritten) {
    ExportFixture f;
    ASSERT_TRUE(testsupport::writeFile(f.path(QStringLiteral("plain-file")), "x"));
    run::RunRequest request = f.request({kBasic});
    request.folder = f.path(QStringLiteral("plain-file")) + u'/';
    const auto outcome = f.run(request);
    EXPECT_FALSE(outcome.ran);
    EXPECT_TRUE(outcome.runError);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages.first().startsWith(QStringLiteral("Fehler: Kann Log-Datei nicht schreiben: ")));
}

TEST(ExportRun, RefusesOtherFileTypesAndEmptySelections) {
    {
        ExportFixture f;
        run::RunRequest request = f.request({kBasic});
        request.fileTypeFilter = run::FileTypeFilter::Rtf;
        EXPECT_FALSE(f.run(request).ran);
        EXPECT_EQ(f.ui.messages, QStringList{QStringLiteral("Fehler: Für den Export nur XLS-Dateien auswählen!")});
        const QStringList log = f.logLines();
        EXPECT_EQ(log.size(), 5);  // build, date, format and its two option lines
        EXPECT_EQ(log.at(2), QStringLiteral("Option: Export Excel --> Word (*.RTF)"));
    }
    {
        ExportFixture f;
        EXPECT_FALSE(f.run(f.request({})).ran);
        EXPECT_EQ(f.ui.messages, QStringList{QStringLiteral("Fehler: Keine Dateien gewählt!")});
    }
}

TEST(ExportRun, StoresTheFolderAsMostRecentProject) {
    ExportFixture f;
    f.addFixture(kBasic);
    f.settings.setValue(QStringLiteral("ProjectFolders"), QStringLiteral("Project1"), QStringLiteral("/elsewhere"));
    f.run(f.request({kBasic}));
    EXPECT_EQ(f.settings.projectFolders().mid(0, 2), (QStringList{f.dir.path(), QStringLiteral("/elsewhere")}));
}
