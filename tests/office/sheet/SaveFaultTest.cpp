// Faults while a workbook is saved: the disk fills up, the process is killed at a
// random moment, the name is a symbolic link out of the folder. Each time the file
// on disk is the old workbook or the new one, whole, and nothing is left beside it.

#include "office/sheet/Workbook.h"

#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <iostream>

using namespace office::sheet;

namespace {

const QLocale de(QLocale::German, QLocale::Germany);

// The largest workbook at hand, so that a save lasts long enough to be cut.
QString sourceWorkbook() {
    const QString big = testsupport::corpusFile(QStringLiteral("xls/edr_Test_git_issue321.xls"));
    if (QFileInfo::exists(big)) return big;
    return testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls");
}

// Opens path, changes one cell and saves it: 0 saved, 1 the save failed, 2 not opened.
int changeAndSave(const QString &path) {
    std::unique_ptr<Workbook> book;
    if (!Workbook::open(path, book).ok) return 2;
    book->worksheet(1)->setValue(1, 1, QStringLiteral("Übersetzt"), de);
    return book->save().ok ? 0 : 1;
}

QStringList folderEntries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

struct SavedVersions {
    QByteArray old;
    QByteArray changed;
};

SavedVersions versionsOf(const QString &source, const QString &scratch) {
    SavedVersions v;
    v.old = testsupport::readFile(source);
    testsupport::writeFile(scratch, v.old);
    if (changeAndSave(scratch) == 0) v.changed = testsupport::readFile(scratch);
    QFile::remove(scratch);
    return v;
}

}  // namespace

// A full disk (a file size limit) fails the save with the system's reason; the old
// workbook stays. A small workbook is written through the stream's buffer, a large
// one past it.
TEST(WorkbookSaveFault, DiskFullLeavesTheOldWorkbook) {
    const QString tooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));
    for (const QString &source : {testsupport::fixtureDir() + QStringLiteral("/xls/formats.xls"), sourceWorkbook()}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mappe.xls"));
        const SavedVersions versions = versionsOf(source, dir.filePath(QStringLiteral("scratch.xls")));
        const QByteArray &old = versions.old;
        const rlim_t size = versions.changed.size();
        ASSERT_GT(size, 0u);
        ASSERT_TRUE(testsupport::writeFile(path, old));
        for (const rlim_t limit : {rlim_t(0), rlim_t(512), size / 2, size - 1}) {
            const int status = testsupport::runInChild(
                [&] {
                    std::unique_ptr<Workbook> book;
                    if (!Workbook::open(path, book).ok) return 2;
                    book->worksheet(1)->setValue(1, 1, QStringLiteral("Übersetzt"), de);
                    const office::Status saved = book->save();
                    return saved.ok ? 0 : saved.message.contains(tooLarge) ? 1 : 3;
                },
                {limit});
            EXPECT_EQ(status, 1) << "limit " << limit;
            EXPECT_EQ(testsupport::readFile(path), old) << "limit " << limit;
            EXPECT_EQ(folderEntries(dir.path()), QStringList{QStringLiteral("Mappe.xls")}) << "limit " << limit;
        }
    }
}

// SIGKILL at random moments of a save: the file is always the old or the new
// workbook byte for byte, the reader opens it, and the next save leaves no stray file.
TEST(WorkbookSaveFault, KilledSaveLeavesOldOrNewWorkbook) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mappe.xls"));
    const SavedVersions versions = versionsOf(sourceWorkbook(), dir.filePath(QStringLiteral("scratch.xls")));
    ASSERT_FALSE(versions.changed.isEmpty());
    ASSERT_NE(versions.old, versions.changed);

    // The workbook is opened and changed once; each forked child only saves it.
    ASSERT_TRUE(testsupport::writeFile(path, versions.old));
    std::unique_ptr<Workbook> opened;
    ASSERT_TRUE(Workbook::open(path, opened).ok);
    opened->worksheet(1)->setValue(1, 1, QStringLiteral("Übersetzt"), de);
    auto save = [&] { return opened->save().ok ? 0 : 1; };
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(testsupport::runInChild(save), 0);
    const qint64 saveMicros = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
    ASSERT_EQ(testsupport::readFile(path), versions.changed);

    QRandomGenerator random(19);
    int old = 0, changed = 0;
    constexpr int kKills = 100;
    for (int n = 0; n < kKills; ++n) {
        ASSERT_TRUE(testsupport::writeFile(path, versions.old));
        const pid_t child = testsupport::startChild(save);
        ::usleep(useconds_t(random.bounded(saveMicros + saveMicros / 5)));
        ::kill(child, SIGKILL);
        testsupport::waitForChild(child);
        const QByteArray onDisk = testsupport::readFile(path);
        if (onDisk == versions.old)
            ++old;
        else if (onDisk == versions.changed)
            ++changed;
        else
            ADD_FAILURE() << "kill " << n << ": neither version, " << onDisk.size() << " bytes";
    }
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(path, book).ok);
    ASSERT_TRUE(book->save().ok);
    EXPECT_EQ(folderEntries(dir.path()), QStringList{QStringLiteral("Mappe.xls")});
    std::cout << "killed saves: " << old << " left the old workbook, " << changed << " the new one\n";

    if (QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) {
        const auto dump = testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
                                                  {testsupport::fixtureDir() + QStringLiteral("/xlrd_dump.py"), path});
        EXPECT_EQ(dump.exitCode, 0) << dump.err.toStdString();
        EXPECT_FALSE(dump.out.contains("\nrefused")) << dump.out.left(300).toStdString();
    }
}

// A save removes what a killed save of the same workbook left beside it, but not the
// file of a save going on (it holds a lock), nor other files named like the workbook.
TEST(WorkbookSaveFault, SaveClearsAbandonedTemporariesOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mappe.xls"));
    ASSERT_TRUE(testsupport::writeFile(path, testsupport::readFile(sourceWorkbook())));
    const QString abandoned = dir.filePath(QStringLiteral(".Mappe.xls.celltrove-save-abc"));
    const QString inUse = dir.filePath(QStringLiteral(".Mappe.xls.celltrove-save-def"));
    const QString users = dir.filePath(QStringLiteral("Mappe.xls.backup"));
    for (const QString &name : {abandoned, inUse, users}) ASSERT_TRUE(testsupport::writeFile(name, "x"));
    const int lock = ::open(QFile::encodeName(inUse).constData(), O_RDONLY);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    EXPECT_EQ(changeAndSave(path), 0);
    ::close(lock);
    EXPECT_EQ(folderEntries(dir.path()),
              (QStringList{QStringLiteral(".Mappe.xls.celltrove-save-def"), QStringLiteral("Mappe.xls"),
                           QStringLiteral("Mappe.xls.backup")}));
}

// A workbook name that is a symbolic link out of its folder is not saved through;
// a link to a workbook in the same folder is.
TEST(WorkbookSaveFault, SymbolicLinkOutOfTheFolderIsNotWrittenThrough) {
    QTemporaryDir outside;
    QTemporaryDir dir;
    const QByteArray old = testsupport::readFile(testsupport::fixtureDir() + QStringLiteral("/xls/formats.xls"));
    const QString elsewhere = outside.filePath(QStringLiteral("Fremd.xls"));
    ASSERT_TRUE(testsupport::writeFile(elsewhere, old));
    const QString inside = dir.filePath(QStringLiteral("Echt.xls"));
    ASSERT_TRUE(testsupport::writeFile(inside, old));
    ASSERT_TRUE(QFile::link(elsewhere, dir.filePath(QStringLiteral("Weg.xls"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("Echt.xls"), dir.filePath(QStringLiteral("Nah.xls"))));

    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(dir.filePath(QStringLiteral("Weg.xls")), book).ok);
    book->worksheet(1)->setValue(1, 1, QStringLiteral("neu"), de);
    const office::Status refused = book->save();
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.message.contains(QLatin1String("symbolic link"))) << refused.message.toStdString();
    EXPECT_EQ(testsupport::readFile(elsewhere), old);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("Weg.xls"))).isSymLink());

    ASSERT_TRUE(Workbook::open(dir.filePath(QStringLiteral("Nah.xls")), book).ok);
    book->worksheet(1)->setValue(1, 1, QStringLiteral("neu"), de);
    EXPECT_TRUE(book->save().ok);
    EXPECT_NE(testsupport::readFile(inside), old);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("Nah.xls"))).isSymLink());
}
