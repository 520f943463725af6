#include "office/doc/StoryCharacters.h"

#include <gtest/gtest.h>

using office::doc::unicodeText;

TEST(StoryCharacters, InternalHyphenCodesBecomeUnicode) {
    const struct {
        QString story, unicode;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("plain text\ttab"), QStringLiteral("plain text\ttab")},
        {QStringLiteral("Sil\x1F" "ben"), QStringLiteral("Sil\u00AD" "ben")},
        {QStringLiteral("A\x1E" "B\x1F"), QStringLiteral("A\u2011B\u00AD")},
        {QStringLiteral("\u00A0\u00AD\u2011"), QStringLiteral("\u00A0\u00AD\u2011")},  // already Unicode
    };
    for (const auto &c : cases) EXPECT_EQ(unicodeText(c.story), c.unicode) << c.story.toStdString();
}
