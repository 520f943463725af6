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
