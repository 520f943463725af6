#include "run/LanguageFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using celltrove::run::LanguageFolderFor;

TEST(LanguageFolder, BesideTheProgramFirstThenTheInstalledFolder) {
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("usr/bin"));
    QDir(root.path()).mkpath(QStringLiteral("usr/share/celltrove/lng"));
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString installed = root.filePath(QStringLiteral("usr/share/celltrove/lng"));
    // An installed program: nothing beside it.
    EXPECT_EQ(LanguageFolderFor(bin), installed);
    // A build tree or a copied program: its own files win.
    QFile beside(bin + QStringLiteral("/English.lng"));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(LanguageFolderFor(bin), bin);
}
