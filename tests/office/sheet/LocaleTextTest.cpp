// Value-to-text, the locale number parser, date serials and date-format detection:
// the tables of what a cell's value reads as under de_DE and en_US.

#include "office/sheet/DateFormatCheck.h"
#include "office/sheet/ExcelDate.h"
#include "office/sheet/LocaleNumber.h"
#include "office/sheet/ValueText.h"

#include <gtest/gtest.h>

#include <optional>

using namespace office::sheet;

namespace {
const QLocale de(QLocale::German, QLocale::Germany);
const QLocale us(QLocale::English, QLocale::UnitedStates);
}  // namespace

TEST(ValueText, NumbersHaveFifteenDigitsAndTheLocaleSeparator) {
    const struct {
        double value;
        const char *german;
        const char *american;
    } cases[] = {
        {3.5, "3,5", "3.5"},
        {-7, "-7", "-7"},
        {1234567.125, "1234567,125", "1234567.125"},
        {123456789012345, "123456789012345", "123456789012345"},
        {1e15, "1E+15", "1E+15"},
        {1234567890123456789.0, "1,23456789012346E+18", "1.23456789012346E+18"},
        {0.0001, "0,0001", "0.0001"},
        {0.00001, "1E-05", "1E-05"},
        {1.0 / 3, "0,333333333333333", "0.333333333333333"},
        {0.1 + 0.2, "0,3", "0.3"},
        {-0.0, "0", "0"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(numberToText(c.value, de), QString::fromLatin1(c.german)) << c.value;
        EXPECT_EQ(numberToText(c.value, us), QString::fromLatin1(c.american)) << c.value;
    }
}

TEST(ValueText, DatesUseTheShortDateWithAFourDigitYear) {
    const struct {
        double serial;
        bool date1904;
        const char *german;
        const char *american;
    } cases[] = {
        {46362, false, "06.12.2026", "12/6/2026"},
        {46362 - 1462, true, "06.12.2026", "12/6/2026"},
        {46362.6041666667, false, "06.12.2026 14:30:00", "12/6/2026 2:30:00\u202fPM"},
        {0.75, false, "18:00:00", "6:00:00\u202fPM"},
        {1, false, "01.01.1900", "1/1/1900"},
        {61, false, "01.03.1900", "3/1/1900"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(dateToText(c.serial, c.date1904, de), QString::fromUtf8(c.german)) << c.serial;
        // Qt's en_US time separator before AM/PM varies by CLDR version; compare without it.
        QString american = dateToText(c.serial, c.date1904, us);
        american.replace(QChar(0x202F), QLatin1Char(' '));
        EXPECT_EQ(american, QString::fromUtf8(c.american).replace(QChar(0x202F), QLatin1Char(' '))) << c.serial;
    }
}

TEST(ValueText, OtherKinds) {
    EXPECT_EQ(valueToText(CellValue(), de), QString());
    EXPECT_EQ(valueToText(CellValue::text(QStringLiteral(" a\nb")), de), QStringLiteral(" a\nb"));
    EXPECT_EQ(valueToText(CellValue::boolean(true), de), QStringLiteral("True"));
    EXPECT_EQ(valueToText(CellValue::boolean(false), de), QStringLiteral("False"));
    EXPECT_EQ(valueToText(CellValue::error(0x07), de), QStringLiteral("#DIV/0!"));
    EXPECT_EQ(valueToText(CellValue::error(0x2A), de), QStringLiteral("#N/A"));
    EXPECT_EQ(valueToText(CellValue::date(46362, false), de), QStringLiteral("06.12.2026"));
}

TEST(ExcelDate, SerialsOfBothDateSystems) {
    const struct {
        double serial;
        bool date1904;
        QDate date;
    } cases[] = {
        {1, false, QDate(1900, 1, 1)},   {59, false, QDate(1900, 2, 28)}, {61, false, QDate(1900, 3, 1)},
        {46362, false, QDate(2026, 12, 6)}, {0, true, QDate(1904, 1, 1)},  {44900, true, QDate(2026, 12, 6)},
        {kMaxDateSerial, false, QDate(9999, 12, 31)},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(serialToDateTime(c.serial, c.date1904).date(), c.date) << c.serial;
        EXPECT_EQ(dateTimeToSerial(QDateTime(c.date, QTime(0, 0)), c.date1904), c.serial) << c.serial;
    }
    EXPECT_FALSE(serialToDateTime(-1, false).isValid());
    EXPECT_FALSE(serialToDateTime(kMaxDateSerial + 1, false).isValid());
    EXPECT_FALSE(dateTimeToSerial(QDateTime(QDate(1903, 12, 31), QTime(0, 0)), true).has_value());
    EXPECT_EQ(serialToDateTime(46362.6041666667, false).time(), QTime(14, 30));
}

TEST(LocaleNumber, WhatTypingIntoACellAccepts) {
    const std::optional<double> no;
    const struct {
        const char *text;
        std::optional<double> german;
        std::optional<double> american;
    } cases[] = {
        {"3,5", 3.5, no},
        {"3.5", no, 3.5},
        {"1.234,5", 1234.5, no},
        {"1,234.5", no, 1234.5},
        {"1.234", 1234, 1.234},
        {"12.34", no, 12.34},
        {"1.2.3", no, no},
        {" -3,5 ", -3.5, no},
        {"+42", 42, 42},
        {"(7)", -7, -7},
        {"1,5E3", 1500, no},
        {"1.5e-3", no, 0.0015},
        {"50%", 0.5, 0.5},
        {"3,50 €", 3.5, no},
        {"€ -3,50", -3.5, no},
        {"$3.50", no, 3.5},
        {"-$3.50", no, -3.5},
        {",5", 0.5, no},
        {".5", no, 0.5},
        {"€3", 3, no},
        {"x12", no, no},
        {"1 234,5", no, no},
        {"", no, no},
        {"   ", no, no},
        {"abc", no, no},
        {"3,5x", no, no},
        {"--3", no, no},
        {"1e", no, no},
        {"1e999", no, no},
        {"=1+2", no, no},
        {"06.12.2026", no, no},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(parseLocaleNumber(text, de), c.german) << c.text;
        EXPECT_EQ(parseLocaleNumber(text, us), c.american) << c.text;
    }
    EXPECT_FALSE(parseLocaleNumber(QStringLiteral("50%"), de, false).has_value());
    // Locales that group with a no-break space also take a plain space.
    const QLocale fr(QLocale::French, QLocale::France);
    EXPECT_EQ(parseLocaleNumber(QStringLiteral("1 234,5"), fr), 1234.5);
    // A currency symbol of letters may open a number.
    const QLocale swiss(QLocale::German, QLocale::Switzerland);
    EXPECT_EQ(parseLocaleNumber(swiss.currencySymbol() + QStringLiteral(" 12.5"), swiss), 12.5);
}

TEST(DateFormatCheck, CodesAndBuiltInIndexes) {
    const struct {
        int index;
        const char *code;  // nullptr: no FORMAT record, the built-in format
        bool date;
    } cases[] = {
        {0, nullptr, false},          {14, nullptr, true},           {22, nullptr, true},
        {45, nullptr, true},          {4, nullptr, false},           {49, nullptr, false},
        {164, "DD.MM.YYYY", true},    {164, "0.00", false},          {164, "General", false},
        {164, "[h]:mm:ss", true},     {164, "[Red]0.00", false},     {164, "\"m\"0", false},
        {164, "0\\m", false},         {164, "0.00E+00", false},      {164, "[$-407]0", false},
        {164, "_m0", false},          {164, "[$-F800]dddd", true},   {164, "0;[Red]-0;\"d\"", false},
        {164, "h:mm AM/PM", true},    {164, "#,##0 \"Tage\"", false}, {14, "0.00", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isDateFormat(c.index, c.code ? QString::fromUtf8(c.code) : QString()), c.date)
            << c.index << " " << (c.code ? c.code : "(built-in)");
}
