#include "shell/EndDialog.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace celltrove::shell;

namespace {

QByteArray logLines(int count) {
    QByteArray bytes;
    for (int i = 1; i <= count; ++i) bytes += "Zeile " + QByteArray::number(i) + " \xc3\xa4\r\n";
    return bytes;
}

}  // namespace

TEST(EndDialog, ShowLogExpandsBackCollapsesAndShowReadsTheFileAgain) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("Celltrove4Excel-Export.log"));
    ASSERT_TRUE(testsupport::writeFile(log, logLines(50)));
    EndDialog d(germanText);
    d.prepare(QStringLiteral("Text-Export: Vorgang beendet."));
    d.setLogFilePath(log);
    auto *text = d.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    EXPECT_EQ(d.findChild<QPushButton *>(QStringLiteral("cmdShowLog"))->text(), QStringLiteral("&Log-Datei anzeigen"));
    EXPECT_EQ(d.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Text-Export: Vorgang beendet."));
    EXPECT_FALSE(d.expanded());

    int backs = 0;
    QObject::connect(&d, &EndDialog::backToMainWindow, [&] { ++backs; });
    d.findChild<QPushButton *>(QStringLiteral("cmdShowLog"))->click();
    EXPECT_TRUE(d.expanded());
    EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("Zeile 1 ä")));
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("Zeile 50 ä")));
    EXPECT_FALSE(text->toPlainText().contains(QLatin1Char('\r')));

    d.findChild<QPushButton *>(QStringLiteral("cmdBack"))->click();
    EXPECT_EQ(backs, 1);
    EXPECT_FALSE(d.expanded());
    EXPECT_TRUE(text->toPlainText().isEmpty());

    ASSERT_TRUE(testsupport::writeFile(log, "neu\r\n"));
    d.showLog();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("neu\n"));
}

TEST(EndDialog, ShowLogWithoutAFileChangesNothing) {
    EndDialog d(germanText);
    d.setLogFilePath(QStringLiteral("/nonexistent/folder/x.log"));
    d.showLog();
    EXPECT_FALSE(d.expanded());
}

TEST(EndDialog, SaveWritesTheShownLogAndCancelWritesNothing) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("run.log"));
    ASSERT_TRUE(testsupport::writeFile(log, logLines(3)));
    EndDialog d(germanText);
    d.setLogFilePath(log);
    d.showLog();

    QString askedTitle, askedStart, askedFilter;
    QString answer = dir.filePath(QStringLiteral("copy.log"));
    d.setSavePathChooser([&](QWidget *, const QString &title, const QString &start, const QString &filter) {
        askedTitle = title;
        askedStart = start;
        askedFilter = filter;
        return answer;
    });
    d.saveLog();
    EXPECT_EQ(askedTitle, QStringLiteral("Speichern unter..."));
    EXPECT_EQ(askedStart, log);
    EXPECT_EQ(askedFilter, QStringLiteral("LOG-Datei (*.log);;alle Dateien (*.*)"));
    EXPECT_EQ(testsupport::readFile(answer), logLines(3));

    answer = dir.filePath(QStringLiteral("missing-folder/copy.log"));
    EXPECT_FALSE(d.saveLog());

    answer = dir.filePath(QStringLiteral("cancelled.log"));
    d.setSavePathChooser([](QWidget *, const QString &, const QString &, const QString &) { return QString(); });
    EXPECT_TRUE(d.saveLog());
    EXPECT_FALSE(QFile::exists(answer));
}

TEST(EndDialog, EveryWayOutButQuitActsAsBack) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("run.log"));
    ASSERT_TRUE(testsupport::writeFile(log, logLines(3)));
    const struct {
        const char *way;
        std::function<void(EndDialog &)> leave;
    } ways[] = {
        {"Esc", [](EndDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"frame", [](EndDialog &d) { d.close(); }},
        {"Back", [](EndDialog &d) { d.findChild<QPushButton *>(QStringLiteral("cmdBack"))->click(); }},
    };
    for (const auto &w : ways) {
        EndDialog d(germanText);
        d.setLogFilePath(log);
        int backs = 0, quits = 0;
        QObject::connect(&d, &EndDialog::backToMainWindow, [&] { ++backs; });
        QObject::connect(&d, &EndDialog::quitRequested, [&] { ++quits; });
        d.show();
        d.showLog();
        w.leave(d);
        EXPECT_EQ(backs, 1) << w.way;
        EXPECT_EQ(quits, 0) << w.way;
        EXPECT_FALSE(d.isVisible()) << w.way;
        EXPECT_FALSE(d.expanded()) << w.way;
        EXPECT_TRUE(d.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText().isEmpty()) << w.way;
    }
    EndDialog d(germanText);
    int quits = 0;
    QObject::connect(&d, &EndDialog::quitRequested, [&] { ++quits; });
    d.show();
    d.findChild<QPushButton *>(QStringLiteral("cmdQuit"))->click();
    EXPECT_EQ(quits, 1);
}
