#include "shell/MainWindow.h"

#include <gtest/gtest.h>

#include <QApplication>

TEST(MainWindow, ShownWithItsTitle) {
    celltrove::shell::MainWindow window;
    window.show();
    QApplication::processEvents();
    QWidget *found = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmMain") && w->isVisible()) found = w;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->windowTitle(), QStringLiteral("Celltrove für Excel - Build 13"));
}
