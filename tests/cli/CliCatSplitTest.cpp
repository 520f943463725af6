// celltrove-cli cat and split: usage and exit statuses, three exports joined and
// split back as our reader and LibreOffice read them, and a translator's path
// through one joined document, checked with python3-xlrd.

#include "TranslationCheck.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace clitest;

namespace {

struct Folder {
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    testsupport::ProcessResult cli(const QStringList &args) const {
        return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"), args, 600000,
                                       dir.path());
    }
    QStringList documents() const {
        return QDir(dir.path()).entryList({QStringLiteral("Text_*.rtf")}, QDir::Files, QDir::Name);
    }
    bool copyIn(const QString &source) const { return QFile::copy(source, path(QFileInfo(source).fileName())); }
};

// What our reader makes of a document (celltrove-cli text).
QByteArray textDump(const QString &path) {
    return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                   {QStringLiteral("text"), path})
        .out;
}

// What LibreOffice Writer reads from each file, by file path.
QJsonObject writerDump(const QStringList &paths) {
    const auto r = testsupport::runProgram(
        QStringLiteral("/usr/bin/python3"),
        QStringList{testsupport::fixtureDir() + QStringLiteral("/lo_writer_dump.py")} + paths, 600000);
    return QJsonDocument::fromJson(r.out).object();
}

bool runScript(const QString &script, const QStringList &args) {
    const QString path = QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../") + script);
    return testsupport::runProgram(QStringLiteral("/usr/bin/python3"), QStringList{path} + args, 600000).exitCode == 0;
}

// Workbooks whose exports make up a joined document: our fixtures, and a corpus
// workbook with texts beyond Latin-1 when the corpus is there.
QStringList workbooks() {
    QStringList paths = {testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"),
                         testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls")};
    if (!testsupport::corpusDir().isEmpty())
        paths << testsupport::corpusFile(QStringLiteral("xls/edr_TestUnicodeChars.xls"));
    return paths;
}

}  // namespace

TEST(CliCatSplit, UsageErrorsAndExitStatuses) {
    ProgramEnvironment environment;
    Folder f;
    ASSERT_TRUE(testsupport::writeFile(f.path(QStringLiteral("a.rtf")), "{\\rtf1 a\\par}"));
    QDir(f.dir.path()).mkpath(QStringLiteral("other"));
    ASSERT_TRUE(testsupport::writeFile(f.path(QStringLiteral("other/b.rtf")), "{\\rtf1 b\\par}"));
    const struct {
        QStringList args;
        int exit;
    } cases[] = {
        {{"cat"}, 2},
        {{"cat", "a.rtf"}, 2},
        {{"cat", "--name", "", "a.rtf"}, 2},
        {{"cat", "--name", ".rtf", "a.rtf"}, 2},
        {{"cat", "--name", "sub/x.rtf", "a.rtf"}, 2},
        {{"cat", "--name", "x.rtf"}, 2},
        {{"cat", "--name", "x.rtf", "a.rtf", "other/b.rtf"}, 2},
        {{"cat", "--name", "x.rtf", "a.xls"}, 2},
        {{"cat", "--bogus", "--name", "x.rtf", "a.rtf"}, 2},
        {{"split"}, 2},
        {{"split", "--name"}, 2},
        {{"cat", "--name", "s", "s.rtf"}, 1},  // "s" becomes "s.rtf": the file cannot go into itself
        {{"split", "a.rtf"}, 1},               // no joined document
        {{"cat", "--name", "x", "a.rtf"}, 0},
        {{"split", "bindle/x.rtf"}, 0},
    };
    for (const auto &c : cases) {
        const auto r = f.cli(c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(u' ').toStdString() << "\n" << r.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(f.path(QStringLiteral("bindle/x.rtf.log"))));
    EXPECT_TRUE(QFileInfo::exists(f.path(QStringLiteral("bindle/split.log"))));
}

// Tagged exports joined and split again are the exports, paragraph by
// paragraph and style by style, for our reader and for LibreOffice Writer; so
// are the parts of the joined document after Writer has opened and saved it.
TEST(CliCatSplit, ExportsJoinedAndSplitComeBackAsTheyWere) {
    REQUIRE_PROGRAM("soffice");
    ProgramEnvironment environment;
    Folder work;
    for (const QString &book : workbooks()) ASSERT_TRUE(work.copyIn(book));
    QStringList books = QDir(work.dir.path()).entryList({QStringLiteral("*.xls")}, QDir::Files);
    ASSERT_EQ(work.cli(QStringList{QStringLiteral("export")} + books).exitCode, 0);
    const QStringList documents = work.documents();
    ASSERT_GE(documents.size(), 3);
    const auto joined =
        work.cli(QStringList{QStringLiteral("cat"), QStringLiteral("--name"), QStringLiteral("all")} + documents);
    ASSERT_EQ(joined.exitCode, 0)
        << testsupport::readFile(work.path(QStringLiteral("bindle/all.rtf.log"))).toStdString();

    Folder split;
    Folder resaved;
    ASSERT_TRUE(split.copyIn(work.path(QStringLiteral("bindle/all.rtf"))));
    ASSERT_TRUE(runScript(QStringLiteral("tool/lo_resave.py"),
                          {work.path(QStringLiteral("bindle/all.rtf")), resaved.path(QStringLiteral("all.rtf"))}));
    for (const Folder *f : {&split, &resaved}) {
        const auto r = f->cli({QStringLiteral("split"), QStringLiteral("all.rtf")});
        EXPECT_EQ(r.exitCode, 0) << testsupport::readFile(f->path(QStringLiteral("split.log"))).toStdString();
        EXPECT_EQ(f->documents(), documents);
    }

    QStringList paths;
    for (const QString &d : documents) paths << work.path(d) << split.path(d) << resaved.path(d);
    const QJsonObject writer = writerDump(paths);
    for (const QString &d : documents) {
        SCOPED_TRACE(d.toStdString());
        const QByteArray original = textDump(work.path(d));
        EXPECT_FALSE(original.isEmpty());
        EXPECT_EQ(textDump(split.path(d)), original);
        EXPECT_EQ(textDump(resaved.path(d)), original);
        const QJsonValue seen = writer.value(work.path(d));
        EXPECT_TRUE(seen.toObject().contains(QStringLiteral("blocks")));
        EXPECT_EQ(writer.value(split.path(d)), seen);
    }
}

// The translator's path: three workbooks exported, their documents joined, the
// joined document translated in LibreOffice Writer, split and imported. xlrd
// then finds every text translated and everything else as it was.
TEST(CliCatSplit, ATranslatedJoinedDocumentSplitAndImportedTranslatesEveryWorkbook) {
    REQUIRE_PROGRAM("soffice");
    ProgramEnvironment environment;
    Folder work;
    QMap<QString, QMap<QString, QString>> before;
    for (const QString &book : workbooks()) {
        ASSERT_TRUE(work.copyIn(book));
        before[QFileInfo(book).fileName()] = xlrdDump(work.path(QFileInfo(book).fileName()));
    }
    ASSERT_EQ(work.cli(QStringList{QStringLiteral("export")} + before.keys()).exitCode, 0);
    const QStringList documents = work.documents();
    ASSERT_EQ(
        work.cli(QStringList{QStringLiteral("cat"), QStringLiteral("--name"), QStringLiteral("all.rtf")} + documents)
            .exitCode,
        0);
    for (const QString &d : documents) ASSERT_TRUE(QFile::remove(work.path(d)));
    ASSERT_TRUE(runScript(QStringLiteral("import/lo_translate.py"),
                          {work.path(QStringLiteral("bindle/all.rtf")), work.path(QStringLiteral("all.rtf"))}));
    ASSERT_EQ(work.cli({QStringLiteral("split"), QStringLiteral("all.rtf")}).exitCode, 0)
        << testsupport::readFile(work.path(QStringLiteral("split.log"))).toStdString();
    ASSERT_EQ(work.documents(), documents);
    const auto imported = work.cli(QStringList{QStringLiteral("import")} + documents);
    EXPECT_EQ(imported.exitCode, 0)
        << testsupport::readFile(work.path(QStringLiteral("Celltrove4Excel-Import.log"))).toStdString();

    for (auto book = before.cbegin(); book != before.cend(); ++book) {
        SCOPED_TRACE(book.key().toStdString());
        const QMap<QString, QString> after = xlrdDump(work.path(book.key()));
        EXPECT_EQ(after.keys(), book.value().keys());
        int translated = 0;
        for (auto it = book.value().cbegin(); it != book.value().cend(); ++it) {
            const QString now = after.value(it.key());
            const QString expected = clitest::translated(it.key(), it.value());
            translated += expected != it.value();
            // A text that would turn into a number when typed is left as it was.
            if (sameEntry(it.value(), now) && !expected.startsWith(QLatin1String("text\t"))) continue;
            EXPECT_TRUE(sameEntry(expected, now)) << it.key().toStdString() << ": " << now.left(200).toStdString()
                                                  << " instead of " << expected.left(200).toStdString();
        }
        EXPECT_GT(translated, 0);
    }
}
