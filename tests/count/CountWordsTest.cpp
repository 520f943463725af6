#include "count/TextCounter.h"

#include <gtest/gtest.h>

using celltrove::count::CountWords;
using celltrove::count::TextCounter;

namespace {

struct WordCase {
    const char16_t *text;
    int words;
};

// The word table of the counting rules, one row each, plus the separators that
// are easy to get wrong.
const WordCase kWordCases[] = {
    {u"", 0},
    {u".", 0},
    {u"7", 0},
    {u"a", 1},
    {u"Haus Boot", 2},
    {u"Haus    Boot", 2},
    {u" Haus", 1},
    {u"Haus ", 1},
    {u"Nord-Süd", 2},
    {u"Peter's", 2},
    {u"Haus\tBoot", 1},
    {u"Haus 12 Boot", 2},
    {u"Preis 3,5 Euro", 3},
    {u"Preis 3,5", 1},
    {u"3.5", 0},
    {u"abc123def", 2},
    {u"Haus\rBoot", 2},
    {u"Haus\nBoot", 2},
    {u"Haus\vBoot", 2},
    {u"US$ Dollar", 2},    // "$" is no separator
    {u"a=b", 1},           // nor is "="
    {u"a`b", 1},           // nor the grave accent
    {u"10€ Preis", 1},     // digits and the euro sign are
    {u"a§b°c µd", 4},
    {u"...Wort", 1},
};

}  // namespace

TEST(CountWords, FollowsTheWordTable) {
    for (const WordCase &c : kWordCases)
        EXPECT_EQ(CountWords(QString::fromUtf16(c.text)), c.words) << QString::fromUtf16(c.text).toStdString();
}

TEST(TextCounter, CountsCellsInBothSetsAndTablesApart) {
    TextCounter counter;
    counter.CountText(QStringLiteral("Haus\nBoot"), false, 1);
    counter.CountText(QStringLiteral("Ö"), false, 1);
    EXPECT_EQ(counter.runCharacters(), 10);
    EXPECT_EQ(counter.runWords(), 3);
    EXPECT_EQ(counter.runCells(), 2);
    EXPECT_EQ(counter.fileCharacters(), 10);
    EXPECT_EQ(counter.fileCells(), 2);

    counter.CountText(QStringLiteral("ignored text"), true, 3);
    EXPECT_EQ(counter.runTables(), 3);
    EXPECT_EQ(counter.runCharacters(), 10);
    EXPECT_EQ(counter.runCells(), 2);

    counter.resetFile();
    EXPECT_EQ(counter.fileCharacters(), 0);
    EXPECT_EQ(counter.runCharacters(), 10);
    counter.resetRun();
    EXPECT_EQ(counter.runTables(), 0);
    EXPECT_EQ(counter.runWords(), 0);
}

TEST(TextCounter, SkipsAnAdditionThatWouldOverflow) {
    TextCounter counter;
    counter.CountText(QString(), true, INT32_MAX - 1);
    counter.CountText(QString(), true, 5);  // skipped
    counter.CountText(QString(), true, 1);
    EXPECT_EQ(counter.runTables(), INT32_MAX);
}
