#include "DocTestHelpers.h"

#include "office/doc/Application.h"

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

struct Fixture : ::testing::Test {
    office::CellGridClipboard clipboard;
    Application app{&clipboard};
    Document *doc = app.documents().add();
    Selection &sel = doc->selection();
};

using SelectionTest = Fixture;

TEST_F(SelectionTest, NewDocumentHoldsOnlyItsFinalMark) {
    EXPECT_EQ(doc->content().text(), QStringLiteral("\r"));
    EXPECT_EQ(sel.type(), kSelectionIP);
    EXPECT_EQ(doc->name(), QStringLiteral("Dokument1"));
    EXPECT_EQ(app.activeDocument(), doc);
}

TEST_F(SelectionTest, TypeTextTurnsLineFeedsIntoParagraphMarks) {
    sel.typeText(QStringLiteral("a\nb\r\nc"));
    EXPECT_EQ(doc->content().text(), QStringLiteral("a\rb\rc\r"));
    EXPECT_EQ(sel.start(), 5);
    EXPECT_EQ(sel.type(), kSelectionIP);
}

TEST_F(SelectionTest, InsertAfterSelectsTheNewTextAndMoveRightCollapsesBehindIt) {
    sel.typeText(QStringLiteral("head\r"));
    sel.insertAfter(QStringLiteral("<comm>\r\r"));
    EXPECT_EQ(sel.text(), QStringLiteral("<comm>\r\r"));
    EXPECT_EQ(sel.moveRight(Unit::Character, 1), 1);
    EXPECT_EQ(sel.type(), kSelectionIP);
    EXPECT_EQ(sel.start(), 5 + 8);
}

TEST_F(SelectionTest, StyledMarkDoesNotLeakIntoTextTypedAfterIt) {
    doctest::addTaggedStyles(*doc);
    doctest::typeCellBlock(sel, 12, 3, QStringLiteral("Umsatz\nNetto"));
    EXPECT_EQ(doctest::paragraphTexts(*doc),
              (QStringList{QStringLiteral("<!-- CellID: 12,3-->"), QString(), QStringLiteral("Umsatz\x0bNetto"), QString(), QString()}));
    EXPECT_EQ(doc->range(0, 1).characterStyleName(), QStringLiteral("tw4winExternal"));
    EXPECT_EQ(doc->range(21, 22).characterStyleName(), QStringLiteral("tw4winExternal"));  // the empty paragraph's mark
    EXPECT_EQ(doc->range(22, 23).characterStyleName(), QString());
}

TEST_F(SelectionTest, HomeAndEndKeyByStoryAndLine) {
    sel.typeText(QStringLiteral("one\rtwo\x0bthree\r"));
    sel.homeKey(Unit::Story);
    EXPECT_EQ(sel.start(), 0);
    sel.endKey(Unit::Story);
    EXPECT_EQ(sel.start(), doc->story().length() - 1);  // never behind the final mark
    sel.setRange(5, 5);
    sel.endKey(Unit::Line);
    EXPECT_EQ(sel.start(), 7);  // stops at the line break
    sel.homeKey(Unit::Line, MoveMode::Extend);
    EXPECT_EQ(sel.text(), QStringLiteral("two"));
    sel.setRange(5, 5);
    sel.homeKey(Unit::Story, MoveMode::Extend);
    EXPECT_EQ(sel.text(), QStringLiteral("one\rt"));
}

TEST_F(SelectionTest, MovesCollapseFirstAndStopAtTheEnds) {
    sel.typeText(QStringLiteral("abcdef"));
    sel.setRange(1, 4);
    EXPECT_EQ(sel.moveLeft(Unit::Character, 1), 1);
    EXPECT_EQ(sel.start(), 1);
    EXPECT_EQ(sel.moveLeft(Unit::Character, 5), 1);
    EXPECT_EQ(sel.start(), 0);
    EXPECT_EQ(sel.moveRight(Unit::Character, 100), 6);
    EXPECT_EQ(sel.start(), 6);
    sel.setRange(1, 4);
    sel.moveLeft(Unit::Character, 1, MoveMode::Extend);
    EXPECT_EQ(sel.text(), QStringLiteral("bc"));
    EXPECT_EQ(sel.moveStart(Unit::Character, 1), 1);
    EXPECT_EQ(sel.text(), QStringLiteral("c"));
    EXPECT_EQ(sel.moveEnd(Unit::Character, -1), -1);
    EXPECT_EQ(sel.type(), kSelectionIP);
}

TEST_F(SelectionTest, MoveUntilAndMoveEndUntil) {
    sel.typeText(QStringLiteral("<BindleRTF>name</BindleRTF>"));
    sel.homeKey(Unit::Story);
    EXPECT_EQ(sel.moveUntil(QStringLiteral(">")), 10);
    EXPECT_EQ(sel.start(), 10);
    sel.moveRight(Unit::Character, 1);
    EXPECT_EQ(sel.moveEndUntil(QStringLiteral("<")), 4);
    EXPECT_EQ(sel.text(), QStringLiteral("name"));
    sel.homeKey(Unit::Story);
    EXPECT_EQ(sel.moveUntil(QStringLiteral("#")), 0);  // absent: no move
    EXPECT_EQ(sel.start(), 0);
}

TEST_F(SelectionTest, DeleteByCountAndTheFinalMarkSurvives) {
    sel.typeText(QStringLiteral("\r\r\rtext"));
    sel.homeKey(Unit::Story);
    EXPECT_EQ(sel.deleteText(Unit::Character, 0), 0);
    EXPECT_EQ(sel.deleteText(Unit::Character, 3), 3);
    EXPECT_EQ(doc->content().text(), QStringLiteral("text\r"));
    sel.wholeStory();
    sel.deleteText();
    EXPECT_EQ(doc->content().text(), QStringLiteral("\r"));
    sel.wholeStory();
    EXPECT_EQ(sel.type(), kSelectionIP);  // an empty document
}

TEST_F(SelectionTest, SplitStyleCutsFrontAndBackOfAPart) {
    sel.typeText(QStringLiteral("head\r<BindleRTF>a.rtf</BindleRTF>\r\rbody\r<BindleRTF>Ready</BindleRTF>"));
    Find f = sel.find();
    f.setText(QStringLiteral("</BindleRTF>"));
    f.setWrap(kFindContinue);
    sel.homeKey(Unit::Story);
    ASSERT_TRUE(f.execute());
    sel.moveRight(Unit::Character, 1);
    sel.homeKey(Unit::Story, MoveMode::Extend);
    sel.deleteText(Unit::Character, 1);
    f.setText(QStringLiteral("<BindleRTF>"));
    ASSERT_TRUE(f.execute());
    sel.moveLeft(Unit::Character, 1);
    sel.endKey(Unit::Story, MoveMode::Extend);
    sel.deleteText(Unit::Character, 1);
    EXPECT_EQ(doc->content().text(), QStringLiteral("\r\rbody\r\r"));
}

TEST_F(SelectionTest, ParagraphsAndWords) {
    sel.typeText(QStringLiteral("<!-- a -->\rzwei\rdrei"));
    EXPECT_EQ(doc->paragraphCount(), 3);
    EXPECT_EQ(doc->paragraphs(2).start(), 11);
    EXPECT_EQ(doc->paragraphs(2).end(), 16);
    EXPECT_EQ(doc->words(1).text(), QStringLiteral("<"));
    sel.setRange(0, 0);
    doc->range(doc->paragraphs(1).start(), doc->paragraphs(2).end()).select();
    sel.moveLeft(Unit::Character, 1, MoveMode::Extend);
    EXPECT_EQ(sel.text(), QStringLiteral("<!-- a -->\rzwei"));
}

TEST_F(SelectionTest, DocumentsByNameAndClose) {
    Document *second = app.documents().add();
    EXPECT_EQ(app.documents().item(QStringLiteral("dokument2")), second);
    second->close();
    EXPECT_EQ(app.documents().count(), 1);
    EXPECT_EQ(app.activeDocument(), doc);
}

}  // namespace
