#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

testsupport::ProcessResult cliImport(const QStringList &args, const QString &folder) {
    return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                   QStringList{QStringLiteral("import")} + args, 60000, folder);
}

}  // namespace

TEST(CliImport, RefusesAnythingButRtfDocumentsOfOneFolder) {
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    struct Case {
        QStringList args;
        const char *message;
    };
    const Case cases[] = {
        {{}, "Aufruf: celltrove-cli import"},
        {{QStringLiteral("Mappe.xls")}, "Für den Import nur RTF-Dateien auswählen!"},
        {{QStringLiteral("a.rtf"), QStringLiteral("sub/b.rtf")}, "Alle Dateien müssen in einem Ordner liegen."},
    };
    for (const Case &c : cases) {
        const auto r = cliImport(c.args, dir.path());
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_TRUE(QString::fromUtf8(r.err).contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Celltrove4Excel-Import.log"))));
    }
    qunsetenv("XDG_CONFIG_HOME");
}

// A refused document leaves the run with exit status 1 and its log beside the documents.
TEST(CliImport, RefusedDocumentEndsWithRunErrorAndTheLog) {
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("joined.rtf")), "{\\rtf1 <BindleRTF>}"));
    const auto r = cliImport({QStringLiteral("joined.rtf")}, dir.path());
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(r.exitCode, 1);
    const QString log = dir.filePath(QStringLiteral("Celltrove4Excel-Import.log"));
    EXPECT_EQ(QString::fromUtf8(r.out).trimmed(), log);
    EXPECT_TRUE(testsupport::readFile(log).contains("Error: Mindestens 1 Fehler vorhanden."));
}

// XLIFF files are taken beside RTF documents: exported and imported unchanged
// the run succeeds; a file that does not parse flags it and names the place.
TEST(CliImport, TakesXliffFilesAndFlagsOneThatDoesNotParse) {
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    ASSERT_TRUE(QFile::copy(testsupport::fixtureDir() + QStringLiteral("/xls/formats.xls"),
                            dir.filePath(QStringLiteral("formats.xls"))));
    const auto exported = testsupport::runProgram(
        testsupport::binDir() + QStringLiteral("/celltrove-cli"),
        {QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("xliff"), QStringLiteral("formats.xls")},
        60000, dir.path());
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const auto imported = cliImport({QStringLiteral("Text_formats.xls.xlf")}, dir.path());
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    const QByteArray log = testsupport::readFile(dir.filePath(QStringLiteral("Celltrove4Excel-Import.log")));
    EXPECT_TRUE(log.contains("Unverändert (ohne Übersetzung): ")) << log.toStdString();

    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("broken.XLF")), "<xliff version=\"1.2\"><file>"));
    const auto broken = cliImport({QStringLiteral("broken.XLF")}, dir.path());
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(broken.exitCode, 1);
    const QByteArray brokenLog = testsupport::readFile(dir.filePath(QStringLiteral("Celltrove4Excel-Import.log")));
    EXPECT_TRUE(brokenLog.contains("Error: XLIFF-Datei fehlerhaft: ")) << brokenLog.toStdString();
    EXPECT_TRUE(brokenLog.contains("Zeile 1, Spalte ")) << brokenLog.toStdString();
}
