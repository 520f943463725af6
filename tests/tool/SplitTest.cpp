// Splitting joined documents: parts equal to the sources, the end marker, the
// part names, the refusals, and a joined document that never changes on disk.
#include "ToolHarness.h"

#include "tool/Split.h"

#include <QFile>
#include <QFileInfo>

using namespace tooltest;

namespace {

const QStringList kSources = {QStringLiteral("Text_a.xls-1.rtf"), QStringLiteral("Text_b.xls-2.rtf"),
                              QStringLiteral("Text_c.xls-1.rtf")};

// A joined document of its own making; `parts` are (name, paragraphs) pairs.
bool writeJoined(const ToolHarness &h, const QString &name, const QList<std::pair<QString, QStringList>> &parts,
                 bool endMarker = true) {
    QStringList paragraphs = {QStringLiteral("!<!--Bindle Tool-->"),
                              QStringLiteral("!<!-- Bindle-Fn: ") + name + QStringLiteral("-->"), QString()};
    for (const auto &[part, content] : parts) {
        paragraphs << QStringLiteral("!<BindleRTF>") + part + QStringLiteral("</BindleRTF>") << QString();
        paragraphs << content;
    }
    if (endMarker) paragraphs << QStringLiteral("!<BindleRTF>Ready</BindleRTF>");
    return h.writeDocument(name, paragraphs);
}

}  // namespace

// Three documents joined and split again come back as they were, under their
// names (replacing what the folder holds under those names), and the joined
// document itself is left exactly as it was, with no working copy beside it.
TEST(Split, JoinedDocumentsSplitBackIntoTheirSources) {
    ToolHarness h;
    QMap<QString, QString> originals;
    for (const QString &name : kSources) {
        ASSERT_TRUE(h.writeTagged(name, QStringLiteral("Grüße aus ") + name));
        originals[name] = ToolHarness::dump(h.path(name));
    }
    h.cat(QStringLiteral("joined.rtf"), kSources);
    ASSERT_FALSE(h.outcome.runError) << h.log().toStdString();
    for (const QString &name : kSources) ASSERT_TRUE(h.writeTagged(name, QStringLiteral("überschrieben")));
    const QString joined = h.path(QStringLiteral("joined.rtf"));
    ASSERT_TRUE(QFile::copy(h.path(QStringLiteral("bindle/joined.rtf")), joined));
    const QByteArray joinedBytes = testsupport::readFile(joined);

    h.split({QStringLiteral("joined.rtf")}, QStringLiteral("joined.rtf"));
    EXPECT_FALSE(h.outcome.runError) << h.log().toStdString();
    for (const QString &name : kSources)
        EXPECT_EQ(ToolHarness::dump(h.path(name)), originals[name]) << name.toStdString();
    EXPECT_EQ(h.list, QStringList{QStringLiteral("joined.rtf")} + kSources);
    EXPECT_EQ(testsupport::readFile(joined), joinedBytes);
    EXPECT_EQ(QDir(h.work).entryList({QStringLiteral("*.doc")}, QDir::Files), QStringList());
    EXPECT_TRUE(h.log().endsWith(QStringLiteral("Splitte Datei: joined.rtf\n |\n |----> 3 Dateien")))
        << h.log().toStdString();
}

// The same joined document listed twice, and a part named like a list entry:
// the list ends with each name once, joined documents first.
TEST(Split, TheListHoldsTheJoinedDocumentsThenThePartsOnce) {
    ToolHarness h;
    ASSERT_TRUE(writeJoined(h, QStringLiteral("j.rtf"),
                            {{QStringLiteral("one.rtf"), {QStringLiteral("eins")}},
                             {QStringLiteral("two.rtf"), {QStringLiteral("zwei")}}}));
    h.split({QStringLiteral("j.rtf"), QStringLiteral("j.rtf")});
    EXPECT_FALSE(h.outcome.runError) << h.log().toStdString();
    EXPECT_EQ(h.list, (QStringList{QStringLiteral("j.rtf"), QStringLiteral("one.rtf"), QStringLiteral("two.rtf")}));
    EXPECT_EQ(h.log().count(QStringLiteral(" |----> 2 Dateien")), 2);
}

TEST(Split, ALostEndMarkerIsAddedInMemoryAndTheLastPartIsWritten) {
    ToolHarness h;
    ASSERT_TRUE(writeJoined(h, QStringLiteral("j.rtf"),
                            {{QStringLiteral("one.rtf"), {QStringLiteral("eins")}},
                             {QStringLiteral("two.rtf"), {QStringLiteral("zwei"), QStringLiteral("!letzte")}}},
                            false));
    const QByteArray before = testsupport::readFile(h.path(QStringLiteral("j.rtf")));
    h.split({QStringLiteral("j.rtf")});
    EXPECT_FALSE(h.outcome.runError) << h.log().toStdString();
    EXPECT_EQ(ToolHarness::dump(h.path(QStringLiteral("two.rtf"))),
              QStringLiteral("1\tzwei\n2\t[tw4winExternal]letzte[/]\n"));
    EXPECT_EQ(testsupport::readFile(h.path(QStringLiteral("j.rtf"))), before);
}

TEST(Split, APartNamedReadyEndsTheSplit) {
    ToolHarness h;
    ASSERT_TRUE(writeJoined(h, QStringLiteral("j.rtf"),
                            {{QStringLiteral("one.rtf"), {QStringLiteral("eins")}},
                             {QStringLiteral(" Ready "), {QStringLiteral("nichts")}},
                             {QStringLiteral("two.rtf"), {QStringLiteral("zwei")}}}));
    h.split({QStringLiteral("j.rtf")});
    EXPECT_FALSE(h.outcome.runError);
    EXPECT_EQ(h.list, (QStringList{QStringLiteral("j.rtf"), QStringLiteral("one.rtf")}));
    EXPECT_FALSE(QFileInfo::exists(h.path(QStringLiteral("two.rtf"))));
    EXPECT_FALSE(QFileInfo::exists(h.path(QStringLiteral("Ready"))));
}

// A part name comes from a document that has been in other hands: one that is
// no plain file name of the folder is refused, and the split goes on.
TEST(Split, PartNamesThatWouldLeaveTheFolderAreRefusedAndTheSplitGoesOn) {
    ToolHarness h;
    QDir(h.work).mkpath(QStringLiteral("sub"));
    const QStringList unsafe = {QStringLiteral(" "),           QStringLiteral("."),         QStringLiteral(".."),
                                QStringLiteral("../evil.rtf"), QStringLiteral("sub/x.rtf"), QStringLiteral("..\\x.rtf"),
                                QStringLiteral("a\tb.rtf")};
    QList<std::pair<QString, QStringList>> parts;
    for (const QString &name : unsafe) parts.append({name, {QStringLiteral("böse")}});
    parts.append({QStringLiteral("ok.rtf"), {QStringLiteral("gut")}});
    ASSERT_TRUE(writeJoined(h, QStringLiteral("j.rtf"), parts));
    h.split({QStringLiteral("j.rtf")});
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_EQ(h.list, (QStringList{QStringLiteral("j.rtf"), QStringLiteral("ok.rtf")}));
    // The end marker stood in a paragraph of its own: an empty one stays at the end.
    EXPECT_EQ(ToolHarness::dump(h.path(QStringLiteral("ok.rtf"))), QStringLiteral("1\tgut\n2\t\n"));
    const QStringList refused = h.logLines().filter(QStringLiteral("Error: Ungültiger Dateiname im Bindle-Element: "));
    EXPECT_EQ(refused.size(), unsafe.size()) << h.log().toStdString();
    EXPECT_TRUE(refused.contains(QStringLiteral("Error: Ungültiger Dateiname im Bindle-Element: \"a\\u0009b.rtf\"")));
    EXPECT_FALSE(QFileInfo::exists(h.dir.filePath(QStringLiteral("evil.rtf"))));
    EXPECT_TRUE(QDir(h.path(QStringLiteral("sub"))).isEmpty());
    EXPECT_TRUE(h.log().endsWith(QStringLiteral(" |----> 1 Dateien\n \nError: Mindestens 1 Fehler vorhanden.")));
}

TEST(Split, DocumentsThatAreNoJoinedDocumentsAreRefusedUnchanged) {
    const struct {
        const char *what;
        QByteArray bytes;
        QString line;
    } cases[] = {
        {"parts without the name line", "{\\rtf1 <BindleRTF>a.rtf</BindleRTF>\\par x<BindleRTF>Ready</BindleRTF>}",
         QStringLiteral("Error: Fehlende Bindle Kopfzeilen!")},
        {"name line without parts", "{\\rtf1 <!-- Bindle-Fn: j.rtf-->\\par}",
         QStringLiteral("Error: Keine Bindle Dateien vorhanden! Datei überprüfen.")},
        {"both markers, but no RTF", "<!-- Bindle-Fn: j.rtf--> <BindleRTF>a.rtf</BindleRTF>",
         QStringLiteral("Kann RTF-Datei nicht öffnen: j.rtf (")},
    };
    for (const auto &c : cases) {
        ToolHarness h;
        ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("j.rtf")), c.bytes));
        h.split({QStringLiteral("j.rtf")});
        EXPECT_TRUE(h.outcome.runError) << c.what;
        const QStringList lines = h.logLines();
        const qsizetype at = lines.indexOf(QStringLiteral("Splitte Datei: j.rtf"));
        ASSERT_GE(at, 0) << c.what;
        EXPECT_TRUE(lines.value(at + 1).startsWith(c.line)) << c.what << ": " << h.log().toStdString();
        EXPECT_EQ(lines.value(at + 3), QStringLiteral(" |----> 0 Dateien")) << c.what;
        EXPECT_EQ(testsupport::readFile(h.path(QStringLiteral("j.rtf"))), c.bytes) << c.what;
        EXPECT_EQ(QDir(h.work).entryList(QDir::Files),
                  (QStringList{QStringLiteral("j.rtf"), QStringLiteral("split.log")}))
            << c.what;
    }
}

// A part starts behind the paragraph marks at its front; the search stops at the
// part's end, and a part of nothing but marks is empty.
TEST(Split, TrimLeadingBreaksSkipsOnlyTheMarksAtThePartsFront) {
    const struct {
        const char *text;
        int start, end, expected;
    } cases[] = {
        {"Text\r", 0, 5, 0},   {"\r\rText\r\r", 0, 8, 2}, {"\r\r\r", 0, 3, 3},   {"\r\r\rX", 0, 2, 2},
        {"ab\r\rc", 2, 5, 4},  {"\r\x0bText", 0, 6, 1},   {"", 0, 0, 0},         {"\r\r", 0, 99, 2},
    };
    office::doc::Application app;
    for (const auto &c : cases) {
        office::doc::Document *doc = app.documents().add();
        doc->selection().typeText(QString::fromLatin1(c.text));
        EXPECT_EQ(celltrove::tool::TrimLeadingBreaks(*doc, c.start, c.end), c.expected) << c.text;
        doc->close();
    }
}
