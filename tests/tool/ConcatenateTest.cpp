// Joining documents: the joined document's layout, the files refused and why,
// the move into "bindle", and the logs.
#include "ToolHarness.h"

#include "tool/RemoveDuplicates.h"

#include <QFile>
#include <QFileInfo>

using namespace tooltest;

namespace {

const QString kKeep = QStringLiteral("Error: Datei aus der Konkatenier-Liste entfernen oder überprüfen.");

QStringList withoutDateLine(QStringList lines) {
    if (lines.size() > 1) lines.removeAt(1);
    return lines;
}

}  // namespace

TEST(Concatenate, JoinedDocumentHoldsMarkersSeparatorsAndSourcesAndGoesIntoBindle) {
    ToolHarness h;
    ASSERT_TRUE(
        h.writeDocument(QStringLiteral("a.rtf"), {QStringLiteral("!<!-- CellID: 1,1-->"), QStringLiteral("Haus")}));
    ASSERT_TRUE(h.writeDocument(QStringLiteral("b.rtf"), {QStringLiteral("Grüße"), QStringLiteral("!Ende")}));
    h.cat(QStringLiteral("joined.rtf"), {QStringLiteral("a.rtf"), QStringLiteral("b.rtf")});
    EXPECT_TRUE(h.outcome.ran);
    EXPECT_FALSE(h.outcome.runError) << h.log().toStdString();
    EXPECT_FALSE(QFileInfo::exists(h.path(QStringLiteral("joined.rtf"))));
    const QString joined = h.path(QStringLiteral("bindle/joined.rtf"));
    // Each source's last paragraph runs into the next separator, as the word processor joins them.
    EXPECT_EQ(ToolHarness::dump(joined), QStringLiteral("1\t[tw4winExternal]<!--Bindle Tool-->[/]\n"
                                                        "2\t[tw4winExternal]<!-- Bindle-Fn: joined.rtf-->[/]\n"
                                                        "3\t\n"
                                                        "4\t[tw4winExternal]<BindleRTF>a.rtf</BindleRTF>[/]\n"
                                                        "5\t\n"
                                                        "6\t[tw4winExternal]<!-- CellID: 1,1-->[/]\n"
                                                        "7\tHaus[tw4winExternal]<BindleRTF>b.rtf</BindleRTF>[/]\n"
                                                        "8\t\n"
                                                        "9\tGrüße\n"
                                                        "10\t[tw4winExternal]Ende<BindleRTF>Ready</BindleRTF>[/]\n"));
    EXPECT_EQ(
        withoutDateLine(h.logLines()),
        (QStringList{QStringLiteral("Celltrove für Excel - Build 13"), QStringLiteral("Option: Konkateniere Dateien"),
                     QStringLiteral("2 Datei(en) ausgewählt"), QStringLiteral("Word gestartet - Version: 1.0"),
                     QStringLiteral("*******************************"), QStringLiteral("Konkateniere Datei: a.rtf"),
                     QStringLiteral("*******************************"), QStringLiteral("Konkateniere Datei: b.rtf"),
                     QStringLiteral("*******************************"), QStringLiteral(" "), QString(),
                     QStringLiteral("Konkatenierte Dateien: 2"),
                     QStringLiteral("Konkatenierte Datei: -----> /bindle/joined.rtf")}));
    EXPECT_EQ(h.outcome.logPath, h.path(QStringLiteral("bindle/joined.rtf.log")));
    EXPECT_EQ(h.settings.projectFolders().value(0), QDir::cleanPath(h.work));
}

// One list holding every kind of refusal: each is logged, sets the error flag
// and leaves the joined document without a trace of it; the others are joined.
TEST(Concatenate, RefusedAndUnreadableFilesAreLoggedAndTheRunGoesOn) {
    ToolHarness h;
    ASSERT_TRUE(h.writeTagged(QStringLiteral("a.rtf"), QStringLiteral("eins")));
    ASSERT_TRUE(h.writeTagged(QStringLiteral("joined.rtf"), QStringLiteral("alt")));  // a source of that name
    ASSERT_TRUE(h.writeTagged(QStringLiteral("Joined.rtf"), QStringLiteral("andere Schreibung")));
    ASSERT_TRUE(h.writeDocument(QStringLiteral("old.rtf"), {QStringLiteral("<!-- Bindle-Fn: old.rtf-->")}));
    ASSERT_TRUE(h.writeDocument(QStringLiteral("sep.rtf"), {QStringLiteral("<BindleRTF>x.rtf</BindleRTF>")}));
    ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("broken.rtf")), "kein RTF"));
    ASSERT_TRUE(h.writeTagged(QStringLiteral("b.rtf"), QStringLiteral("zwei")));
    const QStringList files = {QStringLiteral("a.rtf"),    QStringLiteral("joined.rtf"), QStringLiteral("Joined.rtf"),
                               QStringLiteral("old.rtf"),  QStringLiteral("sep.rtf"),    QStringLiteral("broken.rtf"),
                               QStringLiteral("gone.rtf"), QStringLiteral("b.rtf")};
    h.cat(QStringLiteral("joined.rtf"), files);
    EXPECT_TRUE(h.outcome.runError);
    const QString log = h.log();
    const struct {
        const char *file;
        QString lines;  // what follows the file's "Konkateniere Datei:" line
    } refusals[] = {
        {"joined.rtf",
         QStringLiteral(" \nError: Datei lässt sich nicht in sich selbst einfügen! joined.rtf\n") + kKeep},
        {"old.rtf",
         QStringLiteral(" \nError: Datei enthält mind. ein Bindle-Element: <!-- Bindle-Fn:...--> old.rtf\n") + kKeep},
        {"sep.rtf", QStringLiteral(" \nError: Datei enthält mind. ein Bindle-Element: <BindleRTF> sep.rtf\n") + kKeep},
        {"broken.rtf", QStringLiteral(" \nCat error: broken.rtf (")},
        {"gone.rtf", QStringLiteral(" \nCat error: gone.rtf (")},
    };
    for (const auto &r : refusals)
        EXPECT_TRUE(log.contains(QStringLiteral("Konkateniere Datei: ") + QLatin1String(r.file) + u'\n' + r.lines))
            << r.file << "\n"
            << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("\nKonkatenierte Dateien: 3\n")));
    // The source that shares the joined name is refused, but not lost.
    EXPECT_TRUE(ToolHarness::dump(h.path(QStringLiteral("joined.rtf"))).contains(QLatin1String("alt")));
    EXPECT_EQ(QDir(h.work).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(log.endsWith(QStringLiteral("\n \nError: Mindestens 1 Fehler vorhanden.")));

    QStringList separators;
    for (const QString &line : ToolHarness::dump(h.path(QStringLiteral("bindle/joined.rtf"))).split(u'\n'))
        for (qsizetype at = line.indexOf(QLatin1String("<BindleRTF>")); at >= 0;
             at = line.indexOf(QLatin1String("<BindleRTF>"), at + 1))
            separators << line.mid(at + 11, line.indexOf(QLatin1String("</BindleRTF>"), at) - at - 11);
    EXPECT_EQ(separators, (QStringList{QStringLiteral("a.rtf"), QStringLiteral("Joined.rtf"), QStringLiteral("b.rtf"),
                                       QStringLiteral("Ready")}));
}

TEST(Concatenate, EveryFileRefusedStillGivesHeaderAndEndMarkerInBindle) {
    ToolHarness h;
    ASSERT_TRUE(h.writeTagged(QStringLiteral("joined.rtf"), QStringLiteral("alt")));
    h.cat(QStringLiteral("joined.rtf"), {QStringLiteral("joined.rtf")});
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_EQ(ToolHarness::dump(h.path(QStringLiteral("bindle/joined.rtf"))),
              QStringLiteral("1\t[tw4winExternal]<!--Bindle Tool-->[/]\n"
                             "2\t[tw4winExternal]<!-- Bindle-Fn: joined.rtf-->[/]\n"
                             "3\t\n"
                             "4\t[tw4winExternal]<BindleRTF>Ready</BindleRTF>[/]\n"));
    EXPECT_TRUE(h.log().contains(QStringLiteral("Konkatenierte Dateien: 0")));
    EXPECT_TRUE(ToolHarness::dump(h.path(QStringLiteral("joined.rtf"))).contains(QLatin1String("alt")));
}

TEST(Concatenate, AJoinedDocumentInBindleIsReplacedEvenWhenReadOnly) {
    ToolHarness h;
    ASSERT_TRUE(h.writeTagged(QStringLiteral("a.rtf"), QStringLiteral("neu")));
    QDir(h.work).mkpath(QStringLiteral("bindle"));
    const QString old = h.path(QStringLiteral("bindle/joined.rtf"));
    ASSERT_TRUE(testsupport::writeFile(old, "{\\rtf1 alt}"));
    ASSERT_TRUE(QFile::setPermissions(old, QFileDevice::ReadOwner));
    h.cat(QStringLiteral("joined.rtf"), {QStringLiteral("a.rtf")});
    EXPECT_FALSE(h.outcome.runError) << h.log().toStdString();
    EXPECT_TRUE(ToolHarness::dump(old).contains(QLatin1String("<BindleRTF>a.rtf</BindleRTF>")));
}

TEST(Concatenate, AFailedMoveLeavesTheJoinedDocumentInTheWorkingFolderAndSaysSo) {
    ToolHarness h;
    ASSERT_TRUE(h.writeTagged(QStringLiteral("a.rtf"), QStringLiteral("eins")));
    // A folder of the joined name inside "bindle", with a file in it, cannot be replaced.
    QDir(h.work).mkpath(QStringLiteral("bindle/joined.rtf"));
    ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("bindle/joined.rtf/x")), "x"));
    h.cat(QStringLiteral("joined.rtf"), {QStringLiteral("a.rtf")});
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_TRUE(ToolHarness::dump(h.path(QStringLiteral("joined.rtf"))).contains(QLatin1String("<BindleRTF>a.rtf")));
    const QStringList lines = h.logLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_TRUE(lines.at(lines.size() - 3)
                    .startsWith(QStringLiteral("Error: Datei kann nicht nach \"bindle\" verschoben werden: ") +
                                h.path(QStringLiteral("joined.rtf")) + QStringLiteral(" (")))
        << h.log().toStdString();
    EXPECT_EQ(lines.last(), QStringLiteral("Error: Mindestens 1 Fehler vorhanden."));
}

TEST(Concatenate, AnEmptyListStopsWithAMessageAndALogOfHeaderLinesOnly) {
    ToolHarness h;
    h.cat(QStringLiteral("joined.rtf"), {});
    EXPECT_FALSE(h.outcome.ran);
    EXPECT_EQ(h.ui.messages, QStringList{QStringLiteral("Fehler: Keine Dateien gewählt!")});
    EXPECT_EQ(h.logLines().size(), 3);
    EXPECT_FALSE(QFileInfo::exists(h.path(QStringLiteral("joined.rtf"))));
    EXPECT_FALSE(QFileInfo::exists(h.path(QStringLiteral("bindle/joined.rtf"))));
}

TEST(ToolRun, LogsAreNamedAfterTheJoinedNameInTheirPlaces) {
    const struct {
        bool concatenate;
        const char *name;
        const char *log;
    } cases[] = {
        {true, "x.rtf", "bindle/x.rtf.log"},
        {false, "x.rtf", "splitx.rtf.log"},
        {false, "", "split.log"},
    };
    for (const auto &c : cases) {
        ToolHarness h;
        if (c.concatenate)
            h.cat(QLatin1String(c.name), {QStringLiteral("nothing.rtf")});
        else
            h.split({QStringLiteral("nothing.rtf")}, QLatin1String(c.name));
        EXPECT_EQ(h.outcome.logPath, h.path(QLatin1String(c.log)));
        EXPECT_TRUE(QFileInfo::exists(h.outcome.logPath)) << c.log;
        EXPECT_EQ(h.logLines().value(2),
                  c.concatenate ? QStringLiteral("Option: Konkateniere Dateien") : QStringLiteral("Option: Split"));
    }
}

// The list is walked with a 16-bit index: entries beyond 32767 are not worked
// on, and the log and the error flag say so.
TEST(ToolRun, ListsLongerThan32767EntriesStopAtTheLimit) {
    ToolHarness h;
    QStringList files;
    for (int i = 0; i < tool::kMaxToolFiles + 2; ++i) files << QStringLiteral("f%1.rtf").arg(i);
    h.split(files);
    EXPECT_TRUE(h.outcome.runError);
    const QStringList lines = h.logLines();
    EXPECT_EQ(lines.filter(QStringLiteral("Splitte Datei: ")).size(), tool::kMaxToolFiles);
    EXPECT_EQ(lines.filter(QStringLiteral("Splitte Datei: f32767.rtf")).size(), 0);
    EXPECT_EQ(
        lines.filter(QStringLiteral("Error: Zu viele Dateien in der Liste, nicht bearbeitet ab Nr. 32768")).size(), 1);
}

TEST(ToolRun, RemoveDuplicatesKeepsTheFirstOfEachTextInOrder) {
    const struct {
        QStringList in, out;
    } cases[] = {
        {{}, {}},
        {{"a", "b", "a", "c", "b", "a"}, {"a", "b", "c"}},
        {{"x", "X", "x"}, {"x", "X"}},
        {{"b", "b", "b"}, {"b"}},
    };
    for (const auto &c : cases) {
        QStringList list = c.in;
        tool::RemoveDuplicates(list);
        EXPECT_EQ(list, c.out) << c.in.join(u',').toStdString();
    }
}

TEST(ToolRun, PartNamesThatAreNoPlainFileNamesAreUnsafe) {
    const struct {
        QString name;
        bool safe;
    } cases[] = {
        {"Text_a.xls-1.rtf", true},
        {"Ready", true},
        {"..rtf", true},
        {"über ß.rtf", true},
        {"", false},
        {".", false},
        {"..", false},
        {"../x.rtf", false},
        {"a/b.rtf", false},
        {"..\\x.rtf", false},
        {QString(QChar(0)) + "x", false},
        {"a\tb.rtf", false},
        {"a\rb", false},
        {QString("x") + QChar(0x85), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(tool::joined::IsSafePartName(c.name), c.safe)
            << tool::joined::PrintablePartName(c.name).toStdString();
    EXPECT_EQ(tool::joined::PrintablePartName(QStringLiteral("a\tb")), QStringLiteral("a\\u0009b"));
}
