#include "ImportHarness.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace importtest;
using celltrove::run::FileTypeFilter;

namespace {

void writeSimpleDocument(ImportHarness &h, const QString &name) {
    TaggedDocBuilder doc(QStringLiteral("Mappe.xls"), QStringLiteral("1"));
    doc.cell(1, 1, name).total(1);
    ASSERT_TRUE(doc.saveAs(h.path(name)));
}

}  // namespace

TEST(ImportRun, LogHasTheHeaderTheFileLinesAndTheReports) {
    ImportHarness h;
    h.book({1});
    writeSimpleDocument(h, QStringLiteral("a.rtf"));
    h.run({QStringLiteral("a.rtf")});
    EXPECT_EQ(h.outcome.logPath, h.path(QStringLiteral("Celltrove4Excel-Import.log")));
    const QStringList log = h.logLines();
    ASSERT_GE(log.size(), 8);
    EXPECT_EQ(log.at(0), QStringLiteral("Celltrove für Excel - Build 13"));
    EXPECT_EQ(log.at(1), QStringLiteral("Option: Import"));
    EXPECT_EQ(log.at(2), QStringLiteral("1 Dateien ausgewählt"));
    EXPECT_EQ(log.at(5), QStringLiteral("*******************************************"));
    EXPECT_EQ(log.at(6), QStringLiteral("importiere a.rtf"));
    EXPECT_EQ(log.at(7), QStringLiteral("1 Zellen importiert"));
    EXPECT_TRUE(log.contains(QStringLiteral("                Dateianalyse")));
    EXPECT_TRUE(log.contains(QStringLiteral("                Gesamtanalyse")));
    EXPECT_FALSE(log.contains(QStringLiteral("Error: Mindestens 1 Fehler vorhanden.")));
}

TEST(ImportRun, WrongFileTypeFilterIsRefusedBeforeTheRun) {
    for (FileTypeFilter filter : {FileTypeFilter::Excel, FileTypeFilter::All}) {
        ImportHarness h;
        h.run({QStringLiteral("a.rtf")}, filter);
        EXPECT_FALSE(h.outcome.ran);
        EXPECT_EQ(h.ui.messages, QStringList{QStringLiteral("Fehler: Für den Import nur RTF-Dateien auswählen!")});
        EXPECT_TRUE(h.books.openedPaths.isEmpty());
    }
}

// Joined documents must be split first: refused before they are opened.
TEST(ImportRun, JoinedDocumentsAreRefusedAndTheOthersImported) {
    ImportHarness h;
    h.book({1});
    // Neither is RTF: opening them would log that they cannot be opened.
    ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("joined.rtf")), "kein RTF <!-- Bindle-Fn:x.rtf-->"));
    ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("bindle.rtf")), "kein RTF <BindleRTF>"));
    writeSimpleDocument(h, QStringLiteral("ok.rtf"));
    h.run({QStringLiteral("joined.rtf"), QStringLiteral("bindle.rtf"), QStringLiteral("ok.rtf")});
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_EQ(h.sheet(1).cellText(1, 1), QStringLiteral("ok.rtf"));
    EXPECT_EQ(h.books.openedPaths.size(), 1);
    const QStringList log = h.logLines();
    const QStringList joined = {QStringLiteral(" "),
                                QStringLiteral("Error: Datei enthält mind. ein Bindle-Element: <!-- Bindle-Fn:...--> joined.rtf"),
                                QStringLiteral("Error: Datei splitten oder überprüfen.")};
    const qsizetype at = log.indexOf(joined.at(1));
    ASSERT_GE(at, 1);
    EXPECT_EQ(log.mid(at - 1, 3), joined);
    EXPECT_TRUE(log.contains(QStringLiteral("Error: Datei enthält mind. ein Bindle-Element: <BindleRTF> bindle.rtf")));
    for (const QString &line : log) EXPECT_FALSE(line.startsWith(QStringLiteral("Error: Kann Dokument nicht öffnen"))) << line.toStdString();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log.mid(log.size() - 3, 2), QStringList({QStringLiteral(" "), QStringLiteral("Error: Mindestens 1 Fehler vorhanden.")}));
}

// Folder and file name together may have 251 characters, not 252.
TEST(ImportRun, PathLengthLimitIs251Characters) {
    for (int length : {251, 252}) {
        ImportHarness h;
        h.book({1});
        const int nameLength = length - int(h.folder().size());
        ASSERT_GT(nameLength, 10);
        const QString name = QString(nameLength - 4, u'n') + QStringLiteral(".rtf");
        writeSimpleDocument(h, name);
        h.run({name});
        EXPECT_EQ(h.outcome.runError, length == 252) << length;
        EXPECT_EQ(h.books.openedPaths.size(), length == 251 ? 1 : 0) << length;
    }
}

TEST(ImportRun, UnreadableDocumentIsAnError) {
    ImportHarness h;
    ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("kaputt.rtf")), "kein RTF"));
    h.run({QStringLiteral("kaputt.rtf"), QStringLiteral("fehlt.rtf")});
    EXPECT_TRUE(h.outcome.runError);
    const QStringList log = h.logLines();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const QString &l) { return l.startsWith(QStringLiteral("Error: Kann Dokument nicht öffnen: ")); }),
              2);
}

// The run bar shows the document's place in the run: 1 of 3, 2 of 3, 3 of 3.
TEST(ImportRun, RunBarAdvancesWithEveryDocument) {
    ImportHarness h;
    h.book({1});
    const QStringList files = {QStringLiteral("a.rtf"), QStringLiteral("b.rtf"), QStringLiteral("c.rtf")};
    for (const QString &file : files) writeSimpleDocument(h, file);
    h.run(files);
    QList<int> drawn = h.ui.runBarSteps;
    drawn.removeAll(0);  // the run's start clears the bars
    EXPECT_EQ(drawn, (QList<int>{celltrove::run::ProgressStepsFor(1, 3), celltrove::run::ProgressStepsFor(2, 3),
                                 celltrove::run::ProgressStepsFor(3, 3)}));
}
