// Formula texts of real workbooks against what LibreOffice reads from them,
// printed in Excel's English A1 syntax by scripts/lo-formulas.py.
#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>

using namespace office::sheet;

namespace {

// Blanks outside string literals: LibreOffice drops the ones typed into a formula.
QString withoutBlanks(const QString &formula) {
    static const QRegularExpression literal(QStringLiteral("\"(?:[^\"]|\"\")*\""));
    QString out;
    qsizetype at = 0;
    for (auto it = literal.globalMatch(formula); it.hasNext();) {
        const auto m = it.next();
        out += formula.mid(at, m.capturedStart() - at).remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
        out += m.captured();
        at = m.capturedEnd();
    }
    return out + formula.mid(at).remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
}

}  // namespace

TEST(FormulaTextLibreOffice, CorpusFormulasReadAsLibreOfficeReadsThem) {
    REQUIRE_CORPUS();
    REQUIRE_PROGRAM("soffice");
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) GTEST_SKIP() << "no /usr/bin/python3";
    const QStringList files = {
        testsupport::corpusFile(QStringLiteral("xls/xlrd_formula_test_sjmachin.xls")),
        testsupport::corpusFile(QStringLiteral("xls/lo_shared-formulas-simple.xls")),
        testsupport::corpusFile(QStringLiteral("xls/lo_inline-arrays.xls")),
        testsupport::corpusFile(QStringLiteral("xls/lo_getpivotdata-cell-function.xls")),
        testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls"),
    };
    const QString script = testsupport::fixtureDir() + QStringLiteral("/../../scripts/lo-formulas.py");
    const auto lo = testsupport::runProgram(QStringLiteral("/usr/bin/python3"), QStringList{script} + files, 300000);
    ASSERT_EQ(lo.exitCode, 0) << lo.err.toStdString();

    std::map<QString, std::unique_ptr<Workbook>> books;
    int compared = 0;
    for (const QString &line : QString::fromUtf8(lo.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        ASSERT_EQ(f.size(), 5) << line.toStdString();
        // The other cells of an array formula have no text of their own in LibreOffice.
        if (f[4] == QLatin1String("=")) continue;
        auto &book = books[f[0]];
        if (!book) {
            for (const QString &path : files) {
                if (QFileInfo(path).fileName() == f[0]) {
                    ASSERT_TRUE(Workbook::open(path, book).ok) << path.toStdString();
                }
            }
        }
        ASSERT_TRUE(book);
        const Worksheet *sheet = book->sheet(f[1].toInt());
        ASSERT_TRUE(sheet);
        const QString lo_text = QString(f[4]).replace(QLatin1String("\\n"), QLatin1String("\n"));
        const QString ours = sheet->formula(f[2].toInt(), f[3].toInt());
        EXPECT_EQ(withoutBlanks(ours).toStdString(), withoutBlanks(lo_text).toStdString()) << line.toStdString();
        ++compared;
    }
    EXPECT_GT(compared, 20);
}
