// Export and import with file names and folders a user may well have: a name that
// is not UTF-8, one with a line break, one of 255 bytes, a workbook that is a link,
// an output name that is a link to a file elsewhere, a folder without write access.
// Each is done or refused with a log line; nothing outside the folder changes and
// no file that was there is lost.

#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray err;
};

// celltrove-cli with arguments as raw bytes (a QString cannot carry a name that is
// not UTF-8), in `folder`. `withoutOverride` takes root's power to write anywhere
// away, so that a read-only folder is read-only for the run.
CliRun runCli(const QList<QByteArray> &args, const QString &folder, const QString &errFile,
              bool withoutOverride = false, rlim_t fileSizeLimit = RLIM_INFINITY) {
    QList<QByteArray> argv;
    if (withoutOverride && ::geteuid() == 0)
        argv << "/usr/bin/setpriv"
             << "--bounding-set=-dac_override,-dac_read_search"
             << "--inh-caps=-dac_override,-dac_read_search";
    argv << QFile::encodeName(testsupport::binDir() + QStringLiteral("/celltrove-cli"));
    argv << args;
    std::vector<char *> raw;
    for (QByteArray &a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    const QByteArray dir = QFile::encodeName(folder);
    const QByteArray errPath = QFile::encodeName(errFile);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_WRONLY);
        if (err < 0 || null < 0 || ::chdir(dir.constData()) != 0) ::_exit(120);
        if (fileSizeLimit != RLIM_INFINITY) {
            // A full disk: writes past the limit fail (SIGXFSZ stays ignored across exec).
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        }
        ::dup2(null, 1);
        ::dup2(err, 2);
        ::execv(raw[0], raw.data());
        ::_exit(121);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testsupport::readFile(errFile)};
}

// Every file below `root` (links not followed) with its bytes, to see what a run changed.
QMap<QByteArray, QByteArray> snapshot(const QString &root) {
    QMap<QByteArray, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        files.insert(QFile::encodeName(path), info.isSymLink() ? "link:" + QFile::encodeName(info.symLinkTarget())
                                                               : testsupport::readFile(path));
    }
    return files;
}

QByteArray fixtureBytes() {
    return testsupport::readFile(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"));
}

// Settings apart from the workbook folder and a German environment, for every run.
struct HostileFolder {
    QTemporaryDir root;
    QString work;
    QString outside;
    HostileFolder() {
        work = root.filePath(QStringLiteral("work"));
        outside = root.filePath(QStringLiteral("outside"));
        QDir().mkpath(work);
        QDir().mkpath(outside);
        qputenv("LC_ALL", "de_DE.UTF-8");
        qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
    }
    ~HostileFolder() {
        ::chmod(QFile::encodeName(work).constData(), 0755);
        qunsetenv("LC_ALL");
        qunsetenv("XDG_CONFIG_HOME");
    }
    QByteArray path(const QByteArray &name) const { return QFile::encodeName(work) + '/' + name; }
    CliRun run(const QList<QByteArray> &args, bool withoutOverride = false,
               rlim_t fileSizeLimit = RLIM_INFINITY) const {
        return runCli(args, work, root.filePath(QStringLiteral("stderr.txt")), withoutOverride, fileSizeLimit);
    }
    QByteArray exportLog() const { return testsupport::readFile(work + QStringLiteral("/Celltrove4Excel-Export.log")); }
    QByteArray importLog() const { return testsupport::readFile(work + QStringLiteral("/Celltrove4Excel-Import.log")); }
};

}  // namespace

// Names the tagged export cannot carry are refused with a log line naming why.
TEST(CliHostileNames, UnusableWorkbookNamesAreRefusedWithALogLine) {
    struct Case {
        QByteArray name;
        const char *logLine;
        QByteArray format = "rtf";
    };
    const char *const kLineBreak = "Error: Der Dateiname enthält einen Zeilenumbruch: Zeile\\nzwei.xls";
    const Case cases[] = {
        {"Mapp\xE9.xls", "Kann Excel-Datei nicht öffnen: "},
        {"Zeile\nzwei.xls", kLineBreak},
        // Every format whose file names its workbook for the import.
        {"Zeile\nzwei.xls", kLineBreak, "tables"},
        {"Zeile\nzwei.xls", kLineBreak, "doc"},
        {"Zeile\nzwei.xls", kLineBreak, "xliff"},
        {QByteArray(251, 'a') + ".xls", "Error: Dateiname zu lang. Bitte kürzen. "},
    };
    for (const Case &c : cases) {
        HostileFolder folder;
        {
            // Written by its bytes: the name need not decode.
            const int fd = ::open(folder.path(c.name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ASSERT_GE(fd, 0) << c.logLine;
            const QByteArray bytes = fixtureBytes();
            ASSERT_EQ(::write(fd, bytes.constData(), bytes.size()), bytes.size());
            ::close(fd);
        }
        const auto before = snapshot(folder.work);
        const auto outsideBefore = snapshot(folder.outside);
        const CliRun r = folder.run({"export", "--format", c.format, c.name});
        EXPECT_EQ(r.exitCode, 1) << c.logLine << r.err.toStdString();
        const QByteArray log = folder.exportLog();
        EXPECT_TRUE(log.contains(c.logLine)) << log.toStdString();
        EXPECT_TRUE(log.contains("Error: Mindestens 1 Fehler vorhanden.")) << c.logLine;
        auto after = snapshot(folder.work);
        after.remove(folder.path("Celltrove4Excel-Export.log"));
        EXPECT_EQ(snapshot(folder.outside), outsideBefore) << c.logLine;
        const auto &expected = before;
        EXPECT_EQ(after, expected) << c.logLine;
    }
}

// Links: a workbook linked within its folder goes both ways; one linked from
// elsewhere is exported but not written back through the link; an output name
// that links elsewhere is not written through. The linked files keep their bytes.
TEST(CliHostileNames, LinksAreNotWrittenThroughToElsewhere) {
    HostileFolder folder;
    const QString real = folder.work + QStringLiteral("/Echt.xls");
    const QString foreign = folder.outside + QStringLiteral("/Fremd.xls");
    const QString privateText = folder.outside + QStringLiteral("/privat.rtf");
    ASSERT_TRUE(testsupport::writeFile(real, fixtureBytes()));
    ASSERT_TRUE(testsupport::writeFile(foreign, fixtureBytes()));
    ASSERT_TRUE(testsupport::writeFile(privateText, "{\\rtf1 privat\\par}"));
    ASSERT_TRUE(QFile::link(QStringLiteral("Echt.xls"), folder.work + QStringLiteral("/Nah.xls")));
    ASSERT_TRUE(QFile::link(foreign, folder.work + QStringLiteral("/Weg.xls")));
    ASSERT_TRUE(QFile::link(privateText, folder.work + QStringLiteral("/Text_Echt.xls-1.rtf")));
    const auto outsideBefore = snapshot(folder.outside);

    // The output name of Echt.xls's first sheet is a link elsewhere: that document is refused.
    CliRun r = folder.run({"export", "Echt.xls"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(folder.exportLog().contains("symbolic link")) << folder.exportLog().toStdString();
    EXPECT_TRUE(QFileInfo(folder.work + QStringLiteral("/Text_Echt.xls-1.rtf")).isSymLink());

    r = folder.run({"export", "Nah.xls", "Weg.xls"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString() << folder.exportLog().toStdString();
    const QString nearText = QStringLiteral("Text_Nah.xls-1.rtf");
    ASSERT_TRUE(QFileInfo::exists(folder.work + u'/' + nearText));
    ASSERT_TRUE(QFileInfo::exists(folder.work + QStringLiteral("/Text_Weg.xls-1.rtf")));

    r = folder.run({"import", nearText.toUtf8()});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString() << folder.importLog().toStdString();
    EXPECT_TRUE(QFileInfo(folder.work + QStringLiteral("/Nah.xls")).isSymLink());

    r = folder.run({"import", "Text_Weg.xls-1.rtf"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(folder.importLog().contains("Error: Kann Excel-Datei nicht speichern: "))
        << folder.importLog().toStdString();
    EXPECT_TRUE(folder.importLog().contains("symbolic link")) << folder.importLog().toStdString();
    EXPECT_TRUE(QFileInfo(folder.work + QStringLiteral("/Weg.xls")).isSymLink());
    EXPECT_EQ(snapshot(folder.outside), outsideBefore);
}

// A folder the user may read but not write: the export cannot replace its documents
// and says so in its log (an existing log file stays writable); the import cannot
// start its log and says so on stderr. Documents and workbook stay as they were.
TEST(CliHostileNames, ReadOnlyFolderIsRefusedAndLeftAsItWas) {
    if (::geteuid() == 0 && !QFileInfo::exists(QStringLiteral("/usr/bin/setpriv")))
        GTEST_SKIP() << "root without setpriv writes anywhere";
    HostileFolder folder;
    ASSERT_TRUE(testsupport::writeFile(folder.work + QStringLiteral("/Mappe.xls"), fixtureBytes()));
    ASSERT_EQ(folder.run({"export", "Mappe.xls"}).exitCode, 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.work).constData(), 0555), 0);
    auto before = snapshot(folder.work);
    before.remove(folder.path("Celltrove4Excel-Export.log"));

    CliRun r = folder.run({"export", "Mappe.xls"}, true);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(folder.exportLog().contains("Kann Datei nicht speichern: " + folder.path("Text_Mappe.xls-1.rtf")))
        << folder.exportLog().toStdString();
    auto after = snapshot(folder.work);
    after.remove(folder.path("Celltrove4Excel-Export.log"));
    EXPECT_EQ(after, before);

    r = folder.run({"import", "Text_Mappe.xls-1.rtf"}, true);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Kann Log-Datei nicht schreiben: ")) << r.err.toStdString();
    after = snapshot(folder.work);
    after.remove(folder.path("Celltrove4Excel-Export.log"));
    EXPECT_EQ(after, before);
}

// A disk that fills during the import's save of the workbook (a file size limit
// below the workbook's size, above the log's): the run fails, its log says which
// workbook could not be saved, and the workbook keeps its old bytes.
TEST(CliHostileNames, FullDiskDuringTheImportKeepsTheWorkbook) {
    HostileFolder folder;
    const QByteArray workbook = fixtureBytes();
    ASSERT_TRUE(testsupport::writeFile(folder.work + QStringLiteral("/Mappe.xls"), workbook));
    ASSERT_EQ(folder.run({"export", "Mappe.xls"}).exitCode, 0);
    const CliRun r = folder.run({"import", "Text_Mappe.xls-1.rtf"}, false, rlim_t(workbook.size() / 2));
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    const QByteArray log = folder.importLog();
    EXPECT_TRUE(log.contains("Error: Kann Excel-Datei nicht speichern: " + folder.path("Mappe.xls")))
        << log.toStdString();
    EXPECT_FALSE(log.contains("Unknown error")) << "the system's reason, not Qt's";
    EXPECT_EQ(testsupport::readFile(folder.work + QStringLiteral("/Mappe.xls")), workbook);
    EXPECT_EQ(QDir(folder.work).entryList(QDir::Files | QDir::Hidden).size(), 5);  // workbook, two documents, two logs
}

// A disk that fills during the tagged export (a file size limit above the log's size,
// below the document's): the run fails and its log names the document; the cut
// document is not left behind looking finished, and the workbook keeps its bytes.
// The workbook is large enough that the periodic save has written part of the
// document before the limit is reached.
TEST(CliHostileNames, FullDiskDuringTheExportLeavesNoCutDocument) {
    HostileFolder folder;
    const QString workbookPath = folder.work + QStringLiteral("/Mappe.xls");
    {
        const QString fixture = testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls");
        std::unique_ptr<office::sheet::Workbook> book;
        ASSERT_TRUE(office::sheet::Workbook::open(fixture, book).ok);
        const QString text = QStringLiteral("Ein Satz, der übersetzt werden soll, und noch einige Worte mehr. ");
        for (int row = 1; row <= 400; ++row)
            for (int column = 1; column <= 5; ++column)
                book->worksheet(1)->setValue(row, column, text + QString::number(row * 10 + column));
        ASSERT_TRUE(book->saveAs(workbookPath).ok);
    }
    const QByteArray workbook = testsupport::readFile(workbookPath);
    const QString document = folder.work + QStringLiteral("/Text_Mappe.xls-1.rtf");

    // Without a limit the document is several times the limit used below.
    ASSERT_EQ(folder.run({"export", "Mappe.xls"}).exitCode, 0);
    const qint64 fullSize = QFileInfo(document).size();
    constexpr rlim_t kLimit = 64 * 1024;
    ASSERT_GT(fullSize, qint64(3 * kLimit));
    ASSERT_TRUE(QFile::remove(document));
    ASSERT_TRUE(QFile::remove(folder.work + QStringLiteral("/Celltrove4Excel-Export.log")));

    const CliRun r = folder.run({"export", "Mappe.xls"}, false, kLimit);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    const QByteArray log = folder.exportLog();
    EXPECT_TRUE(log.contains("Kann Datei nicht speichern: " + QFile::encodeName(document))) << log.toStdString();
    EXPECT_FALSE(log.contains("Unknown error")) << "the system's reason, not Qt's";
    EXPECT_TRUE(log.contains("Error: Mindestens 1 Fehler vorhanden.")) << log.toStdString();
    EXPECT_FALSE(log.contains("the file was changed")) << "the first failure is the reason";
    EXPECT_TRUE(log.contains("Unvollständiges Dokument gelöscht: " + QFile::encodeName(document))) << log.toStdString();
    EXPECT_FALSE(QFileInfo::exists(document)) << "the import would take a cut document for the whole sheet";
    EXPECT_EQ(testsupport::readFile(workbookPath), workbook);
    // The small third sheet's document is whole; no temporary file of a save is left.
    EXPECT_EQ(QDir(folder.work).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("Celltrove4Excel-Export.log"), QStringLiteral("Mappe.xls"),
                           QStringLiteral("Text_Mappe.xls-3.rtf")}));
}
