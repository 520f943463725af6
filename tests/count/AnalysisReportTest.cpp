#include "count/AnalysisReport.h"

#include <gtest/gtest.h>

using namespace celltrove::count;

namespace {

QString identity(const QString &s) { return s; }

AnalysisReport germanReport(ReportSettings s = {}) {
    return AnalysisReport(std::move(s), identity, QLocale(QLocale::German, QLocale::Germany));
}

QString padded(const QString &text) { return QStringLiteral("\t\t") + QString(21 - text.size(), u' ') + text; }

}  // namespace

TEST(AnalysisReport, PadNumberEndsInColumn21) {
    const AnalysisReport r = germanReport();
    EXPECT_EQ(r.PadNumber(7), QStringLiteral("\t\t") + QString(20, u' ') + QStringLiteral("7"));
    EXPECT_EQ(r.PadNumber(200), QStringLiteral("\t\t") + QString(18, u' ') + QStringLiteral("200"));
    EXPECT_EQ(r.PadNumber(4.0722), padded(QStringLiteral("4,0722")));
    EXPECT_EQ(r.PadNumber(1234567), padded(QStringLiteral("1234567")));  // no grouping
    // 21 characters: no blanks; 22 or more: none either.
    EXPECT_EQ(r.PadNumber(-1.23456789012345e20), QStringLiteral("\t\t-1,23456789012345E+20"));
    EXPECT_EQ(r.PadNumber(-0.123456789012345), padded(QStringLiteral("-0,123456789012345")));
    const AnalysisReport c(ReportSettings{}, identity, QLocale::c());
    EXPECT_EQ(c.PadNumber(0.12), padded(QStringLiteral("0.12")));
}

TEST(AnalysisReport, LinesRoundHalvesToEven) {
    struct Case {
        const char *perLine;
        qint64 characters;
        double lines;
    } cases[] = {{"8", 1, 0.12}, {"8", 3, 0.38}, {"53", 100, 1.89}, {"53", 10600, 200}, {"8", 5, 0.62}};
    for (const Case &c : cases) {
        const auto lines = germanReport({QString::fromLatin1(c.perLine), {}, {}, {}}).lines(c.characters);
        ASSERT_TRUE(lines.has_value());
        EXPECT_DOUBLE_EQ(*lines, c.lines) << c.perLine << " " << c.characters;
    }
    EXPECT_FALSE(germanReport({QStringLiteral("0"), {}, {}, {}}).lines(10).has_value());
    EXPECT_FALSE(germanReport({QStringLiteral("x"), {}, {}, {}}).lines(10).has_value());
}

TEST(AnalysisReport, FileBlockHasItsNineLinesAndResetsTheFileCounters) {
    TextCounter counter;
    counter.CountText(QString(106, u'x'), false, 1);
    const QStringList lines = germanReport().FileReport(counter);
    const QString rule = QStringLiteral("_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _");
    const QStringList expected = {rule,
                                  QStringLiteral("                Dateianalyse"),
                                  rule,
                                  QStringLiteral("Zeilen-Gesamt: (53 Zeichen)"),
                                  padded(QStringLiteral("2")),
                                  rule,
                                  QStringLiteral("Wörter Gesamtanzahl:"),
                                  padded(QStringLiteral("1")),
                                  QStringLiteral(" ")};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(counter.fileCharacters(), 0);
    EXPECT_EQ(counter.runCharacters(), 106);
}

TEST(AnalysisReport, TotalBlockPricesAndTableFlag) {
    // 10600 characters and 1500 words: 200 lines, 200 € by line, 150 € by word.
    TextCounter words;
    QString text;
    for (int i = 0; i < 1500; ++i) text += QStringLiteral("ab ");
    text.chop(1);
    words.CountText(text + QString(10600 - text.size(), u'x'), false, 1);
    words.CountText(QString(), true, 2);
    const QStringList lines = germanReport().TotalReport(words, false, 3);
    ASSERT_EQ(lines.size(), 29);
    EXPECT_EQ(lines[0], QStringLiteral(" "));
    EXPECT_EQ(lines[5], padded(QStringLiteral("10600")));
    EXPECT_EQ(lines[8], padded(QStringLiteral("200")));
    EXPECT_EQ(lines[11], padded(QStringLiteral("1500")));
    EXPECT_EQ(lines[13], QStringLiteral("Zellen Gesamt:"));
    EXPECT_EQ(lines[14], padded(QStringLiteral("1")));
    EXPECT_EQ(lines[16], QStringLiteral("Tabellen Gesamt:"));
    EXPECT_EQ(lines[17], padded(QStringLiteral("2")));
    EXPECT_EQ(lines[20], padded(QStringLiteral("3")));
    EXPECT_EQ(lines[22], QStringLiteral("Gesamtbetrag (Zeilen) in €:"));
    EXPECT_EQ(lines[23], padded(QStringLiteral("200")));
    EXPECT_EQ(lines[24], lines[6]);
    EXPECT_EQ(lines[25], QStringLiteral("Gesamtbetrag (Wörter) in €:"));
    EXPECT_EQ(lines[26], padded(QStringLiteral("150")));
    EXPECT_EQ(lines[28], QStringLiteral("*******************************************"));
    EXPECT_EQ(words.runCharacters(), 0);
    EXPECT_EQ(words.runTables(), 0);

    // The table form leaves out the cells lines.
    words.CountText(QStringLiteral("x"), false, 1);
    const QStringList tableLines = germanReport().TotalReport(words, true, 1);
    EXPECT_EQ(tableLines.size(), 26);
    EXPECT_FALSE(tableLines.contains(QStringLiteral("Zellen Gesamt:")));
}

TEST(AnalysisReport, UnreadableSettingsDropOnlyTheirValues) {
    TextCounter counter;
    // 12.34 lines at 0.33 a line: the amount 4.0722 is not rounded again.
    counter.CountText(QString(1234, u'x'), false, 1);
    const QStringList good =
        germanReport({QStringLiteral("100"), QStringLiteral("0,33"), QStringLiteral("x"), QStringLiteral("CHF")})
            .TotalReport(counter, false, 1);
    EXPECT_EQ(good[8], padded(QStringLiteral("12,34")));
    EXPECT_EQ(good[22], QStringLiteral("Gesamtbetrag (Zeilen) in CHF:"));
    EXPECT_EQ(good[23], padded(QStringLiteral("4,0722")));
    EXPECT_EQ(good.size(), 28);  // the word price is no number: its amount is left out
    EXPECT_EQ(good[26], QStringLiteral(" "));

    counter.CountText(QString(10, u'x'), false, 1);
    const QStringList noLines =
        germanReport({QStringLiteral("0"), {}, {}, {}}).TotalReport(counter, false, 1);
    EXPECT_EQ(noLines.size(), 27);  // lines value and line amount left out
    EXPECT_EQ(noLines[7], QStringLiteral("Zeilen-Gesamt: (0 Zeichen)"));
}

TEST(AnalysisReport, LabelsGoThroughTheLookup) {
    TextCounter counter;
    const AnalysisReport r(ReportSettings{}, [](const QString &s) { return QStringLiteral("<") + s + u'>'; },
                           QLocale::c());
    const QStringList lines = r.FileReport(counter);
    EXPECT_EQ(lines[3], QStringLiteral("<Zeilen-Gesamt: >(53< Zeichen>)"));
    EXPECT_EQ(lines[8], QStringLiteral(" "));  // the blank line is not looked up
}
