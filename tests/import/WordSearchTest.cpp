#include "import/WordSearch.h"

#include "office/doc/Application.h"
#include "office/doc/Document.h"

#include <gtest/gtest.h>

using namespace celltrove::importing;
using office::doc::Application;

namespace {

office::doc::Document *documentWith(Application &word, const QString &text) {
    office::doc::Document *doc = word.documents().add();
    doc->selection().insertAfter(text);
    return doc;
}

}  // namespace

TEST(WordSearch, FindPlainWrapsToTextBeforeTheSelection) {
    Application word;
    office::doc::Document *doc = documentWith(word, QStringLiteral("<!-- a\rtext\r"));
    doc->selection().setRange(8, 8);
    ASSERT_TRUE(FindPlain(word, QStringLiteral("<!-- ")));
    EXPECT_EQ(doc->selection().start(), 0);
    EXPECT_EQ(doc->selection().end(), 5);
}

// Each helper writes its own options; the others stay as the last search left them.
TEST(WordSearch, OptionsPersistFromOneSearchToTheNext) {
    Application word;
    office::doc::Document *doc = documentWith(word, QStringLiteral("a\vb\vc"));
    office::doc::FindSettings &options = word.findSettings();
    options.matchCase = true;
    options.matchWildcards = true;

    EXPECT_TRUE(ReplaceAllRed(word, QString(QChar(11)), QStringLiteral("\r")));
    EXPECT_EQ(doc->content().text(), QStringLiteral("a\rb\rc\r"));
    EXPECT_TRUE(options.format);
    EXPECT_FALSE(options.matchCase);
    EXPECT_FALSE(options.matchWildcards);
    EXPECT_EQ(options.replacementColor, 255);

    options.matchCase = true;
    EXPECT_FALSE(FindAnywhere(word, QStringLiteral("B")));  // case kept from before
    EXPECT_TRUE(options.format);
    EXPECT_TRUE(FindPlain(word, QStringLiteral("B")));  // FindPlain clears the match options
    EXPECT_FALSE(options.matchCase);
    EXPECT_FALSE(options.format);
    EXPECT_TRUE(FindAnywhere(word, QStringLiteral("c")));
    EXPECT_EQ(doc->selection().text(), QStringLiteral("c"));
}

// The table form's helpers on a header and a pasted table.
TEST(WordSearch, TableHelpersTagLineBreaksAndEmptyBlankCellsInTheFirstTableOnly) {
    office::CellGridClipboard clipboard;
    Application word(&clipboard);
    office::doc::Document *doc = word.documents().add();
    doc->styles().add(QStringLiteral("tw4winInternal"), office::doc::StyleType::Character);
    doc->selection().typeText(QStringLiteral("kopf \x0b zeile\r\r"));
    clipboard.setGrid({{QStringLiteral(" "), QStringLiteral("\u00A0"), QStringLiteral("  "), QStringLiteral("a\nb")},
                       {QStringLiteral("x"), QString(), QStringLiteral(" y"), QStringLiteral("\u00A0\u00A0")}});
    doc->selection().paste();
    doc->selection().typeText(QStringLiteral("danach \r"));
    // A paragraph inside a cell, as a word processor may hold one.
    const int cell = doc->tables().item(1).cell(2, 1).range().start();
    doc->range(cell + 1, cell + 1).setText(QStringLiteral("\r"));

    EXPECT_TRUE(ReplaceAllAsInternal(word, QString(QChar(11)), QStringLiteral("<<lf>>")));
    EXPECT_TRUE(word.findSettings().matchWildcards);
    ReplaceInFirstTable(*doc, QStringLiteral("\r"), QStringLiteral("<<lf>>"));
    ClearBlankTableCells(*doc);

    EXPECT_EQ(doc->tables().item(1).cellTexts(),
              (QList<QStringList>{{QString(), QString(), QStringLiteral("  "), QStringLiteral("a<<lf>>b")},
                                  {QStringLiteral("x<<lf>>"), QString(), QStringLiteral(" y"), QStringLiteral("\u00A0\u00A0")}}));
    const QString text = doc->content().text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("kopf <<lf>> zeile\r\r"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("danach \r\r")));
    const int tag = int(text.indexOf(QStringLiteral("<<lf>>")));
    EXPECT_EQ(doc->range(tag, tag + 6).characterStyleName(), QStringLiteral("tw4winInternal"));
    const int plainTag = doc->tables().item(1).cell(2, 1).range().start() + 1;
    EXPECT_EQ(doc->range(plainTag, plainTag + 6).text(), QStringLiteral("<<lf>>"));
    EXPECT_EQ(doc->range(plainTag, plainTag + 6).characterStyleName(), QString());
}
