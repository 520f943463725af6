#include "office/doc/Story.h"

#include <gtest/gtest.h>

using office::doc::Story;

namespace {

// A story of n characters read the way the RTF reader fills one: room reserved
// far beyond the text, then given back. Every tenth character is a cell mark.
Story filledStory(int n, int reserved) {
    Story story;
    story.reserve(reserved);
    for (int i = 0; i < n; ++i) {
        const char16_t c = i % 10 == 9 ? char16_t(office::doc::kCellMark) : char16_t(u'a' + i % 26);
        story.insert(story.length(), QStringView(&c, 1), quint32(i), quint32(i % 7));
    }
    story.shrinkToFit();
    return story;
}

}  // namespace

// Sizes on both sides of the point where the store changes from the heap to
// mapped pages (1 MiB of formats is 262,144 characters).
TEST(StoryStore, ReadIntoReservedRoomThenTakenOverKeepsEveryCharacterAndFormat) {
    const struct {
        int length, reserved;
    } cases[] = {{0, 100}, {5, 100}, {1000, 400000}, {300000, 2000000}, {300000, 300000}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        Story read = filledStory(c.length, c.reserved);
        Story target;
        target.insert(0, u"old text\r", 3, 1);
        const quint64 oldRevision = target.revision();
        target.markClean();
        target.replaceWith(std::move(read));

        ASSERT_EQ(target.length(), c.length);
        EXPECT_EQ(read.length(), 0);
        EXPECT_GT(target.revision(), oldRevision);
        EXPECT_EQ(target.lowestChange(), 0);
        EXPECT_EQ(target.cellMarkCount(), c.length / 10);
        for (int i = 0; i < c.length; i += 997) {
            EXPECT_EQ(target.charFormatAt(i), quint32(i));
            EXPECT_EQ(target.paraFormatAt(i), i % 7);
        }
        // Edits at both ends after the room was given back.
        if (c.length < 3) continue;
        target.remove(0, 2);
        target.insert(target.length(), u"zz", 1, 0);
        EXPECT_EQ(target.length(), c.length);
        EXPECT_EQ(target.charFormatAt(0), 2u);
        EXPECT_EQ(target.text(target.length() - 3, target.length()),
                  QString(QChar(c.length % 10 == 0 ? char16_t(office::doc::kCellMark)
                                                   : char16_t(u'a' + (c.length - 1) % 26))) +
                      QStringLiteral("zz"));
    }
}
