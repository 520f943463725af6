#include "import/FindInFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using celltrove::importing::FindInFile;

namespace {

QByteArray filler(qsizetype size) { return QByteArray(size, 'x'); }

}  // namespace

TEST(FindInFile, FindsTextsAcrossBlockBoundariesAndFromAStartPosition) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.rtf"));
    // "<BindleRTF>" straddles the first 4096-byte boundary; "<!-- Bindle-Fn:"
    // ends exactly at the end of the second block; "tail" ends the file.
    QByteArray bytes = filler(4090) + "<BindleRTF>";
    bytes += filler(8192 - bytes.size() - 15) + "<!-- Bindle-Fn:" + filler(100) + "tail";
    ASSERT_TRUE(testsupport::writeFile(path, bytes));

    struct Case {
        const char *text;
        qint64 start;
        qint64 expected;
    };
    const Case cases[] = {
        {"<BindleRTF>", 1, 4091},
        {"<!-- Bindle-Fn:", 1, 8192 - 15 + 1},
        {"tail", 1, bytes.size() - 3},
        {"x", 1, 1},
        {"<BindleRTF>", 4091, 4091},
        {"<BindleRTF>", 4092, 0},
        {"<!-- Bindle-Fn:", 5000, 8192 - 15 + 1},
        {"absent", 1, 0},
        {"tail", bytes.size() + 10, 0},
        {"", 1, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.start));
        EXPECT_EQ(FindInFile(path, QString::fromLatin1(c.text), c.start), c.expected);
    }
}

TEST(FindInFile, MissingFileGivesZero) {
    QTemporaryDir dir;
    EXPECT_EQ(FindInFile(dir.filePath(QStringLiteral("none.rtf")), QStringLiteral("<BindleRTF>")), 0);
    EXPECT_EQ(FindInFile(dir.path(), QStringLiteral("<BindleRTF>")), 0);
}

// One reading finds each text, also across the block boundary, where the shorter
// text must not fall into the overlap kept for the longer one.
TEST(FindInFile, FileContainsFlagsEachTextInOneReading) {
    using celltrove::importing::FileContains;
    using celltrove::importing::kFindInFileBlock;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.rtf"));
    QByteArray bytes = filler(kFindInFileBlock - 5) + "<BindleRTF>" + filler(kFindInFileBlock - 10) + "<!-- Bindle-Fn:";
    ASSERT_TRUE(testsupport::writeFile(path, bytes));
    const QStringList texts{QStringLiteral("<!-- Bindle-Fn:"), QStringLiteral("<BindleRTF>"),
                            QStringLiteral("absent"), QString()};
    EXPECT_EQ(FileContains(path, texts), (QList<bool>{true, true, false, false}));
    EXPECT_EQ(FileContains(path, {QStringLiteral("x"), QStringLiteral("<BindleRTF>")}), (QList<bool>{true, true}));
    EXPECT_EQ(FileContains(dir.filePath(QStringLiteral("none.rtf")), texts), (QList<bool>{false, false, false, false}));
}
