#include "DocTestHelpers.h"

#include "office/doc/Application.h"
#include "office/doc/RtfReader.h"
#include "office/doc/RtfWriter.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

QByteArray rtfOf(const Document &doc) { return RtfWriter(doc).write(nullptr); }

TEST(RtfText, EscapesAsWordDoes) {
    struct Case {
        QString text;
        QByteArray rtf;
    };
    const Case cases[] = {
        {QStringLiteral("a\\b{c}"), "a\\\\b\\{c\\}"},
        {QStringLiteral("für €"), "f\\'fcr \\'80"},
        {QStringLiteral("\u0416\u65E5"), "\\u1046?\\u26085?"},
        {QStringLiteral("\uFFFD"), "\\u-3?"},
        {QStringLiteral("x\x0by\tz"), "x\\line y\\tab z"},
        {QStringLiteral("\u00A0"), "\\~"},
        // Longer than the stretch the writer asks room for at a time.
        {QString(70000, u'a') + QStringLiteral("{b"), QByteArray(70000, 'a') + "\\{b"},
    };
    for (const Case &c : cases) {
        RtfBuffer out;
        appendRtfText(out, c.text);
        EXPECT_EQ(out.take(), c.rtf) << c.text.toStdString();
    }
}

namespace {

// Takes bytes until its capacity is used up, then refuses the rest.
class FillingDevice : public QIODevice {
public:
    explicit FillingDevice(qint64 capacity) : m_capacity(capacity) { open(QIODevice::WriteOnly); }
    QByteArray bytes;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        const qint64 taken = std::min(size, m_capacity - qint64(bytes.size()));
        if (taken <= 0) return -1;
        bytes.append(data, taken);
        return taken;
    }

private:
    qint64 m_capacity;
};

}  // namespace

// Written to a device chunk by chunk, a document gives the same bytes and the same
// append mark as written whole; a device that fills up is reported.
TEST(RtfWriter, WritingToADeviceGivesTheSameFile) {
    Application app;
    Document *doc = app.documents().add();
    doctest::addTaggedStyles(*doc);
    for (int row = 1; row <= 6000; ++row) doctest::typeCellBlock(doc->selection(), row, 1, QStringLiteral("Zelle {ä}"));
    RtfSaveMark whole;
    const QByteArray expected = RtfWriter(*doc).write(&whole);
    ASSERT_GT(expected.size(), 3 * (256 << 10));  // several chunks

    FillingDevice device(expected.size());
    RtfSaveMark streamed;
    EXPECT_TRUE(RtfWriter(*doc).write(device, &streamed));
    EXPECT_EQ(device.bytes, expected);
    EXPECT_EQ(streamed.bodyEnd, whole.bodyEnd);

    FillingDevice full(expected.size() / 2);
    EXPECT_FALSE(RtfWriter(*doc).write(full, nullptr));
}

TEST(RtfWriter, TaggedDocumentHasWordsTablesAndStyles) {
    Application app;
    Document *doc = app.documents().add();
    doctest::addTaggedStyles(*doc);
    doctest::typeCellBlock(doc->selection(), 1, 1, QStringLiteral("Grüße"));
    const QByteArray rtf = rtfOf(*doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_TRUE(rtf.contains("Courier New;}"));
    EXPECT_TRUE(rtf.contains("\\red128\\green128\\blue128;\\red192\\green192\\blue192;}"));
    // Palette order: \cf15 is grey 50 %, \cf6 red.
    EXPECT_TRUE(rtf.contains("{\\*\\cs2 \\additive \\f1\\cf15\\lang1024\\langfe1024\\noproof \\sbasedon1 tw4winExternal;}"));
    EXPECT_TRUE(rtf.contains("{\\*\\cs3 \\additive \\f1\\cf6\\lang1024\\langfe1024\\noproof \\sbasedon1 tw4winInternal;}"));
    EXPECT_TRUE(rtf.contains("{\\cs2\\f1\\cf15\\lang1024\\langfe1024\\noproof <!-- CellID: 1,1-->\\par }"));
    EXPECT_TRUE(rtf.contains("\r\n\\pard\\plain Gr\\'fc\\'dfe\\par \r\n"));
    EXPECT_TRUE(rtf.endsWith("}\r\n"));
}

TEST(RtfWriter, RoundTripKeepsTextStylesAndTables) {
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    Document *doc = app.documents().add();
    doctest::addTaggedStyles(*doc);
    Selection &sel = doc->selection();
    doctest::typeCellBlock(sel, 2, 7, QStringLiteral("Ελληνικά \\ {x}\nzweite"));
    clipboard.setGrid({{QStringLiteral("a"), QStringLiteral("b\nc")}, {QStringLiteral("d")}});
    sel.paste();
    sel.typeText(QStringLiteral("after"));
    doc->tables().item(1).autoFitBehavior(1);

    Document back(&app, QString());
    ASSERT_TRUE(RtfReader::read(rtfOf(*doc), back).ok);
    EXPECT_EQ(back.content().text(), doc->content().text());
    EXPECT_EQ(back.range(0, 1).characterStyleName(), QStringLiteral("tw4winExternal"));
    const Style *ext = back.styles().item(QStringLiteral("tw4winExternal"));
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(ext->font().name(), QStringLiteral("Courier New"));
    EXPECT_EQ(ext->font().colorIndex(), 15);
    EXPECT_EQ(ext->languageId(), 1024);
    EXPECT_EQ(back.styles().item(QStringLiteral("tw4winInternal"))->font().colorIndex(), 6);
    // The run carries only the style: its formatting is not doubled as direct formatting.
    CharFormat styleOnly;
    styleOnly.style = back.styles().indexOf(QStringLiteral("tw4winExternal"));
    EXPECT_EQ(back.charFormats().at(back.story().charFormatAt(0)), styleOnly);
    ASSERT_EQ(back.tables().count(), 1);
    EXPECT_EQ(back.tables().item(1).cellTexts(),
              (QList<QStringList>{{QStringLiteral("a"), QStringLiteral("b\nc")}, {QStringLiteral("d"), QString()}}));
    EXPECT_TRUE(back.tables().item(1).allowAutoFit());
}

// The periodic save of a document that grows at its end appends; the file must be
// complete RTF after every save, and equal to what a full write gives.
TEST(RtfWriter, PeriodicSaveAppendsAndLeavesAValidFileEachTime) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Text_a.xls-1.rtf"));
    Application app;
    Document *doc = app.documents().add();
    ASSERT_TRUE(doc->saveAs(path, SaveFormat::Rtf).ok);
    doctest::addTaggedStyles(*doc);
    Selection &sel = doc->selection();
    sel.typeText(QStringLiteral("<!-- header -->\r"));
    for (int checkpoint = 1; checkpoint <= 4; ++checkpoint) {
        for (int i = 0; i < 30; ++i) doctest::typeCellBlock(sel, checkpoint, i + 1, QStringLiteral("Zelle %1 \u20AC").arg(i));
        const qint64 sizeBefore = QFileInfo(path).size();
        ASSERT_TRUE(doc->save().ok);
        const QByteArray onDisk = testsupport::readFile(path);
        if (checkpoint > 1) {
            // An append keeps the bytes before the end of the body.
            EXPECT_EQ(onDisk.left(sizeBefore - 40), testsupport::readFile(path).left(sizeBefore - 40));
        }
        Document back(&app, QString());
        ASSERT_TRUE(RtfReader::read(onDisk, back).ok) << checkpoint;
        EXPECT_EQ(back.content().text(), doc->content().text()) << checkpoint;
        EXPECT_EQ(onDisk, rtfOf(*doc)) << "append differs from a full write at checkpoint " << checkpoint;
    }
    // An edit before the end makes the next save a full write.
    doc->range(0, 2).setText(QStringLiteral("<?"));
    ASSERT_TRUE(doc->save().ok);
    EXPECT_EQ(testsupport::readFile(path), rtfOf(*doc));
}

TEST(RtfWriter, AppendFallsBackWhenTheFileChangedOnDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.rtf"));
    Application app;
    Document *doc = app.documents().add();
    doc->selection().typeText(QStringLiteral("one\r"));
    ASSERT_TRUE(doc->saveAs(path, SaveFormat::Rtf).ok);
    ASSERT_TRUE(testsupport::writeFile(path, "garbage"));
    doc->selection().typeText(QStringLiteral("two\r"));
    ASSERT_TRUE(doc->save().ok);
    EXPECT_EQ(testsupport::readFile(path), rtfOf(*doc));
}

TEST(RtfWriter, SaveWithoutNameAndIntoAMissingFolderAreRefused) {
    Application app;
    Document *doc = app.documents().add();
    EXPECT_FALSE(doc->save().ok);
    QTemporaryDir dir;
    EXPECT_FALSE(doc->saveAs(dir.filePath(QStringLiteral("missing/a.rtf")), SaveFormat::Rtf).ok);
}

TEST(RtfWriter, OpenSavedFileByPath) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.rtf"));
    Application app;
    Document *doc = app.documents().add();
    doc->selection().typeText(QStringLiteral("Zeile 1\rZeile 2"));
    ASSERT_TRUE(doc->saveAs(path, SaveFormat::Rtf).ok);
    EXPECT_TRUE(doc->saved());
    doc->close();
    office::Status status;
    Document *opened = app.documents().open(path, &status);
    ASSERT_NE(opened, nullptr) << status.message.toStdString();
    EXPECT_EQ(opened->name(), QStringLiteral("b.rtf"));
    EXPECT_EQ(opened->content().text(), QStringLiteral("Zeile 1\rZeile 2\r"));
    EXPECT_EQ(app.documents().open(dir.filePath(QStringLiteral("none.rtf")), &status), nullptr);
    EXPECT_FALSE(status.ok);
}

}  // namespace
