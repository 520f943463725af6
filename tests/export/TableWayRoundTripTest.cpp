// The table way end to end: the table form exported, translated in LibreOffice
// Writer and saved with its RTF filter, imported back; xlrd reads the workbook.
#include "FormatsTestSupport.h"

#include "import/ImportRun.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace celltrove;

namespace {

// "sheet<TAB>row<TAB>column" -> "kind<TAB>value" for every cell xlrd reads.
QMap<QString, QString> xlrdCells(const QString &workbook) {
    const auto r = testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
                                           {testsupport::fixtureDir() + QStringLiteral("/xlrd_dump.py"), workbook});
    QMap<QString, QString> cells;
    for (const QString &line : QString::fromUtf8(r.out).split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (f.size() >= 6 && f[0] == QLatin1String("cell")) cells.insert(f.mid(1, 3).join(u'\t'), f.mid(4).join(u'\t'));
    }
    return cells;
}

}  // namespace

TEST(TableWayRoundTrip, WriterTranslationReachesEveryTextCellAndLeavesTheOthers) {
    REQUIRE_PROGRAM("soffice");
    ExportFixture f;
    ASSERT_TRUE(addFormatsWorkbook(f));
    const QMap<QString, QString> before = xlrdCells(f.path(kFormatsWorkbook));
    ASSERT_FALSE(before.isEmpty());
    ASSERT_FALSE(runFormat(f, run::ExportFormat::RtfTables).runError) << f.logLines().join(u'\n').toStdString();

    QStringList translateArgs{
        QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../export/lo_translate_tables.py"))};
    for (const char *name : {"Tab_formats.xls-1.rtf", "Tab_formats.xls-3.rtf"})
        translateArgs << f.path(QLatin1String(name)) << f.path(QLatin1String(name));
    ASSERT_EQ(testsupport::runProgram(QStringLiteral("/usr/bin/python3"), translateArgs, 240000).exitCode, 0);

    run::RunRequest request =
        f.request({QStringLiteral("Tab_formats.xls-1.rtf"), QStringLiteral("Tab_formats.xls-3.rtf")});
    request.fileTypeFilter = run::FileTypeFilter::Rtf;
    const importing::ImportOutcome imported = importing::RunImport(request, f.texts, f.settings, f.ui);
    EXPECT_FALSE(imported.runError) << testsupport::readFile(imported.logPath).toStdString();

    const QMap<QString, QString> after = xlrdCells(f.path(kFormatsWorkbook));
    EXPECT_EQ(after.keys(), before.keys());
    int translated = 0;
    for (auto it = before.begin(); it != before.end(); ++it) {
        QString expected = it.value();
        // A text in capitals; a single blank, which the table form leaves empty, stays as it was.
        if (expected.startsWith(QLatin1String("text\t")) && expected.trimmed() != QLatin1String("text")) {
            expected = QStringLiteral("text\t") + expected.mid(5)
                                                      .toUpper()
                                                      .replace(QStringLiteral("\\N"), QStringLiteral("\\n"))
                                                      .replace(QStringLiteral("\\T"), QStringLiteral("\\t"));
            ++translated;
        }
        EXPECT_EQ(after.value(it.key()), expected) << it.key().toStdString();
    }
    EXPECT_GE(translated, 15);
}
