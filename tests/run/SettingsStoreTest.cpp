#include "run/SettingsStore.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using celltrove::run::SettingsStore;

namespace {

QStringList stored(const SettingsStore &s) {
    QStringList list = s.projectFolders();
    while (!list.isEmpty() && list.last().isEmpty()) list.removeLast();
    return list;
}

void store(SettingsStore &s, const QStringList &folders) {
    for (int i = 0; i < folders.size(); ++i)
        s.setValue(QStringLiteral("ProjectFolders"), QStringLiteral("Project%1").arg(i + 1), folders[i]);
}

}  // namespace

TEST(SettingsStore, ProjectListIsMostRecentFirstWithoutDuplicates) {
    struct Case {
        QStringList before;
        QString current;
        QStringList after;
    } cases[] = {
        {{}, QStringLiteral("/a"), {QStringLiteral("/a")}},
        {{QStringLiteral("/B"), QStringLiteral("/a"), QStringLiteral("/C")},
         QStringLiteral("/A"),
         {QStringLiteral("/A"), QStringLiteral("/B"), QStringLiteral("/C")}},
        {{QStringLiteral("/A"), QStringLiteral("/B")}, QStringLiteral("/B"), {QStringLiteral("/B"), QStringLiteral("/A")}},
        {{QStringLiteral("/1"), QStringLiteral("/2"), QStringLiteral("/3"), QStringLiteral("/4"), QStringLiteral("/5"),
          QStringLiteral("/6"), QStringLiteral("/7"), QStringLiteral("/8")},
         QStringLiteral("/9"),
         {QStringLiteral("/9"), QStringLiteral("/1"), QStringLiteral("/2"), QStringLiteral("/3"), QStringLiteral("/4"),
          QStringLiteral("/5"), QStringLiteral("/6"), QStringLiteral("/7")}},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        SettingsStore s(dir.filePath(QStringLiteral("s.ini")));
        store(s, c.before);
        s.SaveProjectPath(c.current);
        EXPECT_EQ(stored(s), c.after) << c.before.join(u',').toStdString();
    }
}

TEST(SettingsStore, TwoRunsInOneSessionKeepBothFolders) {
    QTemporaryDir dir;
    SettingsStore s(dir.filePath(QStringLiteral("s.ini")));
    store(s, {QStringLiteral("/old")});
    s.SaveProjectPath(QStringLiteral("/x"));
    s.SaveProjectPath(QStringLiteral("/y"));
    EXPECT_EQ(stored(s), (QStringList{QStringLiteral("/y"), QStringLiteral("/x"), QStringLiteral("/old")}));
}

TEST(SettingsStore, ValuesPersistAsTextWithDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    {
        SettingsStore s(path);
        EXPECT_EQ(s.language(), QString());
        EXPECT_FALSE(s.showPath());
        EXPECT_EQ(s.value(QStringLiteral("Count"), QStringLiteral("Wortpreis"), QStringLiteral("0,1")),
                  QStringLiteral("0,1"));
        s.setLanguage(QStringLiteral("English"));
        s.setShowPath(true);
        s.setValue(QStringLiteral("Count"), QStringLiteral("Waehrung"), QStringLiteral("€"));
        ASSERT_TRUE(s.sync());
    }
    SettingsStore again(path);
    EXPECT_EQ(again.language(), QStringLiteral("English"));
    EXPECT_TRUE(again.showPath());
    EXPECT_EQ(again.value(QStringLiteral("Count"), QStringLiteral("Waehrung")), QStringLiteral("€"));
}
