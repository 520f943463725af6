// The string pool keeps Latin-1 texts one byte a character and others as UTF-16,
// beside strings left in the workbook stream: every form must read back, compare
// and hash alike, since the save matches new texts against the SST by hash.

#include "office/sheet/StringPool.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace office::sheet;

namespace {

// A BIFF8 string as the SST stores it: count, flags, then the characters.
QByteArray biffString(const QString &text, bool wide) {
    QByteArray bytes;
    bytes.append(char(text.size() & 0xFF)).append(char(text.size() >> 8)).append(char(wide ? 1 : 0));
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        if (wide) bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

}  // namespace

TEST(StringPool, EveryFormReadsComparesAndHashesAlike) {
    const std::vector<QString> texts = {
        QString(), QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("Zeile 1 Colonna 1 Text"),
        QStringLiteral("Übersetzung ÿ\u00AD"), QStringLiteral("€ 5"), QStringLiteral("小 売 業"),
        QStringLiteral("x\u0100"),  // the first character past Latin-1, last
    };
    StringPool pool;
    QByteArray stream;
    std::vector<std::uint32_t> inPool, again;
    std::vector<qint64> narrowAt, wideAt;
    for (const QString &text : texts) {
        const bool latin1 = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
        narrowAt.push_back(latin1 ? stream.size() : -1);
        if (latin1) stream.append(biffString(text, false));
        wideAt.push_back(stream.size());
        stream.append(biffString(text, true));
    }
    pool.setStream(stream);
    for (const QString &text : texts) inPool.push_back(pool.add(text));
    for (const QString &text : texts) again.push_back(pool.add(text));

    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i].toStdString());
        std::vector<std::uint32_t> forms = {inPool[i], again[i], pool.addStreamString(wideAt[i])};
        if (narrowAt[i] >= 0) forms.push_back(pool.addStreamString(narrowAt[i]));
        for (const std::uint32_t form : forms) {
            EXPECT_EQ(pool.at(form), texts[i]);
            EXPECT_TRUE(pool.equal(form, texts[i]));
            EXPECT_TRUE(pool.equal(form, inPool[i]));
            EXPECT_EQ(pool.hashAt(form), pool.hashAt(inPool[i]));
            EXPECT_EQ(pool.charsAt(form).count, texts[i].size());
        }
        for (std::size_t j = 0; j < texts.size(); ++j) {
            if (j == i) continue;
            EXPECT_FALSE(pool.equal(inPool[i], inPool[j])) << texts[j].toStdString();
        }
    }
}
