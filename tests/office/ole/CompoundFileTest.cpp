#include "office/ole/CompoundFile.h"
#include "office/ole/DiskStream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using office::ole::CompoundFile;
using office::ole::Entry;

namespace {

QByteArray patternBytes(int size, int seed) {
    QByteArray b(size, '\0');
    // Each 64 KiB differs from the others, so that stretches in the wrong order show.
    for (int i = 0; i < size; ++i) b[i] = char((i * 31 + (i >> 16) * 7 + seed) & 0xFF);
    return b;
}

CompoundFile sampleFile() {
    CompoundFile file;
    file.rootClassId = {0x20, 0x08, 0x02, 0x00, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    // Small streams live in the mini stream, large ones in big blocks: test both.
    file.entries().push_back({QStringLiteral("Workbook"), false, patternBytes(9000, 1), {}});
    file.entries().push_back({QStringLiteral("\x05SummaryInformation"), false, patternBytes(200, 2), {}});
    Entry storage{QStringLiteral("_VBA_PROJECT_CUR"), true, {}, {}};
    storage.classId[0] = 0x42;
    file.entries().push_back(storage);
    file.entries().push_back({QStringLiteral("_VBA_PROJECT_CUR/PROJECT"), false, patternBytes(4095, 3), {}});
    file.entries().push_back({QStringLiteral("_VBA_PROJECT_CUR/VBA"), true, {}, {}});
    file.entries().push_back({QStringLiteral("_VBA_PROJECT_CUR/VBA/dir"), false, patternBytes(4096, 4), {}});
    file.entries().push_back({QStringLiteral("Empty"), false, {}, {}});
    return file;
}

}  // namespace

TEST(CompoundFile, WrittenFileReadsBackByteForByte) {
    const CompoundFile original = sampleFile();
    QByteArray image;
    ASSERT_TRUE(original.writeBytes(image).ok);
    ASSERT_TRUE(office::ole::hasOle2Signature(image));

    CompoundFile back;
    const office::Status st = CompoundFile::readBytes(image, back);
    ASSERT_TRUE(st.ok) << st.message.toStdString();
    EXPECT_EQ(back.rootClassId, original.rootClassId);
    for (const Entry &e : original.entries()) {
        const Entry *r = back.find(e.path);
        ASSERT_NE(r, nullptr) << e.path.toStdString();
        EXPECT_EQ(r->isStorage, e.isStorage) << e.path.toStdString();
        EXPECT_EQ(r->data, e.data) << e.path.toStdString();
        if (e.isStorage) {
            EXPECT_EQ(r->classId, e.classId) << e.path.toStdString();
        }
    }
    EXPECT_EQ(back.entries().size(), original.entries().size());
}

// A stream given in pieces is written as the pieces joined: below and above the
// mini stream's threshold, across it, with empty pieces, and over an entry's data.
TEST(CompoundFile, StreamFromPiecesReadsBackJoined) {
    // The last case's first piece goes to the sink in several stretches.
    const std::vector<std::vector<int>> cases = {
        {3000, 0, 6000}, {100, 200}, {4095, 1}, {0}, {70000, 1, 4096}, {(9 << 20) + 123, 5}};
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int seed = 10;
    for (const std::vector<int> &sizes : cases) {
        CompoundFile file = sampleFile();
        std::vector<QByteArray> pieces;
        QByteArray joined;
        for (const int size : sizes) {
            pieces.push_back(patternBytes(size, ++seed));
            joined += pieces.back();
        }
        file.setStream(QStringLiteral("Workbook"), pieces);  // replaces the sample's data
        file.setStream(QStringLiteral("Added"), pieces);
        // Written into memory, and into a file through its descriptor (which has
        // the disk start on each stretch as it passes).
        QByteArray image;
        ASSERT_TRUE(file.writeBytes(image).ok);
        CompoundFile fromMemory, fromDisk;
        ASSERT_TRUE(CompoundFile::readBytes(image, fromMemory).ok);
        const QString path = dir.filePath(QStringLiteral("pieces.xls"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_TRUE(file.writeToDescriptor(out.handle()).ok);
        out.close();
        ASSERT_TRUE(CompoundFile::read(path, fromDisk).ok);
        for (const CompoundFile *back : {&fromMemory, &fromDisk}) {
            for (const QString &name : {QStringLiteral("Workbook"), QStringLiteral("Added")}) {
                const Entry *entry = back->find(name);
                ASSERT_NE(entry, nullptr);
                EXPECT_EQ(entry->data, joined) << name.toStdString() << " from " << sizes.size() << " pieces";
            }
            EXPECT_EQ(back->find(QStringLiteral("_VBA_PROJECT_CUR/VBA/dir"))->data, patternBytes(4096, 4));
        }
    }
}

TEST(CompoundFile, RefusesWhatIsNotACompoundFile) {
    const QByteArray image = [] {
        QByteArray b;
        sampleFile().writeBytes(b);
        return b;
    }();
    struct Case {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("Name;Wert\r\n1;2\r\n")},
        {"signature only", image.left(8)},
        {"header only", image.left(512)},
        {"half a file", image.left(image.size() / 2)},
    };
    for (const Case &c : cases) {
        CompoundFile out;
        const office::Status st = CompoundFile::readBytes(c.bytes, out);
        EXPECT_FALSE(st.ok) << c.name;
        EXPECT_FALSE(st.message.isEmpty()) << c.name;
    }
}

TEST(CompoundFile, MissingFileIsAnError) {
    CompoundFile out;
    const office::Status st = CompoundFile::read(QStringLiteral("/nonexistent/none.xls"), out);
    EXPECT_FALSE(st.ok);
}

// Every corpus workbook and document either opens as a compound file or is refused;
// those that open keep every stream through a write and a second read.
TEST(CompoundFile, CorpusFilesRoundTrip) {
    REQUIRE_CORPUS();
    int opened = 0;
    for (const QString &sub : {QStringLiteral("xls"), QStringLiteral("doc")}) {
        const QDir dir(testsupport::corpusDir() + QLatin1Char('/') + sub);
        for (const QString &name : dir.entryList(QDir::Files)) {
            CompoundFile file;
            if (!CompoundFile::readBytes(testsupport::readFile(dir.filePath(name)), file).ok) continue;
            ++opened;
            QByteArray image;
            ASSERT_TRUE(file.writeBytes(image).ok) << name.toStdString();
            CompoundFile back;
            ASSERT_TRUE(CompoundFile::readBytes(image, back).ok) << name.toStdString();
            ASSERT_EQ(back.entries().size(), file.entries().size()) << name.toStdString();
            for (size_t i = 0; i < file.entries().size(); ++i) {
                EXPECT_EQ(back.entries()[i].path, file.entries()[i].path) << name.toStdString();
                EXPECT_EQ(back.entries()[i].data, file.entries()[i].data) << name.toStdString();
            }
        }
    }
    EXPECT_GT(opened, 50);
}

// A workbook written by LibreOffice is a compound file with a Workbook stream
// that starts with a BIFF8 BOF record.
TEST(CompoundFile, ReadsWorkbookWrittenByLibreOffice) {
    REQUIRE_PROGRAM("soffice");
    QTemporaryDir tmp;
    ASSERT_TRUE(testsupport::writeFile(tmp.filePath(QStringLiteral("in.csv")), "a,b\n1,2\n"));
    const auto r = testsupport::runProgram(
        QStringLiteral("soffice"),
        {QStringLiteral("-env:UserInstallation=file://") + tmp.filePath(QStringLiteral("profile")),
         QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("xls:MS Excel 97"),
         QStringLiteral("--outdir"), tmp.path(), tmp.filePath(QStringLiteral("in.csv"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    CompoundFile file;
    ASSERT_TRUE(CompoundFile::read(tmp.filePath(QStringLiteral("in.xls")), file).ok);
    const Entry *wb = file.find(QStringLiteral("Workbook"));
    ASSERT_NE(wb, nullptr);
    ASSERT_GE(wb->data.size(), 8);
    EXPECT_EQ(quint8(wb->data[0]), 0x09);  // BOF
    EXPECT_EQ(quint8(wb->data[1]), 0x08);
    EXPECT_EQ(quint8(wb->data[4]), 0x00);  // BIFF8 version 0x0600
    EXPECT_EQ(quint8(wb->data[5]), 0x06);
}

// Our container around a real Workbook stream opens in xlrd with the same sheets.
TEST(CompoundFile, RewrittenWorkbookOpensInXlrd) {
    REQUIRE_CORPUS();
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) GTEST_SKIP() << "no python3";
    const QString source = testsupport::corpusFile(QStringLiteral("xls/cal_any_sheets.xls"));
    CompoundFile file;
    ASSERT_TRUE(CompoundFile::read(source, file).ok);
    QByteArray image;
    ASSERT_TRUE(file.writeBytes(image).ok);
    QTemporaryDir tmp;
    const QString copy = tmp.filePath(QStringLiteral("copy.xls"));
    ASSERT_TRUE(testsupport::writeFile(copy, image));
    const QString script = QStringLiteral("import sys, xlrd\nprint(xlrd.open_workbook(sys.argv[1]).sheet_names())");
    const auto a = testsupport::runProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, source});
    if (a.err.contains("No module named 'xlrd'")) GTEST_SKIP() << "python3-xlrd not installed";
    ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
    const auto b = testsupport::runProgram(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, copy});
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
    EXPECT_EQ(a.out, b.out);
}

// A stream left on disk reads at any offset what the whole read holds, leaves its
// entry empty, and refuses ranges outside it; the other streams are read whole.
TEST(CompoundFile, StreamLeftOnDiskReadsAtOffsets) {
    const CompoundFile original = sampleFile();
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("lazy.xls"));
    ASSERT_TRUE(original.writeFile(path).ok);
    for (const QString &name : {QStringLiteral("workbook"), QStringLiteral("_VBA_PROJECT_CUR/PROJECT")}) {
        SCOPED_TRACE(name.toStdString());
        CompoundFile file;
        office::ole::DiskStream stream;
        ASSERT_TRUE(CompoundFile::read(path, file, name, stream).ok);
        ASSERT_TRUE(stream.isOpen());
        const QByteArray whole = original.find(name)->data;
        EXPECT_TRUE(file.find(name)->data.isEmpty());
        EXPECT_EQ(file.find(QStringLiteral("_VBA_PROJECT_CUR/VBA/dir"))->data, patternBytes(4096, 4));
        ASSERT_EQ(stream.size(), whole.size());
        struct Range {
            qint64 offset, n;
            bool ok;
        };
        for (const Range r : {Range{0, whole.size(), true}, Range{500, 600, true}, Range{whole.size() - 1, 1, true},
                              Range{whole.size(), 0, true}, Range{whole.size() - 1, 2, false}, Range{-1, 1, false},
                              Range{whole.size() + 1, 0, false}}) {
            QByteArray into(qsizetype(std::max<qint64>(r.n, 0)), '\0');
            EXPECT_EQ(stream.read(r.offset, r.n, into.data()), r.ok) << r.offset << "+" << r.n;
            if (r.ok) {
                EXPECT_EQ(into, whole.mid(r.offset, r.n));
            }
        }
    }
    CompoundFile file;
    office::ole::DiskStream stream;
    ASSERT_TRUE(CompoundFile::read(path, file, QStringLiteral("Missing"), stream).ok);
    EXPECT_FALSE(stream.isOpen());
    EXPECT_EQ(file.entries().size(), original.entries().size());
}

// A file cut short is refused whether a stream is left on disk or not.
TEST(CompoundFile, TruncatedStreamLeftOnDiskIsRefused) {
    QByteArray image;
    ASSERT_TRUE(sampleFile().writeBytes(image).ok);
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("cut.xls"));
    ASSERT_TRUE(testsupport::writeFile(path, image.left(image.size() - 4096)));
    CompoundFile whole;
    const office::Status wholeRead = CompoundFile::read(path, whole);
    CompoundFile file;
    office::ole::DiskStream stream;
    const office::Status lazyRead = CompoundFile::read(path, file, QStringLiteral("Workbook"), stream);
    EXPECT_FALSE(wholeRead.ok);
    EXPECT_FALSE(lazyRead.ok);
    EXPECT_FALSE(stream.isOpen());
}
