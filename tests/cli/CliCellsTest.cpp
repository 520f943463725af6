#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

testsupport::ProcessResult cells(const QString &path) {
    return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"), {QStringLiteral("cells"), path});
}

}  // namespace

TEST(CliCells, DumpsCellsCommentsHiddenColumnsAndOutlines) {
    const auto r = cells(testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList expected = {
        QStringLiteral("1\tWerte\t1\t1\ttext\tGröße Übermaß Straße\tGröße Übermaß Straße\t"),
        QStringLiteral("1\tWerte\t1\t3\ttext\teins\\nzwei\\ndrei\teins\\nzwei\\ndrei\t"),
        QStringLiteral("1\tWerte\t1\t4\ttext\t \t \t"),
        QStringLiteral("1\tWerte\t1\t7\ttext\tTab\\there\tTab\\there\t"),
        QStringLiteral("1\tWerte\t3\t1\tbool\tTrue\tTRUE\t=1=1"),
        QStringLiteral("1\tWerte\t3\t2\terror\t#DIV/0!\t#DIV/0!\t=1/0"),
        QStringLiteral("4\tVersteckt\t1\t1\ttext\tunsichtbar\tunsichtbar\t"),
        QStringLiteral("#comment\t1\t2\t4\t \tZweiter Kommentar\\nmit Zeilenumbruch"),
        QStringLiteral("#hidden-column\t3\t2"),
        QStringLiteral("#column-outline\t3\t4\t1"),
        QStringLiteral("#row-outline\t3\t5\t2"),
        // A shared formula resolved for each cell of its range, and an array formula.
        QStringLiteral("1\tWerte\t7\t2\tnumber\t60\t60\t=A7*10"),
        QStringLiteral("1\tWerte\t7\t4\tnumber\t12\t12\t=A5:A7*2"),
    };
    for (const QString &line : expected) EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    // Empty texts (a formula giving "") and formatting-only cells are not listed.
    EXPECT_FALSE(r.out.contains("1\tWerte\t3\t5\t"));
    EXPECT_FALSE(r.out.contains("1\tWerte\t14\t8\t"));
    // Cells come first, sheet by sheet, row-major.
    EXPECT_LT(lines.indexOf(expected[0]), lines.indexOf(expected[4]));
    EXPECT_LT(lines.indexOf(expected[6]), lines.indexOf(expected[7]));
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1Char('#'))) {
            EXPECT_EQ(line.count(QLatin1Char('\t')), 7) << line.toStdString();
        }
    }
}

TEST(CliCells, RefusedFileExitsWithTwoAndItsReason) {
    const QString path = testsupport::fixtureDir() + QStringLiteral("/make_workbook_fixtures.py");
    const auto r = cells(path);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QLatin1String("OLE2"))) << r.err.toStdString();
    EXPECT_EQ(testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"), {QStringLiteral("cells")}).exitCode, 2);
}
