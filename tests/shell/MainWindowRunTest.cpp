// The export and import buttons as the user presses them, down to the files on disk.
#include "run/RunRequest.h"
#include "run/SettingsStore.h"
#include "shell/EndDialog.h"
#include "shell/FilePanel.h"
#include "shell/MainWindow.h"
#include "shell/ProgressWindow.h"
#include "shell/TrayIcon.h"
#include "shell/UserMessages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

#include <memory>

using namespace celltrove;
using namespace celltrove::shell;

namespace {

class RecordedMessages : public UserMessages {
public:
    void critical(QWidget *, const QString &text, const QString &title) override { shown.append(title + u'|' + text); }
    QStringList shown;
};

/// A desktop with a notification area that only records.
class RecordingTray : public TrayIcon {
public:
    bool available() const override { return true; }
    void showIcon(const QString &) override { shown = true; }
    void removeIcon() override { shown = false; }
    bool iconShown() const override { return shown; }
    void showBalloon(const QString &title, const QString &text) override { balloon = title + u'|' + text; }
    void setMenuTexts(const QString &, const QString &, bool) override {}
    bool shown = false;
    QString balloon;
};

struct RunFixture {
    QTemporaryDir dir;
    std::unique_ptr<run::SettingsStore> settings;
    RecordedMessages messages;
    RecordingTray *tray = new RecordingTray;
    std::unique_ptr<MainWindow> window;

    QString work() const { return dir.filePath(QStringLiteral("work")); }
    RunFixture() {
        QDir(dir.path()).mkpath(QStringLiteral("work"));
        settings = std::make_unique<run::SettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
        MainWindowSetup setup;
        setup.settings = settings.get();
        setup.messages = &messages;
        setup.languageFolder = testsupport::binDir();
        setup.defaultFolder = work();
        setup.tray = tray;
        window = std::make_unique<MainWindow>(setup);
        window->show();
    }
    template <typename W>
    W *get(const char *name) const {
        W *w = window->findChild<W *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void press(const char *button) { get<QAbstractButton>(button)->click(); }
    bool copyCorpus(const char *name) {
        return QFile::copy(testsupport::corpusFile(QStringLiteral("xls/") + QLatin1String(name)),
                           work() + u'/' + QLatin1String(name));
    }
    QStringList filesLike(const QString &pattern) const { return QDir(work()).entryList({pattern}, QDir::Files); }
};

void touch(const QString &path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(MainWindowRun, ExportUnderTheRtfFilterIsRefusedAndTheFilterGoesBackToExcel) {
    RunFixture f;
    touch(f.work() + QStringLiteral("/a.rtf"));
    f.window->filePanel()->setFolder(f.work());
    f.window->filePanel()->setFilterIndex(1);
    ASSERT_EQ(f.window->filePanel()->selectedEntries(), QStringList{QStringLiteral("a.rtf")});
    f.press("cmdExport");
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Fehler|Für den Export nur XLS-Dateien auswählen!")});
    EXPECT_EQ(f.get<QComboBox>("cmbFileTypes")->currentIndex(), 0);
    EXPECT_TRUE(f.window->isEnabled());
    EXPECT_FALSE(f.window->runInProgress());
    EXPECT_FALSE(f.window->endDialog()->isVisible());
    EXPECT_FALSE(f.window->progressWindow()->isVisible());
}

TEST(MainWindowRun, ImportUnderTheExcelFilterIsRefusedAndTheFilterGoesToRtf) {
    RunFixture f;
    touch(f.work() + QStringLiteral("/a.xls"));
    f.window->filePanel()->setFolder(f.work());
    f.press("cmdImport");
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Fehler|Für den Import nur RTF-Dateien auswählen!")});
    EXPECT_EQ(f.get<QComboBox>("cmbFileTypes")->currentIndex(), 1);
    EXPECT_TRUE(f.window->isEnabled());
}

TEST(MainWindowRun, ExportWithNothingSelectedSaysSoAndGivesTheWindowBack) {
    RunFixture f;
    touch(f.work() + QStringLiteral("/a.xls"));
    f.window->filePanel()->setFolder(f.work());
    f.window->filePanel()->deselectAll();
    f.press("cmdExport");
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Fehler|Keine Dateien gewählt!")});
    EXPECT_TRUE(f.window->isEnabled());
    EXPECT_FALSE(f.window->endDialog()->isVisible());
}

TEST(MainWindowRun, ExportWritesTheDocumentsAndTheLogAndEndsInTheEndDialog) {
    REQUIRE_CORPUS();
    RunFixture f;
    ASSERT_TRUE(f.copyCorpus("edr_TestUnicodeChars.xls"));
    ASSERT_TRUE(f.copyCorpus("cal_any_sheets.xls"));
    f.window->filePanel()->setFolder(f.work());
    ASSERT_EQ(f.window->filePanel()->selectedEntries().size(), 2);
    // An inverted column range is widened to every column before the run.
    f.get<QCheckBox>("chkBereich")->setChecked(true);
    f.get<QSpinBox>("sevSpalte1")->setValue(7);
    f.get<QSpinBox>("sevSpalte2")->setValue(3);

    f.press("cmdExport");
    EXPECT_TRUE(f.messages.shown.isEmpty()) << f.messages.shown.join(u'\n').toStdString();
    EXPECT_EQ(f.get<QSpinBox>("sevSpalte1")->value(), 1);
    EXPECT_EQ(f.get<QSpinBox>("sevSpalte2")->value(), 256);
    const QString log = f.work() + QStringLiteral("/Celltrove4Excel-Export.log");
    const QByteArray logText = testsupport::readFile(log);
    EXPECT_FALSE(f.filesLike(QStringLiteral("Text_edr_TestUnicodeChars.xls-*.rtf")).isEmpty()) << logText.toStdString();
    EXPECT_FALSE(f.filesLike(QStringLiteral("Text_cal_any_sheets.xls-*.rtf")).isEmpty()) << f.filesLike("*").join(' ').toStdString();
    EXPECT_TRUE(logText.startsWith("Celltrove für Excel - Build 13\r\n"));
    EXPECT_TRUE(logText.contains("exportiere cal_any_sheets.xls\r\n"));
    EXPECT_TRUE(logText.contains("exportiere edr_TestUnicodeChars.xls\r\n"));

    // Every entry ends deselected; the window waits for the end dialog.
    EXPECT_TRUE(f.window->filePanel()->selectedEntries().isEmpty());
    EXPECT_FALSE(f.window->isEnabled());
    EXPECT_FALSE(f.window->progressWindow()->isVisible());
    EndDialog *end = f.window->endDialog();
    EXPECT_TRUE(end->isVisible());
    EXPECT_EQ(end->logFilePath(), log);
    EXPECT_EQ(end->windowTitle(), QStringLiteral("Celltrove für Excel"));
    end->findChild<QAbstractButton *>(QStringLiteral("cmdBack"))->click();
    EXPECT_TRUE(f.window->isEnabled());
    EXPECT_FALSE(end->isVisible());
    // The run made its folder the most recent project.
    EXPECT_EQ(f.settings->projectFolders().first(), QDir::cleanPath(f.work()));
}

TEST(MainWindowRun, MinimisedDuringARunTheEndIsABalloonAndTheTrayBringsBackTheEndDialog) {
    REQUIRE_CORPUS();
    RunFixture f;
    ASSERT_TRUE(f.copyCorpus("edr_TestUnicodeChars.xls"));
    f.window->filePanel()->setFolder(f.work());
    ProgressWindow *progress = f.window->progressWindow();
    bool minimised = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (minimised || !progress->isVisible()) return;
        progress->setWindowState(Qt::WindowMinimized);
        minimised = true;
    });
    during.start(0);
    f.press("cmdExport");
    during.stop();
    ASSERT_TRUE(minimised) << "the run ended before the progress window was seen";
    QApplication::processEvents();
    EXPECT_TRUE(progress->minimizedToTray());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_EQ(f.tray->balloon, QStringLiteral("Celltrove|Vorgang beendet."));
    EXPECT_FALSE(f.window->endDialog()->isVisible());

    progress->trayDoubleClicked();
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(f.window->endDialog()->isVisible());
    EXPECT_FALSE(f.tray->shown);
    EXPECT_FALSE(progress->minimizedToTray());
}

TEST(MainWindowRun, ARunPutsItsFolderFirstInTheProjectList) {
    REQUIRE_CORPUS();
    const auto key = [](int i) { return QStringLiteral("Project%1").arg(i); };
    const struct {
        const char *name;
        int sameAsWork;  // 1-based stored entry naming the work folder in other case, 0 for none
        QList<int> expected;  // stored entries, 1-based, that follow the work folder afterwards
    } cases[] = {
        {"eight others: the eighth drops out", 0, {1, 2, 3, 4, 5, 6, 7}},
        {"work folder stored in other case: it drops out", 3, {1, 2, 4, 5, 6, 7, 8}},
    };
    for (const auto &c : cases) {
        RunFixture f;
        ASSERT_TRUE(f.copyCorpus("cal_any_sheets.xls"));
        QStringList stored;
        for (int i = 1; i <= 8; ++i) {
            const QString folder = i == c.sameAsWork ? QDir::cleanPath(f.work()).toUpper() : f.dir.filePath(key(i));
            stored.append(folder);
            f.settings->setValue(QStringLiteral("ProjectFolders"), key(i), folder);
        }
        f.window->filePanel()->setFolder(f.work());
        f.press("cmdExport");
        QStringList expected{QDir::cleanPath(f.work())};
        for (int i : c.expected) expected.append(stored.at(i - 1));
        EXPECT_EQ(f.settings->projectFolders(), expected) << c.name;
    }
}

TEST(MainWindowRun, ExportThenImportATranslatedDocumentChangesTheWorkbook) {
    RunFixture f;
    const QString workbook = f.work() + QStringLiteral("/export-basic.xls");
    ASSERT_TRUE(QFile::copy(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"), workbook));
    f.window->filePanel()->setFolder(f.work());
    f.press("cmdExport");
    ASSERT_TRUE(f.messages.shown.isEmpty()) << f.messages.shown.join(u'\n').toStdString();
    f.window->endDialog()->back();

    // The translator's work: one cell text of the first sheet's document changes.
    const QString document = f.work() + QStringLiteral("/Text_export-basic.xls-1.rtf");
    QByteArray rtf = testsupport::readFile(document);
    ASSERT_TRUE(rtf.contains("\\pard\\plain Haus und Hof\\par"));
    rtf.replace("\\pard\\plain Haus und Hof\\par", "\\pard\\plain House and yard\\par");
    ASSERT_TRUE(testsupport::writeFile(document, rtf));
    ASSERT_FALSE(testsupport::readFile(workbook).contains("House and yard"));

    f.window->filePanel()->setFilterIndex(1);
    ASSERT_TRUE(f.window->filePanel()->selectedEntries().contains(QStringLiteral("Text_export-basic.xls-1.rtf")));
    f.press("cmdImport");
    const QByteArray log = testsupport::readFile(f.work() + QStringLiteral("/Celltrove4Excel-Import.log"));
    EXPECT_TRUE(f.messages.shown.isEmpty()) << f.messages.shown.join(u'\n').toStdString();
    EXPECT_TRUE(log.contains("importiere Text_export-basic.xls-1.rtf\r\n")) << log.toStdString();
    EXPECT_FALSE(log.contains("Error: Mindestens 1 Fehler vorhanden.")) << log.toStdString();
    EXPECT_TRUE(testsupport::readFile(workbook).contains("House and yard"));
    EXPECT_TRUE(f.window->endDialog()->isVisible());
    EXPECT_EQ(f.window->endDialog()->logFilePath(), f.work() + QStringLiteral("/Celltrove4Excel-Import.log"));
    EXPECT_TRUE(f.window->filePanel()->selectedEntries().isEmpty());
}

TEST(MainWindowRun, EveryExportFormatRunsFromTheMainWindow) {
    const struct {
        run::ExportFormat format;
        const char *file;
    } cases[] = {
        {run::ExportFormat::RtfTables, "Tab_formats.xls-1.rtf"}, {run::ExportFormat::Doc, "Doc_formats.xls-1.doc"},
        {run::ExportFormat::Text, "formats.xls1.txt"},            {run::ExportFormat::UnicodeText, "formats.xls1-uni.txt"},
        {run::ExportFormat::Html, "formats.xls.html"},
    };
    for (const auto &c : cases) {
        RunFixture f;
        ASSERT_TRUE(QFile::copy(testsupport::fixtureDir() + QStringLiteral("/xls/formats.xls"),
                                f.work() + QStringLiteral("/formats.xls")));
        f.window->filePanel()->setFolder(f.work());
        QComboBox *formats = f.get<QComboBox>("comboSelect");
        formats->setCurrentIndex(formats->findText(run::ExportFormatCaption(c.format)));
        ASSERT_GT(formats->currentIndex(), 0);
        f.press("cmdExport");
        EXPECT_TRUE(f.messages.shown.isEmpty()) << f.messages.shown.join(u'\n').toStdString();
        const QByteArray log = testsupport::readFile(f.work() + QStringLiteral("/Celltrove4Excel-Export.log"));
        EXPECT_TRUE(log.contains(("Option: Export " + f.get<QComboBox>("comboSelect")->currentText()).toUtf8()))
            << log.toStdString();
        EXPECT_TRUE(log.contains("-- Gemischt") || c.format == run::ExportFormat::Html) << log.toStdString();
        // Whether the Word document is written is the export tests' concern; here the run is.
        if (c.format != run::ExportFormat::Doc) {
            EXPECT_FALSE(log.contains("Error: Mindestens 1 Fehler vorhanden.")) << log.toStdString();
            EXPECT_TRUE(QFile::exists(f.work() + u'/' + QLatin1String(c.file))) << c.file;
        }
        EXPECT_TRUE(f.window->endDialog()->isVisible());
    }
}

TEST(MainWindowRun, EscOrTheFrameOnTheEndDialogGivesTheWindowBack) {
    const struct {
        const char *way;
        std::function<void(EndDialog &)> leave;
    } ways[] = {
        {"Esc", [](EndDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"frame", [](EndDialog &d) { d.close(); }},
    };
    for (const auto &w : ways) {
        RunFixture f;
        ASSERT_TRUE(QFile::copy(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"),
                                f.work() + QStringLiteral("/export-basic.xls")));
        f.window->filePanel()->setFolder(f.work());
        bool shutDown = false;
        QObject::connect(f.window.get(), &MainWindow::shutDown, [&] { shutDown = true; });
        f.press("cmdExport");
        ASSERT_TRUE(f.window->endDialog()->isVisible()) << w.way;
        ASSERT_FALSE(f.window->isEnabled()) << w.way;
        w.leave(*f.window->endDialog());
        EXPECT_TRUE(f.window->isEnabled()) << w.way;
        EXPECT_TRUE(f.window->isVisible()) << w.way;
        EXPECT_FALSE(f.window->endDialog()->isVisible()) << w.way;
        EXPECT_FALSE(shutDown) << w.way;
    }
}

TEST(MainWindowRun, ARunWorksInTheFolderChosenByKeyboard) {
    RunFixture f;
    QDir(f.work()).mkpath(QStringLiteral("a"));
    QDir(f.work()).mkpath(QStringLiteral("b"));
    ASSERT_TRUE(QFile::copy(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"),
                            f.work() + QStringLiteral("/b/export-basic.xls")));
    f.window->filePanel()->setFolder(f.work() + QStringLiteral("/a"));
    auto *tree = f.get<QTreeView>("Dir1");
    const QModelIndex parent = tree->currentIndex().parent();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->model()->rowCount(parent) == 2; }, 5000));
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(f.window->filePanel()->selectedEntries(), QStringList{QStringLiteral("export-basic.xls")});
    f.press("cmdExport");
    EXPECT_TRUE(f.messages.shown.isEmpty()) << f.messages.shown.join(u'\n').toStdString();
    EXPECT_TRUE(QFile::exists(f.work() + QStringLiteral("/b/Celltrove4Excel-Export.log")));
    EXPECT_TRUE(QFile::exists(f.work() + QStringLiteral("/b/Text_export-basic.xls-1.rtf")));
    EXPECT_FALSE(QFile::exists(f.work() + QStringLiteral("/a/Celltrove4Excel-Export.log")));
}

TEST(MainWindowRun, DuringARunOnlyTheMainWindowShowsTheBusyPointer) {
    RunFixture f;
    ASSERT_TRUE(QFile::copy(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"),
                            f.work() + QStringLiteral("/export-basic.xls")));
    f.window->filePanel()->setFolder(f.work());
    ProgressWindow *progress = f.window->progressWindow();
    bool seen = false;
    QTimer during;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (seen || !progress->isVisible()) return;
        seen = true;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(f.window->cursor().shape(), Qt::BusyCursor);
        EXPECT_EQ(progress->cursor().shape(), Qt::ArrowCursor);
    });
    during.start(0);
    f.press("cmdExport");
    during.stop();
    ASSERT_TRUE(seen) << "the run ended before the progress window was seen";
    EXPECT_EQ(f.window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
