#include "shell/FilePanel.h"
#include "shell/FileFilter.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace celltrove::shell;

namespace {

void touch(const QString &path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(FileFilter, LooksAtTheLastCharactersOnly) {
    const struct {
        const char *filter;
        const char *name;
        bool listed;
    } cases[] = {
        {"Excel-Dateien (*.xls)", "A.XLS", true},   {"Excel-Dateien (*.xls)", "b.xls", true},
        {"Excel-Dateien (*.xls)", "x.xlsx", false}, {"Excel-Dateien (*.xls)", "notes-xls", true},
        {"RTF-Dateien (*.rtf)", "T.Rtf", true},     {"RTF-Dateien (*.rtf)", "a.xls", false},
        {"Alle Dateien (*.*)", "x.xlsx", true},     {"Excel files (*.xls) ", "x.doc", true},
        {"", "anything", true},
        {"XLIFF-Dateien (*.xlf)", "Text_a.xls.XLF", true}, {"XLIFF-Dateien (*.xlf)", "a.xls", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(passesFileFilter(QLatin1String(c.filter), QLatin1String(c.name)), c.listed)
            << c.filter << " / " << c.name;
}

TEST(FileFilter, PathHelpers) {
    EXPECT_EQ(lastPathComponent(QStringLiteral("/home/x/Projekt/")), QStringLiteral("Projekt"));
    EXPECT_EQ(lastPathComponent(QStringLiteral("/home/x/Projekt")), QStringLiteral("Projekt"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a")), QStringLiteral("/a/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/")), QStringLiteral("/a/"));
}

TEST(FilePanel, ListsTheFolderUnderTheFilterAllSelected) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"A.XLS", "b.xls", "x.xlsx", "t.rtf"}) touch(dir.filePath(QLatin1String(name)));
    QDir(dir.path()).mkdir(QStringLiteral("sub.xls"));  // folders are never listed

    FilePanel panel;
    panel.applyTexts(germanText);
    ASSERT_TRUE(panel.setFolder(dir.path()));
    EXPECT_EQ(panel.currentFolder(), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(panel.entries(), (QStringList{QStringLiteral("A.XLS"), QStringLiteral("b.xls")}));
    EXPECT_EQ(panel.selectedEntries(), panel.entries());
    EXPECT_EQ(panel.findChild<QLabel *>(QStringLiteral("LabelDatAnz"))->text(), QStringLiteral("(2)"));

    panel.setFilterIndex(1);
    EXPECT_EQ(panel.entries(), QStringList{QStringLiteral("t.rtf")});
    panel.setFilterIndex(2);
    EXPECT_EQ(panel.entries().size(), 4);
    panel.deselectAll();
    EXPECT_TRUE(panel.selectedEntries().isEmpty());
    EXPECT_EQ(panel.findChild<QLabel *>(QStringLiteral("LabelDatAnz"))->text(), QStringLiteral("(0)"));

    EXPECT_FALSE(panel.setFolder(dir.filePath(QStringLiteral("missing"))));
    EXPECT_EQ(panel.currentFolder(), dir.path() + QLatin1Char('/'));
}

TEST(FilePanel, FilterEntriesFollowTheLanguageAndKeepTheirIndex) {
    FilePanel panel;
    panel.applyTexts(germanText);
    auto *filter = panel.findChild<QComboBox *>(QStringLiteral("cmbFileTypes"));
    ASSERT_EQ(filter->count(), 4);
    EXPECT_EQ(filter->itemText(0), QStringLiteral("Excel-Dateien (*.xls)"));
    EXPECT_EQ(filter->itemText(2), QStringLiteral("Alle Dateien (*.*)"));
    EXPECT_EQ(filter->itemText(3), QStringLiteral("XLIFF-Dateien (*.xlf)"));
    filter->setCurrentIndex(1);
    panel.applyTexts([](const QString &k) { return k == QStringLiteral("RTF-Dateien") ? QStringLiteral("RTF files") : k; });
    ASSERT_EQ(filter->count(), 4);
    EXPECT_EQ(filter->currentText(), QStringLiteral("RTF files (*.rtf)"));
}

TEST(FilePanel, DriveListHoldsTheVolumeOfTheFolder) {
    QTemporaryDir dir;
    FilePanel panel;
    ASSERT_TRUE(panel.setFolder(dir.path()));
    EXPECT_FALSE(panel.currentDrive().isEmpty());
    EXPECT_TRUE(panel.currentFolder().startsWith(panel.currentDrive()));
}

TEST(FilePanel, AFolderHighlightedByKeyboardBecomesCurrentAsAClickMakesIt) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("a"));
    QDir(dir.path()).mkpath(QStringLiteral("b"));
    touch(dir.filePath(QStringLiteral("a/x.xls")));
    touch(dir.filePath(QStringLiteral("b/y.xls")));
    touch(dir.filePath(QStringLiteral("b/z.xls")));

    FilePanel panel;
    panel.applyTexts(germanText);
    panel.show();
    QStringList changes;
    QObject::connect(&panel, &FilePanel::folderChanged, [&](const QString &f) { changes.append(f); });
    ASSERT_TRUE(panel.setFolder(dir.filePath(QStringLiteral("a"))));
    auto *tree = panel.findChild<QTreeView *>(QStringLiteral("Dir1"));
    // The folder model reads folders in the background: wait until a's neighbour is there.
    const QModelIndex parent = tree->currentIndex().parent();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->model()->rowCount(parent) == 2; }, 5000));

    const struct {
        Qt::Key key;
        const char *folder;
        QStringList files;
    } steps[] = {
        {Qt::Key_Down, "b", {QStringLiteral("y.xls"), QStringLiteral("z.xls")}},
        {Qt::Key_Up, "a", {QStringLiteral("x.xls")}},
        {Qt::Key_Down, "b", {QStringLiteral("y.xls"), QStringLiteral("z.xls")}},
    };
    for (const auto &s : steps) {
        changes.clear();
        QTest::keyClick(tree, s.key);
        const QString expected = dir.filePath(QLatin1String(s.folder)) + u'/';
        EXPECT_EQ(panel.currentFolder(), expected) << s.folder;
        EXPECT_EQ(changes, QStringList{expected}) << s.folder;
        EXPECT_EQ(panel.entries(), s.files) << s.folder;
        EXPECT_EQ(panel.selectedEntries(), s.files) << s.folder;
        EXPECT_EQ(panel.findChild<QLabel *>(QStringLiteral("LabelDatAnz"))->text(),
                  QStringLiteral("(%1)").arg(s.files.size()))
            << s.folder;
    }
    // Going there by code lists it once.
    changes.clear();
    ASSERT_TRUE(panel.setFolder(dir.filePath(QStringLiteral("a"))));
    EXPECT_EQ(changes.size(), 1);
}
