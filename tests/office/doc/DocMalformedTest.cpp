// Damaged and hostile .doc files end with a reason, never a crash, a hang or an
// allocation the file's size does not justify.
#include "DocSamples.h"
#include "support/TestSupport.h"

#include "office/doc/DocFib.h"
#include "office/doc/DocReader.h"
#include "office/doc/DocWriter.h"
#include "office/ole/CompoundFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

using namespace office::doc;
using office::ole::CompoundFile;

namespace {

// A small document with a tagged paragraph and a table, as our writer stores it.
QByteArray smallDoc() {
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    Document *doc = doctest::tableDocument(
        app, {{QStringLiteral("a"), QStringLiteral("Köln")}, {QStringLiteral("\u65E5"), QString()}});
    QByteArray bytes;
    EXPECT_TRUE(DocWriter(*doc).write(bytes).ok);
    return bytes;
}

// The file with one stream changed.
QByteArray withStream(const QByteArray &file, const QString &name, const std::function<void(QByteArray &)> &edit) {
    CompoundFile cf;
    EXPECT_TRUE(CompoundFile::readBytes(file, cf).ok);
    QByteArray stream = cf.find(name)->data;
    edit(stream);
    cf.setStream(name, stream);
    QByteArray out;
    EXPECT_TRUE(cf.writeBytes(out).ok);
    return out;
}

void put32(QByteArray &b, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}
quint32 get32(const QByteArray &b, qsizetype at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | quint8(b[at + i]);
    return v;
}
// Offset in the WordDocument stream of an fc/lcb pair of the FIB.
qsizetype pairAt(int pair) {
    return 154 + 8 * pair;
}

// Read from memory and from a file, which leaves the WordDocument stream on disk:
// both must end the same way.
office::Status readBytes(const QByteArray &bytes) {
    Application app;
    Document doc(&app, QString()), fromDisk(&app, QString());
    const office::Status inMemory = DocReader::read(bytes, doc);
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("damaged.doc"));
    EXPECT_TRUE(testsupport::writeFile(path, bytes));
    const office::Status onDisk = DocReader::readFile(path, fromDisk);
    EXPECT_EQ(onDisk.ok, inMemory.ok) << inMemory.message.toStdString();
    EXPECT_EQ(onDisk.message, inMemory.message);
    EXPECT_EQ(onDisk.offset, inMemory.offset) << inMemory.message.toStdString();
    return inMemory;
}

TEST(DocMalformed, DamagedStructuresAreRefusedWithAReasonAndOffset) {
    const QByteArray good = smallDoc();
    ASSERT_TRUE(readBytes(good).ok);
    const QString word = QStringLiteral("WordDocument");
    const QString table = QStringLiteral("1Table");
    struct Case {
        const char *what;
        QString stream;
        std::function<void(QByteArray &)> edit;
        const char *reason;  // a part of the message
    };
    const Case cases[] = {
        {"not a Word signature", word, [](QByteArray &b) { b[0] = 'x'; }, "signature"},
        {"Word 95", word,
         [](QByteArray &b) {
             b[2] = char(0x68);
             b[3] = 0;
         },
         "older than Word 97"},
        {"encrypted", word, [](QByteArray &b) { b[11] = char(quint8(b[11]) | 0x01); }, "encrypted"},
        {"FIB cut short", word, [](QByteArray &b) { b.truncate(200); }, "cut short"},
        {"text longer than the pieces", word, [](QByteArray &b) { put32(b, 64 + 12, 0x7FFFFFF0); }, "fewer than"},
        {"piece table outside the table stream", word,
         [](QByteArray &b) { put32(b, pairAt(DocFib::kClx) + 4, 0x7FFFFFFF); }, "outside"},
        {"huge character bin table", word,
         [](QByteArray &b) { put32(b, pairAt(DocFib::kPlcfBteChpx) + 4, 0x40000004); }, "bin table"},
        {"huge style sheet", word, [](QByteArray &b) { put32(b, pairAt(DocFib::kStshf) + 4, 0xFFFFFFF0); },
         "style sheet"},
        {"missing table stream", word, [](QByteArray &b) { b[11] = char(quint8(b[11]) & ~0x02); }, "0Table"},
        {"piece beyond the stream", table,
         [](QByteArray &b) {
             const qsizetype clx = b.lastIndexOf(char(2));  // the Clx is written last
             put32(b, clx + 5 + 8 + 2, 0x00FFFFFF);
         },
         "outside the WordDocument"},
        {"pieces out of order", table,
         [](QByteArray &b) {
             const qsizetype clx = b.lastIndexOf(char(2));
             put32(b, clx + 5, 5);
         },
         "first character"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const office::Status s = readBytes(withStream(good, c.stream, c.edit));
        EXPECT_FALSE(s.ok);
        EXPECT_TRUE(s.message.contains(QLatin1String(c.reason))) << s.message.toStdString();
        EXPECT_GE(s.offset, 0) << s.message.toStdString();
    }
}

TEST(DocMalformed, PropertyPagesPointingOutsideAreRefused) {
    const QByteArray good = smallDoc();
    // The character bin table's first page number, then that page's run count and first offset.
    CompoundFile cf;
    ASSERT_TRUE(CompoundFile::readBytes(good, cf).ok);
    const QByteArray wordStream = cf.find(QStringLiteral("WordDocument"))->data;
    const quint32 bteAt = get32(wordStream, pairAt(DocFib::kPlcfBteChpx));
    const quint32 pn = get32(cf.find(QStringLiteral("1Table"))->data, bteAt + 8);
    const qsizetype page = qsizetype(pn) * 512;
    struct Case {
        const char *what;
        QString stream;
        std::function<void(QByteArray &)> edit;
    };
    const Case cases[] = {
        {"page number beyond the stream", QStringLiteral("1Table"),
         [&](QByteArray &b) { put32(b, bteAt + 8, 0x3FFFFF); }},
        {"run count too large", QStringLiteral("WordDocument"), [&](QByteArray &b) { b[page + 511] = char(200); }},
        {"runs out of order", QStringLiteral("WordDocument"), [&](QByteArray &b) { put32(b, page + 4, 0xFFFFFFF0); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const office::Status s = readBytes(withStream(good, c.stream, c.edit));
        EXPECT_FALSE(s.ok);
        EXPECT_GE(s.offset, 0);
    }
    // A property offset pointing to the page's last bytes: read or refused, never past the page.
    const office::Status s = readBytes(withStream(good, QStringLiteral("WordDocument"), [&](QByteArray &b) {
        const int runs = quint8(b[page + 511]);
        b[page + 4 * (runs + 1)] = char(255);
        b[page + 510] = char(200);
    }));
    EXPECT_TRUE(s.ok || !s.message.isEmpty());
}

// Every stream cut at every structure boundary and every 64 bytes: each cut is
// read or refused, and a cut of the table stream before its last structure is refused.
TEST(DocMalformed, TruncatedStreamsEndWithAReason) {
    const QByteArray good = smallDoc();
    for (const QString &name : {QStringLiteral("WordDocument"), QStringLiteral("1Table")}) {
        CompoundFile cf;
        ASSERT_TRUE(CompoundFile::readBytes(good, cf).ok);
        const QByteArray stream = cf.find(name)->data;
        QList<qsizetype> cuts;
        for (qsizetype at = 0; at < stream.size(); at += 64) cuts << at;
        const QByteArray wordStream = cf.find(QStringLiteral("WordDocument"))->data;
        for (int pair : {DocFib::kStshf, DocFib::kPlcfSed, DocFib::kPlcfBteChpx, DocFib::kPlcfBtePapx,
                         DocFib::kSttbfFfn, DocFib::kDop, DocFib::kClx}) {
            const quint32 fc = get32(wordStream, pairAt(pair));
            const quint32 lcb = get32(wordStream, pairAt(pair) + 4);
            if (name == QLatin1String("1Table")) cuts << fc << fc + lcb / 2 << fc + lcb - 1;
        }
        for (const qsizetype cut : cuts) {
            if (cut >= stream.size()) continue;
            const office::Status s = readBytes(withStream(good, name, [cut](QByteArray &b) { b.truncate(cut); }));
            EXPECT_TRUE(s.ok || !s.message.isEmpty()) << name.toStdString() << " cut at " << cut;
            if (name == QLatin1String("1Table")) {
                EXPECT_FALSE(s.ok) << "table stream cut at " << cut;
            }
        }
    }
    // The file itself cut at every sector boundary.
    for (qsizetype cut = 0; cut < good.size(); cut += 512) {
        const office::Status s = readBytes(good.left(cut));
        EXPECT_FALSE(s.ok) << "file cut at " << cut;
        EXPECT_FALSE(s.message.isEmpty());
    }
}

}  // namespace
