// Documents made to be large or to claim to be: groups nested 100,000 deep, a \bin
// that claims 2 GB, one long paragraph, a file over the size cap, a table of 10,000
// columns. Each is read in a child under a memory watchdog and a CPU limit, or
// refused with a reason. The 1 GB paragraph is bench/GiantFilesBench.cpp's.

#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include "office/doc/Application.h"
#include "office/doc/DocReader.h"
#include "office/doc/DocWriter.h"
#include "office/doc/Document.h"
#include "office/doc/RtfReader.h"
#include "office/doc/Table.h"
#include "office/doc/TextDump.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>

using namespace office::doc;

namespace {

constexpr std::uint64_t kMiB = 1ull << 20;

// Exit statuses of a child that reads a document.
enum ChildResult { kRead = 0, kRefused = 1, kWrongText = 2 };

// Reads the RTF in the child and hands the document to `check` (true: as expected).
int readRtf(const QByteArray &rtf, const std::function<bool(Document &)> &check) {
    Application app;
    Document *doc = app.documents().add();
    if (!RtfReader::read(rtf, *doc).ok) return kRefused;
    return check(*doc) ? kRead : kWrongText;
}

QByteArray repeated(const char *piece, int times) {
    return QByteArray(piece).repeated(times);
}

// A table of `columns` cells per row, `rows` rows, each cell "rRcC".
QByteArray wideTable(int rows, int columns) {
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int r = 1; r <= rows; ++r) {
        rtf += "\\trowd";
        for (int c = 1; c <= columns; ++c) rtf += "\\cellx" + QByteArray::number(c * 100);
        rtf += ' ';
        for (int c = 1; c <= columns; ++c)
            rtf += "\\intbl r" + QByteArray::number(r) + 'c' + QByteArray::number(c) + "\\cell ";
        rtf += "\\row\n";
    }
    return rtf + "\\pard danach\\par}";
}

bool isWideTable(Document &doc, int rows, int columns) {
    if (doc.tables().count() != 1) return false;
    const Table table = doc.tables().item(1);
    const QList<QStringList> cells = table.cellTexts();
    if (table.rowCount() != rows || cells.size() != rows) return false;
    for (int r = 0; r < rows; ++r) {
        if (cells[r].size() != columns) return false;
        if (cells[r].back() != QStringLiteral("r%1c%2").arg(r + 1).arg(columns)) return false;
    }
    return dumpText(doc).contains(QStringLiteral("danach"));
}

}  // namespace

// Hostile nesting and claimed sizes: read (what lies beyond the depth limit is
// skipped) or refused, in little memory and time.
TEST(RtfResourceBounds, DeepGroupsAndHugeBinaryClaimsAreBounded) {
    struct Case {
        const char *name;
        QByteArray rtf;
        const char *textAfter;  // text read after the hostile part
    };
    const Case cases[] = {
        {"100,000 groups nested and closed",
         "{\\rtf1 vorn " + repeated("{\\b ", 100000) + "tief" + repeated("}", 100000) + " hinten\\par}", "hinten"},
        {"100,000 groups never closed", "{\\rtf1 vorn\\par " + repeated("{", 100000) + "tief", "vorn"},
        {"100,000 destinations nested",
         "{\\rtf1 vorn " + repeated("{\\*\\x ", 100000) + repeated("}", 100000) + " hinten\\par}", "hinten"},
        {"\\bin of 2 GB claimed", "{\\rtf1 vorn {\\bin2147483648 abc} hinten\\par}", "vorn"},
        {"\\bin of more than a 64-bit number", "{\\rtf1 vorn {\\bin99999999999999999999999 abc} hinten\\par}", "vorn"},
        {"\\bin negative", "{\\rtf1 vorn {\\bin-2147483648 abc} hinten\\par}", "hinten"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const testsupport::BoundedRun r = testsupport::runWithinMemory(
            [&] {
                return readRtf(c.rtf,
                               [&](Document &doc) { return dumpText(doc).contains(QString::fromLatin1(c.textAfter)); });
            },
            64 * kMiB, 60);
        EXPECT_FALSE(r.overMemory) << r.peakGrowthBytes / kMiB << " MiB";
        EXPECT_EQ(r.status, kRead);
    }
}

// One paragraph of 24 MB: read whole, in a bounded number of bytes per byte of the
// file (the story keeps 8 bytes per character: the text and two format numbers).
TEST(RtfResourceBounds, OneLongParagraphTakesBoundedMemoryPerByte) {
    constexpr int kChars = 24 << 20;
    QByteArray rtf = "{\\rtf1\\ansi ";
    rtf += QByteArray("Ein langer Absatz ohne Ende ").repeated(kChars / 28);
    rtf += "}";
    const testsupport::BoundedRun r = testsupport::runWithinMemory(
        [&] {
            return readRtf(rtf, [&](Document &doc) {
                // The text and its final paragraph mark.
                return doc.story().length() == kChars / 28 * 28 + 1;
            });
        },
        64 * kMiB + 12 * std::uint64_t(rtf.size()), 120);
    EXPECT_FALSE(r.overMemory) << r.peakGrowthBytes / kMiB << " MiB";
    EXPECT_EQ(r.status, kRead);
    const double perByte = double(r.peakGrowthBytes) / double(rtf.size());
    std::cout << rtf.size() / kMiB << " MiB paragraph: " << r.peakGrowthBytes / kMiB << " MiB peak, " << perByte
              << " bytes per byte\n";
    // 8 for the story, the rest the sanitizer's and the allocator's (10.7 measured with ASan).
    EXPECT_LE(perByte, 12.0);
}

// A file over the size cap is refused before it is read: here a sparse file of 1 GB.
TEST(RtfResourceBounds, FileOverTheSizeCapIsRefusedUnread) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("riesig.rtf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 ");
    ASSERT_TRUE(file.resize(qint64(1) << 30));
    file.close();
    const testsupport::BoundedRun r = testsupport::runWithinMemory(
        [&] {
            Application app;
            Document *doc = app.documents().add();
            const office::Status st = RtfReader::readFile(path, *doc);
            return !st.ok && st.message.contains(QStringLiteral("larger than")) ? int(kRefused) : int(kRead);
        },
        16 * kMiB, 30);
    EXPECT_FALSE(r.overMemory) << r.peakGrowthBytes / kMiB << " MiB";
    EXPECT_EQ(r.status, kRefused);
}

// A table of 10,000 columns: read whole from RTF, written as .doc (whose row
// definition holds 63 columns at most, as Word's) and read back with every cell.
TEST(RtfResourceBounds, TableOfTenThousandColumns) {
    constexpr int kRows = 3, kColumns = 10000;
    const QByteArray rtf = wideTable(kRows, kColumns);
    const testsupport::BoundedRun r = testsupport::runWithinMemory(
        [&] {
            Application app;
            Document *doc = app.documents().add();
            if (!RtfReader::read(rtf, *doc).ok) return int(kRefused);
            if (!isWideTable(*doc, kRows, kColumns)) return int(kWrongText);
            QByteArray bytes;
            if (!DocWriter(*doc).write(bytes).ok) return 10 + int(kRefused);
            Document again(&app, QString());
            if (!DocReader::read(bytes, again).ok) return 20 + int(kRefused);
            return isWideTable(again, kRows, kColumns) ? int(kRead) : 20 + int(kWrongText);
        },
        128 * kMiB, 120);
    EXPECT_FALSE(r.overMemory) << r.peakGrowthBytes / kMiB << " MiB";
    EXPECT_EQ(r.status, kRead) << "RTF 1/2, .doc writer 11, .doc reader 21/22";
}

// A long run of text goes to the story in parts: in a double-byte code page no
// character is cut in two where a part ends, whatever the run's length.
TEST(RtfResourceBounds, LongRunInADoubleByteCodePageKeepsEveryCharacter) {
    // "あい" (Shift-JIS 82 A0 82 A2) and a blank, the blank at every odd and even offset in turn.
    QByteArray text;
    QString expected;
    for (int i = 0; text.size() < (3 << 20); ++i) {
        text += i % 2 ? QByteArray("\x82\xa0\x82\xa2 ") : QByteArray("\x82\xa0\x82\xa2\x82\xa0 ");
        expected += i % 2 ? QStringLiteral("あい ") : QStringLiteral("あいあ ");
    }
    Application app;
    Document *doc = app.documents().add();
    ASSERT_TRUE(RtfReader::read("{\\rtf1\\ansi\\ansicpg932 " + text + "\\par}", *doc).ok);
    EXPECT_TRUE(doc->story().text(0, doc->story().length() - 1) == expected);
}
