#include "shell/AboutBox.h"
#include "shell/LanguageFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

using namespace celltrove::shell;

TEST(AboutBox, ShowsVersionSystemAndUser) {
    AboutBox box([](const QString &k) { return k == QStringLiteral("Version: ") ? QStringLiteral("Ver. ") : k; });
    EXPECT_EQ(box.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info über Celltrove für Excel"));
    EXPECT_EQ(box.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Ver. 1.0.13"));
    EXPECT_EQ(box.findChild<QLabel *>(QStringLiteral("lblOS"))->text(), QStringLiteral("OS: ") + AboutBox::operatingSystemName());
    EXPECT_FALSE(AboutBox::operatingSystemName().isEmpty());
    EXPECT_EQ(box.findChild<QLabel *>(QStringLiteral("lblUser"))->text(), QStringLiteral("User: ") + AboutBox::userName());
}

TEST(LanguageFiles, CaptionsComeFromTheFileNamesWithoutTheGermanOne) {
    QTemporaryDir dir;
    for (const char *name : {"deutsch.lng", "English.lng", "français.LNG", "notes.txt", ".lng"}) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(languageCaptions(dir.path()), (QStringList{QStringLiteral("English"), QStringLiteral("Français")}));
    QTemporaryDir onlyGerman;
    QFile f(onlyGerman.filePath(QStringLiteral("Deutsch.lng")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    EXPECT_TRUE(languageCaptions(onlyGerman.path()).isEmpty());
}
