// Faults while a document is saved: a full disk (a file size limit in a forked
// child) during the first save and during an appending save, and a name that is a
// symbolic link out of the folder. The file on disk stays the last whole document.

#include "office/doc/RtfReader.h"
#include "office/doc/StreamDocument.h"

#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

QString paragraphs(int count, const QString &word) {
    QString text;
    for (int n = 0; n < count; ++n) text += word + QString::number(n) + u'\r';
    return text;
}

QStringList folderEntries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

}  // namespace

// The disk fills during the first save (nothing of the old file may go) and during
// a later appending save (the file must stay the document of the save before).
TEST(DocumentSaveFault, DiskFullKeepsTheLastWholeDocument) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Text_Mappe.xls_1.rtf"));
    const QByteArray old = "{\\rtf1 alt\\par}";
    struct Case {
        const char *name;
        bool appending;
        int paragraphs;  // a small document goes through QSaveFile's buffer, a large one past it
        rlim_t limit;    // bytes; for an appending save, bytes beyond the first save's file
    };
    for (const Case &c : {Case{"first save", false, 5000, 0}, Case{"first save", false, 5000, 2000},
                          Case{"small first save", false, 20, 200}, Case{"appending save", true, 5000, 0},
                          Case{"appending save", true, 5000, 20000}, Case{"small appending save", true, 20, 50}}) {
        ASSERT_TRUE(testsupport::writeFile(path, old));
        const QString before = dir.filePath(QStringLiteral("before.rtf"));
        const int status = testsupport::runInChild(
            [&] {
                StreamDocument document;
                if (c.appending) {
                    document.typeText(paragraphs(100, QStringLiteral("Absatz ")));
                    if (!document.saveAs(path).ok) return 2;
                    QFile::copy(path, before);
                    std::signal(SIGXFSZ, SIG_IGN);
                    const rlim_t size = rlim_t(QFileInfo(path).size()) + c.limit;
                    const rlimit limit{size, size};
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                }
                document.typeText(paragraphs(c.paragraphs, QStringLiteral("Noch ein Absatz ")));
                const office::Status saved = c.appending ? document.save() : document.saveAs(path);
                return saved.ok ? 0 : saved.message.contains(QLatin1String("changed by another program")) ? 3 : 1;
            },
            {c.appending ? RLIM_INFINITY : c.limit});
        EXPECT_EQ(status, 1) << c.name << " " << c.limit;
        const QByteArray expected = c.appending ? testsupport::readFile(before) : old;
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(testsupport::readFile(path), expected) << c.name << " " << c.limit;
        QFile::remove(before);
        EXPECT_EQ(folderEntries(dir.path()), QStringList{QFileInfo(path).fileName()}) << c.name << " " << c.limit;
    }
}

// An output name that is a symbolic link to a file elsewhere is refused and the
// file it points to keeps its bytes.
TEST(DocumentSaveFault, SymbolicLinkOutOfTheFolderIsNotWrittenThrough) {
    QTemporaryDir outside;
    QTemporaryDir dir;
    const QString elsewhere = outside.filePath(QStringLiteral("private.rtf"));
    ASSERT_TRUE(testsupport::writeFile(elsewhere, "{\\rtf1 privat\\par}"));
    const QString link = dir.filePath(QStringLiteral("Text_Mappe.xls_1.rtf"));
    ASSERT_TRUE(QFile::link(elsewhere, link));
    StreamDocument document;
    document.typeText(paragraphs(3, QStringLiteral("Zeile ")));
    const office::Status saved = document.saveAs(link);
    EXPECT_FALSE(saved.ok);
    EXPECT_TRUE(saved.message.contains(QLatin1String("symbolic link"))) << saved.message.toStdString();
    EXPECT_EQ(testsupport::readFile(elsewhere), QByteArray("{\\rtf1 privat\\par}"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}
