// Number formats applied as the spreadsheet shows them, under de_DE and en_US.
#include "office/sheet/BuiltInFormats.h"
#include "office/sheet/GeneralNumberText.h"
#include "office/sheet/NumberFormat.h"
#include "office/sheet/NumberFormatCache.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace office::sheet;

namespace {

struct Case {
    const char *code;
    double value;
    const char *german;   ///< expected under de_DE
    const char *english;  ///< expected under en_US
};

QString show(const QString &code, const FormatValue &v, const char *locale,
             DateSystem system = DateSystem::Windows1900) {
    return NumberFormat(code).displayText(v, DisplaySettings{system, QLocale(QString::fromLatin1(locale))});
}

void runTable(const std::vector<Case> &cases) {
    for (const Case &c : cases) {
        const QString code = QString::fromUtf8(c.code);
        EXPECT_EQ(show(code, FormatValue::fromNumber(c.value), "de_DE"), QString::fromUtf8(c.german))
            << c.code << " with " << c.value << " under de_DE";
        EXPECT_EQ(show(code, FormatValue::fromNumber(c.value), "en_US"), QString::fromUtf8(c.english))
            << c.code << " with " << c.value << " under en_US";
    }
}

}  // namespace

TEST(GeneralNumberText, FitsElevenCharacters) {
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {0, "0"},
        {1, "1"},
        {-1.5, "-1.5"},
        {0.1 + 0.2, "0.3"},
        {1234567.891, "1234567.891"},
        {12345678901.0, "12345678901"},
        {123456789012.0, "1.23457E+11"},
        {100000000000.0, "1E+11"},
        {1.0 / 3.0, "0.333333333"},
        {2.0 / 3.0, "0.666666667"},
        {123.456789012345, "123.4567890"},  // see below: trailing zero trimmed
        {0.0001234, "0.0001234"},
        {0.00001234, "1.234E-05"},
        {1e-100, "1E-100"},
        {1.23456789e100, "1.2346E+100"},
        {99999999999.9, "1E+11"},
        {-0.5, "-0.5"},
    };
    for (const auto &c : cases) {
        QString expected = QString::fromLatin1(c.text);
        if (expected == QLatin1String("123.4567890")) expected = QStringLiteral("123.4567890").chopped(1);
        EXPECT_EQ(generalNumberText(c.value, QLocale(QStringLiteral("en_US"))), expected) << c.value;
    }
    EXPECT_EQ(generalNumberText(1234.5, QLocale(QStringLiteral("de_DE"))), QStringLiteral("1234,5"));
    EXPECT_EQ(generalNumberText(1.5e20, QLocale(QStringLiteral("de_DE"))), QStringLiteral("1,5E+20"));
}

TEST(NumberFormat, DigitPlaceholdersGroupingAndScaling) {
    runTable({
        {"General", 1234.5, "1234,5", "1234.5"},
        {"0", 2.5, "3", "3"},
        {"0", -2.5, "-3", "-3"},
        {"0", 0.4, "0", "0"},
        {"0.00", 2.675, "2,68", "2.68"},
        {"0.00", -0.001, "-0,00", "-0.00"},
        {"#,##0", 1234567, "1.234.567", "1,234,567"},
        {"#,##0.00", 1234.5, "1.234,50", "1,234.50"},
        {"#,##0", 12, "12", "12"},
        {"#,##0", 0, "0", "0"},
        {"#.##", 0.5, ",5", ".5"},
        {"#", 0, "", ""},
        {"0.#", 3, "3,", "3."},
        {"000", 7, "007", "007"},
        {"???.??", 1.5, "  1,5 ", "  1.5 "},
        {"0,", 1234567, "1235", "1235"},
        {"#,##0,,\"M\"", 1234567890, "1.235M", "1,235M"},
        {"0.0,", 1500, "1,5", "1.5"},
        {"000-00-0000", 123456789, "123-45-6789", "123-45-6789"},
        {"0%", 0.256, "26%", "26%"},
        {"0.00%", 0.25, "25,00%", "25.00%"},
        {".00", 12.5, "12,50", "12.50"},
        {"\"Total: \"0", 5, "Total: 5", "Total: 5"},
        {"0\\ \"kg\"", 5, "5 kg", "5 kg"},
        {"0_);(0)", 5, "5 ", "5 "},
        {"0_);(0)", -5, "(5)", "(5)"},
        {"* #,##0", 1000, "1.000", "1,000"},
        {"\"$\"#,##0.00", -5, "-$5,00", "-$5.00"},
        {"[$€-407] #,##0.00", 1234.5, "€ 1.234,50", "€ 1,234.50"},
        {"#,##0.00 [$€-1]", 3, "3,00 €", "3.00 €"},
        {"[Red]0.0", 1.25, "1,3", "1.3"},
        {"General\" Stück\"", 12, "12 Stück", "12 Stück"},
        {"", 1.5, "1,5", "1.5"},
    });
}

TEST(NumberFormat, SectionsAndConditions) {
    runTable({
        {"0.0;(0.0);\"zero\"", 1, "1,0", "1.0"},
        {"0.0;(0.0);\"zero\"", -1, "(1,0)", "(1.0)"},
        {"0.0;(0.0);\"zero\"", 0, "zero", "zero"},
        {"0;-0;;@", 0, "", ""},
        {"0;", -3, "", ""},
        {"0;\"neg\"", 0, "0", "0"},
        {"[<100]\"small\";[>=100]\"big\"", 50, "small", "small"},
        {"[<100]\"small\";[>=100]\"big\"", 150, "big", "big"},
        {"[>=1000]#,##0,\"K\";0", 5000, "5K", "5K"},
        {"[>=1000]#,##0,\"K\";0", 50, "50", "50"},
        {"[>=1000]#,##0,\"K\";0", -50, "-50", "-50"},
        {"[<0]\"minus \"0;0", -7, "minus 7", "minus 7"},
        {"[>=1000000]0.0,,\"M\";[>=1000]0.0,\"K\";0", 2500, "2,5K", "2.5K"},
        {"[>=1000000]0.0,,\"M\";[>=1000]0.0,\"K\";0", 2500000, "2,5M", "2.5M"},
        {"[>=1000000]0.0,,\"M\";[>=1000]0.0,\"K\";0", 25, "25", "25"},
        {"\"abc\"", -5, "-abc", "-abc"},
    });
}

TEST(NumberFormat, ScientificAndFractions) {
    runTable({
        {"0.00E+00", 12345, "1,23E+04", "1.23E+04"},
        {"0.00E+00", 0.00012345, "1,23E-04", "1.23E-04"},
        {"0.00E-00", 12345, "1,23E04", "1.23E04"},
        {"0.00E+00", 0, "0,00E+00", "0.00E+00"},
        {"0.00E+00", 9.999, "1,00E+01", "1.00E+01"},
        {"##0.0E+0", 12345, "12,3E+3", "12.3E+3"},
        {"##0.0E+0", 0.0012345, "1,2E-3", "1.2E-3"},
        {"00.00E+00", 12345, "12,35E+03", "12.35E+03"},
        {"# ?/?", 1.5, "1 1/2", "1 1/2"},
        {"# ?/?", 0.75, " 3/4", " 3/4"},
        {"# ?/?", 5, "5    ", "5    "},
        {"# ?/?", -2.25, "-2 1/4", "-2 1/4"},
        {"# ?\?/??", 3.14159, "3 14/99", "3 14/99"},
        {"# ?\?/??", 0.3333, "  1/3 ", "  1/3 "},
        {"# ??\?/???", 3.14159, "3  16/113", "3  16/113"},
        {"?/?", 2.5, "5/2", "5/2"},
        {"# ?\?/16", 1.3, "1  5/16", "1  5/16"},
        {"# ?/4", 2.9, "3    ", "3    "},
        {"0 ?/8", 0.5, "0 4/8", "0 4/8"},
    });
}

TEST(NumberFormat, DatesAndTimes) {
    // 43831 = 2020-01-01 (a Wednesday); 0.75 = 18:00.
    runTable({
        {"dd.mm.yyyy", 43831, "01.01.2020", "01.01.2020"},
        {"d/m/yy", 43862.5, "1.2.20", "1/2/20"},
        {"d\\/m\"/\"yy", 43862.5, "1/2/20", "1/2/20"},
        {"mmmm d, yyyy", 43831, "Januar 1, 2020", "January 1, 2020"},
        {"ddd, dd mmm yyyy", 43891, "So, 01 Mär 2020", "Sun, 01 Mar 2020"},
        {"dddd", 43831, "Mittwoch", "Wednesday"},
        {"mmmmm", 43983, "J", "J"},
        {"h:mm", 0.75, "18:00", "18:00"},
        {"hh:mm:ss", 0.5 + 1.0 / 86400 * 61.6, "12:01:02", "12:01:02"},
        {"h:mm AM/PM", 0.75, "6:00 PM", "6:00 PM"},
        {"h:mm am/pm", 0.25, "6:00 am", "6:00 am"},
        {"h:mm A/P", 0.0, "12:00 A", "12:00 A"},
        {"[h]:mm:ss", 1.5, "36:00:00", "36:00:00"},
        {"[mm]:ss", 0.5, "720:00", "720:00"},
        {"[ss]", 1.0 / 24, "3600", "3600"},
        {"mm:ss.0", 1.0 / 86400 * 65.26, "01:05,3", "01:05.3"},
        {"h:mm:ss.00", 0.999999999, "0:00:00,00", "0:00:00.00"},
        {"yyyy-mm-dd hh:mm", 43831.99999, "2020-01-01 23:59", "2020-01-01 23:59"},
        {"yyyy-mm-dd hh:mm", 43831.999999, "2020-01-02 00:00", "2020-01-02 00:00"},
        {"m/d/yyyy", 60, "2.29.1900", "2/29/1900"},
        {"m/d/yyyy", 61, "3.1.1900", "3/1/1900"},
        {"m/d/yyyy", 1, "1.1.1900", "1/1/1900"},
        {"dd.mm.yyyy", 0, "00.01.1900", "00.01.1900"},
        {"dd.mm.yyyy", -1, "########", "########"},
        {"dd.mm.yyyy", 2958465, "31.12.9999", "31.12.9999"},
        {"dd.mm.yyyy", 2958466, "########", "########"},
        {"[$-409]mmmm yyyy", 43831, "January 2020", "January 2020"},
        {"[$-407]mmmm yyyy", 43831, "Januar 2020", "Januar 2020"},
        {"[$-411]ggge\"年\"m\"月\"", 42095, "平成27年4月", "平成27年4月"},
        {"[$-411]gge", 43831, "令2", "令2"},
        {"[$-411]g ee", 32515, "S 64", "S 64"},
        {"e", 43831, "2020", "2020"},
        {"yy", 36526, "00", "00"},
        {"mm:ss", 1.0 / 1440 * 5.5, "05:30", "05:30"},
        {"m", 43831 + 0.5, "1", "1"},
        {"hh \"Uhr\" m", 0.5 + 7.0 / 1440, "12 Uhr 7", "12 Uhr 7"},
    });
}

TEST(NumberFormat, DateSystem1904) {
    const FormatValue zero = FormatValue::fromNumber(0);
    EXPECT_EQ(show(QStringLiteral("yyyy-mm-dd"), zero, "en_US", DateSystem::Mac1904), QStringLiteral("1904-01-01"));
    EXPECT_EQ(show(QStringLiteral("yyyy-mm-dd dddd"), FormatValue::fromNumber(42369), "en_US", DateSystem::Mac1904),
              QStringLiteral("2020-01-01 Wednesday"));
}

TEST(NumberFormat, TextBooleansAndErrors) {
    const struct {
        const char *code;
        const char *expected;
    } cases[] = {
        {"@", "Wort"},
        {"0.00", "Wort"},
        {"\"<\"@\">\"", "<Wort>"},
        {"0;-0;0;\"Text: \"@", "Text: Wort"},
        {"0;@\" (t)\"", "Wort (t)"},
        {"_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)", " Wort "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(show(QString::fromUtf8(c.code), FormatValue::fromText(QStringLiteral("Wort")), "de_DE"),
                  QString::fromUtf8(c.expected))
            << c.code;
    EXPECT_EQ(show(QStringLiteral("0.00"), FormatValue::fromBoolean(true), "de_DE"), QStringLiteral("TRUE"));
    EXPECT_EQ(show(QStringLiteral("General"), FormatValue::fromBoolean(false), "en_US"), QStringLiteral("FALSE"));
    EXPECT_EQ(show(QStringLiteral("0.00"), FormatValue::fromError(0x07), "de_DE"), QStringLiteral("#DIV/0!"));
    EXPECT_EQ(show(QStringLiteral("0"), FormatValue::fromError(0x2A), "en_US"), QStringLiteral("#N/A"));
    EXPECT_EQ(show(QStringLiteral("@"), FormatValue::fromNumber(1.5), "de_DE"), QStringLiteral("1,5"));
}

TEST(NumberFormat, BuiltInFormatsFollowTheLocale) {
    const QLocale de(QStringLiteral("de_DE")), en(QStringLiteral("en_US"));
    EXPECT_EQ(builtInFormatCode(14, de), QStringLiteral("dd.mm.yyyy"));
    EXPECT_EQ(builtInFormatCode(14, en), QStringLiteral("m/d/yyyy"));
    EXPECT_EQ(builtInFormatCode(22, de), QStringLiteral("dd.mm.yyyy hh:mm"));
    EXPECT_EQ(builtInFormatCode(22, en), QStringLiteral("m/d/yyyy h:mm"));
    EXPECT_EQ(builtInFormatCode(15, de), QStringLiteral("dd. mmm yy"));
    EXPECT_EQ(builtInFormatCode(20, de), QStringLiteral("hh:mm"));
    EXPECT_EQ(builtInFormatCode(30, de), QStringLiteral("dd.mm.yyyy"));
    const struct {
        int index;
        double value;
        const char *english;
    } cases[] = {
        {0, 0.5, "0.5"},          {1, 2.5, "3"},          {2, 2.5, "2.50"},       {3, 1234, "1,234"},
        {4, -1234.5, "-1,234.50"}, {9, 0.5, "50%"},        {10, 0.5, "50.00%"},    {11, 1234, "1.23E+03"},
        {12, 0.5, " 1/2"},         {13, 0.25, "  1/4 "},   {15, 43831, "1-Jan-20"}, {16, 43831, "1-Jan"},
        {17, 43831, "Jan-20"},     {18, 0.5, "12:00 PM"},  {19, 0.5, "12:00:00 PM"}, {20, 0.5, "12:00"},
        {21, 0.5, "12:00:00"},     {37, -5, "(5)"},        {39, 5, "5.00 "},       {41, 0, " - "},
        {43, 1234.5, " 1,234.50 "}, {45, 0.5, "00:00"},   {46, 1.25, "30:00:00"}, {47, 0.5, "00:00.0"},
        {48, 12345, "12.3E+3"},    {49, 5, "5"},           {99, 5, "5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberFormat(builtInFormatCode(c.index, en)).displayText(FormatValue::fromNumber(c.value), {DateSystem::Windows1900, en}),
                  QString::fromUtf8(c.english))
            << "built-in " << c.index;
}

TEST(NumberFormat, CacheParsesEachCodeOnce) {
    NumberFormatCache cache;
    const NumberFormat &a = cache.format(QStringLiteral("0.00"));
    const NumberFormat &b = cache.format(QStringLiteral("0.00"));
    EXPECT_EQ(&a, &b);
    EXPECT_NE(&a, &cache.format(QStringLiteral("0.000")));
    EXPECT_TRUE(cache.format(QStringLiteral("dd.mm.yyyy")).isDateTime());
    EXPECT_FALSE(cache.format(QStringLiteral("0.00;[Red]-0.00")).isDateTime());
}

TEST(NumberFormat, HostileCodesAndValuesStayBounded) {
    const QLocale en(QStringLiteral("en_US"));
    const DisplaySettings s{DateSystem::Windows1900, en};
    const double nasty[] = {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN(), -0.0};
    const char *codes[] = {"0.000000000000000000000000000000", "%%%%%%%%%%0", "0,,,,,,,,,,,,,,,,,", "#,##0.00E+00",
                           "[h]:mm", "# ????????\?/?????????", "\"unclosed", "[unclosed", "\\", "_", "*", ";;;;;;;",
                           "0.0E+", "?/", "[$-F800]", "[$-F400]", "[>]0", "yyyy;[<0]", "0/0/0", "E+0"};
    for (const char *code : codes)
        for (double v : nasty) {
            const QString text = NumberFormat(QString::fromLatin1(code)).displayText(FormatValue::fromNumber(v), s);
            EXPECT_LT(text.size(), 1000) << code;
        }
}
