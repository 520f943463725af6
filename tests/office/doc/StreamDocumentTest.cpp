#include "DocTestHelpers.h"

#include "office/doc/StreamDocument.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <variant>

using namespace office::doc;

namespace {

const QString kExternal = QStringLiteral("tw4winExternal");

void addTaggedStyles(Styles &styles) {
    Style *external = styles.add(kExternal, StyleType::Character);
    external->font().setName(QStringLiteral("Courier New"));
    external->font().setColorIndex(15);
    external->setLanguageId(1024);
}

struct Type {
    QString text;
    bool styled = false;
};
struct Save {};
// A background save: the stream's file is compared at the next Save, which waits for it.
struct SaveInBackground {};
struct AddStyles {};
using Step = std::variant<Type, Save, SaveInBackground, AddStyles>;

// The same steps typed into a Document through its selection, as a word
// processor would be driven, and into a StreamDocument; after every save both
// files must be the same bytes.
void expectSameFiles(const std::vector<Step> &steps) {
    QTemporaryDir dir;
    Application app;
    Document *doc = app.documents().add();
    StreamDocument stream;
    const QString docPath = dir.filePath(QStringLiteral("document.rtf"));
    const QString streamPath = dir.filePath(QStringLiteral("stream.rtf"));
    ASSERT_TRUE(doc->saveAs(docPath, SaveFormat::Rtf).ok);
    ASSERT_TRUE(stream.saveAs(streamPath).ok);
    int saves = 0;
    for (const Step &step : steps) {
        if (const Type *t = std::get_if<Type>(&step)) {
            Selection &sel = doc->selection();
            sel.endKey(Unit::Story);
            sel.insertAfter(t->text);
            // Set explicitly: typing would otherwise take the format of the text before it.
            sel.range().setStyle(t->styled ? kExternal : QStringLiteral("Default Paragraph Font"));
            sel.endKey(Unit::Story);
            stream.typeText(t->text, t->styled ? stream.characterStyleFormat(kExternal).value() : 0);
        } else if (std::holds_alternative<AddStyles>(step)) {
            addTaggedStyles(doc->styles());
            addTaggedStyles(stream.styles());
        } else if (std::holds_alternative<SaveInBackground>(step)) {
            ASSERT_TRUE(doc->save().ok);
            ASSERT_TRUE(stream.save(SaveTiming::Background).ok);
        } else {
            ++saves;
            ASSERT_TRUE(doc->save().ok);
            ASSERT_TRUE(stream.save().ok);
            ASSERT_EQ(testsupport::readFile(streamPath), testsupport::readFile(docPath)) << "after save " << saves;
        }
    }
}

TEST(StreamDocument, WritesWhatTheDocumentWritesAtEverySave) {
    const std::vector<Step> steps = {
        AddStyles{},  // after the first save: the style sheet is rewritten while nothing is let go of
        Type{QStringLiteral("<!-- header -->\r"), true},
        Type{QStringLiteral("<!-- name: -->Blatt"), true},
        Type{QStringLiteral("\r\r")},
        Save{},
        Type{QStringLiteral("<!-- CellID: 1,1-->\r\r"), true},
        Type{QStringLiteral("Grüße \u0416 {x}\\ \x0b zwei\r\r")},
        Save{},
        // A paragraph left open across a save, then finished in another format.
        Type{QStringLiteral("offen ")},
        Save{},
        Type{QStringLiteral("weiter"), true},
        Type{QStringLiteral("\r")},
        Save{},
        // Line feeds and CR LF become paragraph marks; two appends of one format make one run.
        Type{QStringLiteral("a\nb\r\nc")},
        Type{QStringLiteral(" d\r\r")},
        Save{},
        Save{},  // nothing new
        Type{QStringLiteral("<!-- total:>>2"), true},
        Save{},
    };
    expectSameFiles(steps);
}

TEST(StreamDocument, BackgroundSavesWriteWhatTheDocumentWrites) {
    std::vector<Step> steps = {AddStyles{}};
    // Typing goes on while each background save runs, across an open paragraph too.
    for (int i = 1; i <= 40; ++i) {
        steps.push_back(Type{QStringLiteral("<!-- CellID: %1,1-->\r\r").arg(i), true});
        steps.push_back(Type{QStringLiteral("Zelle %1 \u00e4\u4e2d\r").arg(i).repeated(i % 7 + 1) + u'\r'});
        if (i % 3 == 0) steps.push_back(Type{QStringLiteral("offen")});
        if (i % 4 == 0) steps.push_back(SaveInBackground{});
        if (i % 3 == 0) steps.push_back(Type{QStringLiteral(" zu\r")});
        if (i % 10 == 0) steps.push_back(Save{});
    }
    steps.push_back(Type{QStringLiteral("<!-- total:>>40"), true});
    steps.push_back(Save{});
    expectSameFiles(steps);
}

TEST(StreamDocument, RefusesToRewriteTextItHasLetGoOf) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stream.rtf"));
    StreamDocument stream;
    ASSERT_TRUE(stream.saveAs(path).ok);
    addTaggedStyles(stream.styles());
    stream.typeText(QStringLiteral("first paragraph\r"));
    ASSERT_TRUE(stream.save().ok);

    // Another program changed the file: appending would corrupt it, and the text
    // to write it again is gone.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("garbage");
    }
    stream.typeText(QStringLiteral("second\r"));
    const office::Status changed = stream.save();
    EXPECT_FALSE(changed.ok);
    EXPECT_TRUE(changed.message.contains(path)) << changed.message.toStdString();
    EXPECT_TRUE(testsupport::readFile(path).endsWith("garbage")) << "the file was touched";

    // A style sheet changed after text was let go of is refused the same way.
    StreamDocument second;
    const QString secondPath = dir.filePath(QStringLiteral("second.rtf"));
    ASSERT_TRUE(second.saveAs(secondPath).ok);
    second.typeText(QStringLiteral("first paragraph\r"));
    ASSERT_TRUE(second.save().ok);
    addTaggedStyles(second.styles());
    EXPECT_FALSE(second.save().ok);
    EXPECT_FALSE(second.saveAs(dir.filePath(QStringLiteral("elsewhere.rtf"))).ok);
}

TEST(StreamDocument, AFailedBackgroundSaveIsReportedAndNothingIsAppendedAfterIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stream.rtf"));
    StreamDocument stream;
    ASSERT_TRUE(stream.saveAs(path).ok);
    stream.typeText(QStringLiteral("first paragraph\r"));
    ASSERT_TRUE(stream.save(SaveTiming::Background).ok);
    ASSERT_TRUE(stream.waitForSave().ok);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("garbage");
    }
    stream.typeText(QStringLiteral("second\r"));
    EXPECT_TRUE(stream.save(SaveTiming::Background).ok) << "the outcome comes with the next save";
    stream.typeText(QStringLiteral("third\r"));
    EXPECT_FALSE(stream.save().ok);
    EXPECT_FALSE(stream.save().ok) << "a later save must not append after the missing text";
    EXPECT_TRUE(testsupport::readFile(path).endsWith("garbage"));
}

}  // namespace
