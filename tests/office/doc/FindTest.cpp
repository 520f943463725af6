// Find semantics as the search helpers use them: each helper writes its own set of
// options and inherits the rest from the search before.
#include "DocTestHelpers.h"

#include "office/doc/Application.h"

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

bool findPlain(Selection &sel, const QString &text) {
    Find f = sel.find();
    f.clearFormatting();
    f.setText(text);
    f.replacement().setText(QString());
    f.setForward(true);
    f.setWrap(kFindContinue);
    f.setFormat(false);
    f.setMatchCase(false);
    f.setMatchWholeWord(false);
    f.setMatchWildcards(false);
    f.setMatchSoundsLike(false);
    f.setMatchAllWordForms(false);
    return f.execute();
}

bool findAnywhere(Selection &sel, const QString &text) {
    Find f = sel.find();
    f.clearFormatting();
    f.setWrap(kFindContinue);
    f.execute(text, true);
    return f.found();
}

bool replaceAllRed(Selection &sel, const QString &text, const QString &replacement) {
    Find f = sel.find();
    f.clearFormatting();
    f.replacement().clearFormatting();
    f.setText(text);
    f.replacement().setText(replacement);
    f.replacement().setFontColor(255);
    f.setForward(true);
    f.setWrap(kFindContinue);
    f.setFormat(true);
    f.setMatchCase(false);
    f.setMatchWholeWord(false);
    f.setMatchWildcards(false);
    f.setMatchSoundsLike(false);
    f.setMatchAllWordForms(false);
    return f.execute(ReplaceMode::All);
}

bool replaceAllAsInternal(Selection &sel, const QString &pattern, const QString &replacement) {
    Find f = sel.find();
    f.clearFormatting();
    f.replacement().clearFormatting();
    f.replacement().setStyle(QStringLiteral("tw4winInternal"));
    f.setText(pattern);
    f.replacement().setText(replacement);
    f.setForward(true);
    f.setWrap(kFindContinue);
    f.setFormat(true);
    f.setMatchCase(false);
    f.setMatchWholeWord(false);
    f.setMatchAllWordForms(false);
    f.setMatchSoundsLike(false);
    f.setMatchWildcards(true);
    return f.execute(ReplaceMode::All);
}

void replaceInFirstTable(Document &doc, const QString &text, const QString &replacement) {
    Range r = doc.tables().item(1).range();
    Find f = r.find();
    f.clearFormatting();
    f.replacement().clearFormatting();
    f.setText(text);
    f.replacement().setText(replacement);
    f.execute(ReplaceMode::All);
}

struct FindTest : ::testing::Test {
    office::CellGridClipboard clipboard;
    Application app{&clipboard};
    Document *doc = app.documents().add();
    Selection &sel = doc->selection();
    void SetUp() override { doctest::addTaggedStyles(*doc); }
};

TEST_F(FindTest, FindPlainSelectsTheMatchAndWrapsFromTheEnd) {
    sel.typeText(QStringLiteral("<!-- CellID: 1,1-->\rAlpha\r<!-- CellID: 2,1-->\rBeta\r"));
    sel.endKey(Unit::Story);
    ASSERT_TRUE(findPlain(sel, QStringLiteral("<!-- cellid: 2,1-->")));  // case-insensitive
    EXPECT_EQ(sel.start(), 26);
    EXPECT_EQ(sel.text(), QStringLiteral("<!-- CellID: 2,1-->"));
    ASSERT_TRUE(findPlain(sel, QStringLiteral("<!-- CellID: ")));
    EXPECT_EQ(sel.start(), 0);  // wrapped around
}

TEST_F(FindTest, AFailedSearchLeavesTheSelection) {
    sel.typeText(QStringLiteral("one two three"));
    sel.setRange(4, 7);
    EXPECT_FALSE(findPlain(sel, QStringLiteral("four")));
    EXPECT_EQ(sel.start(), 4);
    EXPECT_EQ(sel.end(), 7);
    EXPECT_FALSE(sel.find().found());
}

TEST_F(FindTest, WrapStopDoesNotLookBehindTheSelection) {
    sel.typeText(QStringLiteral("<BindleRTF>a</BindleRTF><BindleRTF>b</BindleRTF>"));
    Find f = sel.find();
    f.setText(QStringLiteral("<BindleRTF>"));
    f.setForward(true);
    f.setWrap(kFindStop);
    sel.homeKey(Unit::Story);
    EXPECT_TRUE(f.execute());
    EXPECT_EQ(sel.start(), 0);
    EXPECT_TRUE(f.execute());
    EXPECT_EQ(sel.start(), 24);
    EXPECT_FALSE(f.execute());
    EXPECT_EQ(sel.start(), 24);
}

// Options a routine does not write come from the search before it.
TEST_F(FindTest, OptionsPersistFromOneSearchToTheNext) {
    sel.typeText(QStringLiteral("Wort wort"));
    Find f = sel.find();
    f.setMatchCase(true);
    f.setMatchWholeWord(true);
    f.setWrap(kFindStop);
    sel.homeKey(Unit::Story);
    // FindAnywhere sets only the text, the direction and wrapping: case still counts.
    EXPECT_TRUE(findAnywhere(sel, QStringLiteral("wort")));
    EXPECT_EQ(sel.start(), 5);
    EXPECT_TRUE(app.findSettings().matchCase);
    replaceAllRed(sel, QStringLiteral("xyz"), QStringLiteral("abc"));
    EXPECT_TRUE(app.findSettings().format);
    EXPECT_FALSE(app.findSettings().matchCase);
    // ...and after ReplaceAllRed, FindAnywhere still searches with Format on and the
    // match options off.
    findAnywhere(sel, QStringLiteral("WORT"));
    EXPECT_TRUE(app.findSettings().format);
    EXPECT_TRUE(app.findSettings().found);
    EXPECT_EQ(app.findSettings().replacementColor, 255);
    // A range's find shares the same options.
    Range whole = doc->content();
    EXPECT_TRUE(whole.find().format());
}

TEST_F(FindTest, ReplaceAllRedColoursEveryReplacement) {
    sel.typeText(QStringLiteral("a\x0b" "b\x0b" "c"));
    sel.homeKey(Unit::Story);
    EXPECT_TRUE(replaceAllRed(sel, QStringLiteral("^l"), QStringLiteral("<br>")));
    EXPECT_EQ(doc->content().text(), QStringLiteral("a<br>b<br>c\r"));
    for (int p : {1, 4, 6, 9}) EXPECT_EQ(doc->charFormats().at(doc->story().charFormatAt(p)).color, 255) << p;
    EXPECT_EQ(doc->charFormats().at(doc->story().charFormatAt(0)).color, kColorAutomatic);
    EXPECT_FALSE(replaceAllRed(sel, QStringLiteral("^l"), QStringLiteral("x")));
}

TEST_F(FindTest, ReplaceAllAsInternalStylesAWildcardCharacter) {
    sel.typeText(QStringLiteral("eins\x0bzwei\x0b"));
    sel.setRange(2, 2);
    EXPECT_TRUE(replaceAllAsInternal(sel, QString(QChar(11)), QStringLiteral("<<lf>>")));
    EXPECT_EQ(doc->content().text(), QStringLiteral("eins<<lf>>zwei<<lf>>\r"));
    EXPECT_EQ(doc->range(4, 5).characterStyleName(), QStringLiteral("tw4winInternal"));
    EXPECT_EQ(doc->range(3, 4).characterStyleName(), QString());
    // Wildcard patterns beyond literal characters are refused, not misread.
    EXPECT_FALSE(replaceAllAsInternal(sel, QStringLiteral("<*>"), QStringLiteral("x")));
    EXPECT_TRUE(replaceAllAsInternal(sel, QStringLiteral("\\<\\<"), QStringLiteral("[")));
}

TEST_F(FindTest, ReplaceInFirstTableChangesNothingOutsideIt) {
    sel.typeText(QStringLiteral("vor\rhead\r"));
    clipboard.setGrid({{QStringLiteral("x"), QStringLiteral("a\nb")}, {QStringLiteral("c"), QStringLiteral("d")}});
    sel.paste();
    sel.typeText(QStringLiteral("nach\r"));
    // The pasted line break becomes a line break; a paragraph inside a cell is made here.
    const int cellStart = doc->tables().item(1).cell(2, 1).range().start();
    sel.setRange(cellStart + 1, cellStart + 1);
    sel.typeText(QStringLiteral("\r"));
    ASSERT_EQ(doc->tables().item(1).cellTexts()[1][0], QStringLiteral("c\n"));
    replaceInFirstTable(*doc, QStringLiteral("\r"), QStringLiteral("<<lf>>"));
    EXPECT_EQ(doc->tables().item(1).cellTexts(),
              (QList<QStringList>{{QStringLiteral("x"), QStringLiteral("a\nb")}, {QStringLiteral("c<<lf>>"), QStringLiteral("d")}}));
    EXPECT_TRUE(doc->content().text().startsWith(QStringLiteral("vor\rhead\r")));
    EXPECT_TRUE(doc->content().text().endsWith(QStringLiteral("nach\r\r")));
}

TEST_F(FindTest, ClearingBlankCellsKeepsTheTable) {
    sel.typeText(QStringLiteral("h\r"));
    clipboard.setGrid({{QStringLiteral(" "), QStringLiteral("\u00A0"), QStringLiteral("  "), QStringLiteral("a")}});
    sel.paste();
    for (const Cell &cell : doc->tables().item(1).range().cells()) {
        Range r = cell.range();
        const QString text = r.text();
        if (text.size() == 3 && (text[0] == QChar(u' ') || text[0] == QChar(0xA0))) r.deleteText();
    }
    ASSERT_EQ(doc->tables().count(), 1);
    EXPECT_EQ(doc->tables().item(1).cellTexts(),
              (QList<QStringList>{{QString(), QString(), QStringLiteral("  "), QStringLiteral("a")}}));
}

TEST_F(FindTest, TableCopyGivesTheGridAndGoToFindsTheTable) {
    sel.typeText(QStringLiteral("h1\rh2\r"));
    clipboard.setGrid({{QStringLiteral("1"), QStringLiteral("zwei\ndrei")}, {QStringLiteral("x"), QString()}});
    sel.paste();
    sel.homeKey(Unit::Story);
    clipboard.clear();
    ASSERT_TRUE(sel.goToTable(1));
    EXPECT_EQ(sel.start(), 6);
    sel.tables().item(1).select();
    sel.copy();
    EXPECT_FALSE(clipboard.isPlainText());
    EXPECT_EQ(clipboard.rows(), (QList<QStringList>{{QStringLiteral("1"), QStringLiteral("zwei\ndrei")}, {QStringLiteral("x"), QString()}}));
    EXPECT_EQ(doc->tables().item(1).range().text(), QStringLiteral("1\r\azwei\x0b" "drei\r\a\r\ax\r\a\r\a\r\a"));
    // Deleting the whole table leaves the paragraphs around it.
    sel.deleteText();
    EXPECT_EQ(doc->tables().count(), 0);
    EXPECT_EQ(doc->content().text(), QStringLiteral("h1\rh2\r\r"));
}

TEST_F(FindTest, DeletingAcrossATableKeepsPartlyCoveredRows) {
    sel.typeText(QStringLiteral("abc\r"));
    clipboard.setGrid({{QStringLiteral("r1")}, {QStringLiteral("r2")}});
    sel.paste();
    sel.typeText(QStringLiteral("def"));
    // From "c" into the middle of row 2: row 1 goes, row 2 keeps its marks.
    doc->range(2, 9).select();
    sel.deleteText();
    ASSERT_EQ(doc->tables().count(), 1);
    EXPECT_EQ(doc->tables().item(1).cellTexts(), (QList<QStringList>{{QStringLiteral("2")}}));
    EXPECT_TRUE(doc->content().text().startsWith(QStringLiteral("ab\r")));
}

// Marks are found by a scan that goes window by window over the store: matches on
// either side of a window's end, and across the store's gap, are all found.
TEST_F(FindTest, ReplaceAllFindsMarksAcrossWindowsAndTheStoreGap) {
    QString text(40000, u'a');
    const std::vector<int> marks = {0, 16382, 16383, 16384, 25000, 32768, 39999};
    for (int p : marks) text[p] = QChar(11);
    sel.typeText(text);
    // An edit in the middle leaves the store's gap there.
    doc->range(20000, 20000).setText(QStringLiteral("b"));
    sel.homeKey(Unit::Story);
    EXPECT_TRUE(replaceAllAsInternal(sel, QString(QChar(11)), QStringLiteral("<>")));
    const QString result = doc->content().text();
    EXPECT_EQ(result.count(QStringLiteral("<>")), qsizetype(marks.size()));
    EXPECT_FALSE(result.contains(QChar(11)));
    // Plain finds of a mark pattern behave the same: a one-character literal without case.
    sel.homeKey(Unit::Story);
    EXPECT_TRUE(findPlain(sel, QStringLiteral("b")));
    EXPECT_EQ(sel.start(), 20000 + 4);  // the four marks before it grew by one character each
}

}  // namespace

// Without match case, letters match in either case (by Unicode folding, so the
// Kelvin sign matches "k"); other characters match only themselves.
TEST_F(FindTest, IgnoringCaseFoldsLettersOnly) {
    sel.typeText(QStringLiteral("x@y`z[w{ \u212A-Ring <BindleRTF>Ready"));
    const struct {
        QString find;
        int at;
    } cases[] = {
        {"`", 3}, {"@", 1}, {"{", 7}, {"[", 5}, {"k-ring", 9}, {"<bindlertf>READY", 16}, {"X@Y", 0},
    };
    for (const auto &c : cases) {
        sel.homeKey(Unit::Story);
        ASSERT_TRUE(findPlain(sel, c.find)) << c.find.toStdString();
        EXPECT_EQ(sel.start(), c.at) << c.find.toStdString();
    }
    sel.homeKey(Unit::Story);
    EXPECT_FALSE(findPlain(sel, QStringLiteral("X`Y")));
}
