#include "shell/MainWindow.h"

#include "run/SettingsStore.h"
#include "shell/EndDialog.h"
#include "shell/ExportTab.h"
#include "shell/FilePanel.h"
#include "shell/OptionsDialog.h"
#include "shell/ProgramIcon.h"
#include "shell/ProgressWindow.h"
#include "shell/ProjectMenu.h"
#include "shell/QtTranslations.h"
#include "shell/UserMessages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

using namespace celltrove;
using namespace celltrove::shell;

namespace {

/// Message boxes, recorded instead of shown.
class RecordedMessages : public UserMessages {
public:
    void critical(QWidget *, const QString &text, const QString &title) override { shown.append(title + u'|' + text); }
    QStringList shown;
};

/// A main window over a settings file and a language folder of its own.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<run::SettingsStore> settings;
    RecordedMessages messages;
    std::unique_ptr<MainWindow> window;

    QString path(const QString &name) const { return dir.filePath(name); }
    QString languageFolder() const { return path(QStringLiteral("lng")); }

    Fixture() {
        QDir(dir.path()).mkpath(QStringLiteral("lng"));
        QDir(dir.path()).mkpath(QStringLiteral("home"));
        for (const char *name : {"English.lng", "deutsch.lng"}) {
            const QString from = testsupport::binDir() + u'/' + QLatin1String(name);
            EXPECT_TRUE(QFile::copy(from, languageFolder() + u'/' + QLatin1String(name))) << from.toStdString();
        }
        settings = std::make_unique<run::SettingsStore>(path(QStringLiteral("settings.ini")));
    }
    MainWindow &open() {
        MainWindowSetup setup;
        setup.settings = settings.get();
        setup.messages = &messages;
        setup.languageFolder = languageFolder();
        setup.defaultFolder = path(QStringLiteral("home"));
        window = std::make_unique<MainWindow>(setup);
        return *window;
    }
    /// Closes the window as the user does and reads the settings back from disk.
    run::SettingsStore closeAndReload() {
        window->close();
        window.reset();
        settings.reset();
        return run::SettingsStore(path(QStringLiteral("settings.ini")));
    }
};

/// Every caption a user can read on the main window, by object name, except texts that are
/// never translated (the format list, the hint, counts, letters, menu items built from data).
std::map<QString, QString> captions(MainWindow &w) {
    std::map<QString, QString> texts;
    texts[QStringLiteral("title")] = w.windowTitle();
    // Only the main window's own controls: the progress window and the end dialog are
    // windows of their own that fill their texts when they are used.
    for (QAbstractButton *b : w.findChildren<QAbstractButton *>())
        if (b->window() == &w && (b->objectName().startsWith(QLatin1String("cmd")) ||
                                  b->objectName().startsWith(QLatin1String("chk"))))
            texts[b->objectName()] = b->text();
    for (QLabel *l : w.findChildren<QLabel *>())
        if (l->window() == &w && !l->objectName().isEmpty() && !l->objectName().startsWith(QLatin1String("lab")) &&
            l->objectName() != QLatin1String("LabelDatAnz"))
            texts[l->objectName()] = l->text();
    for (QMenu *m : w.findChildren<QMenu *>())
        if (!m->objectName().isEmpty() && m->objectName() != QLatin1String("mnuHelp")) texts[m->objectName()] = m->title();
    for (const char *name : {"mnuClose", "mnuShowPath", "mnuInfo", "mnuOptionen"})
        texts[QLatin1String(name)] = w.findChild<QAction *>(QLatin1String(name))->text();
    auto *filter = w.findChild<QComboBox *>(QStringLiteral("cmbFileTypes"));
    for (int i = 0; i < filter->count(); ++i) texts[QStringLiteral("filter%1").arg(i)] = filter->itemText(i);
    texts[QStringLiteral("tab0")] = w.findChild<QTabWidget *>(QStringLiteral("SSTab1"))->tabText(0);
    texts[QStringLiteral("tip")] = w.findChild<QWidget *>(QStringLiteral("chkSpalten"))->toolTip();
    return texts;
}

void touch(const QString &path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(MainWindow, FirstStartIsGermanWithoutProjects) {
    Fixture f;
    MainWindow &w = f.open();
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Celltrove für Excel - Build 13"));
    EXPECT_EQ(w.languages(), (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English")}));
    EXPECT_EQ(w.currentLanguage(), QStringLiteral("Deutsch"));
    EXPECT_FALSE(w.findChild<QMenu *>(QStringLiteral("mnuProject"))->isEnabled());
    EXPECT_FALSE(w.findChild<QAction *>(QStringLiteral("mnuShowPath"))->isChecked());
    EXPECT_EQ(w.filePanel()->currentFolder(), f.path(QStringLiteral("home/")));
    EXPECT_EQ(w.findChild<QComboBox *>(QStringLiteral("cmbFileTypes"))->currentIndex(), 0);
    EXPECT_EQ(w.findChild<QAbstractButton *>(QStringLiteral("cmdExport"))->text(), QStringLiteral("Exportiere Text"));
}

TEST(MainWindow, SwitchingToEnglishAndBackChangesEveryCaption) {
    Fixture f;
    MainWindow &w = f.open();
    const auto german = captions(w);
    EXPECT_GE(german.size(), 26u);
    ASSERT_TRUE(w.chooseLanguage(QStringLiteral("English")));
    const auto english = captions(w);
    ASSERT_EQ(english.size(), german.size());
    for (const auto &[name, text] : german) {
        EXPECT_NE(english.at(name), text) << name.toStdString() << " stays \"" << text.toStdString() << '"';
        EXPECT_FALSE(english.at(name).isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(w.currentLanguage(), QStringLiteral("English"));
    EXPECT_FALSE(w.chooseLanguage(QStringLiteral("English")));  // already chosen: nothing happens
    ASSERT_TRUE(w.chooseLanguage(QStringLiteral("Deutsch")));
    EXPECT_EQ(captions(w), german);
}

TEST(MainWindow, LanguageWhoseFileWentAwayKeepsTheCurrentTexts) {
    Fixture f;
    MainWindow &w = f.open();
    ASSERT_TRUE(w.chooseLanguage(QStringLiteral("English")));
    const auto english = captions(w);
    ASSERT_TRUE(QFile::remove(f.languageFolder() + QStringLiteral("/deutsch.lng")));
    EXPECT_FALSE(w.chooseLanguage(QStringLiteral("Deutsch")));
    EXPECT_EQ(captions(w), english);
    EXPECT_EQ(w.currentLanguage(), QStringLiteral("English"));
    EXPECT_EQ(w.T(QStringLiteral("Fehler")), QStringLiteral("Error"));
}

TEST(MainWindow, ShutdownStoresLanguageAndShowPathAndNextStartUsesThem) {
    Fixture f;
    f.open();
    ASSERT_TRUE(f.window->chooseLanguage(QStringLiteral("English")));
    f.window->findChild<QAction *>(QStringLiteral("mnuShowPath"))->setChecked(true);
    run::SettingsStore stored = f.closeAndReload();
    EXPECT_EQ(stored.language(), QStringLiteral("English"));
    EXPECT_TRUE(stored.showPath());

    f.settings = std::make_unique<run::SettingsStore>(f.path(QStringLiteral("settings.ini")));
    MainWindow &w = f.open();
    EXPECT_EQ(w.currentLanguage(), QStringLiteral("English"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Celltrove for Excel - Build 13"));
    EXPECT_TRUE(w.findChild<QAction *>(QStringLiteral("mnuShowPath"))->isChecked());
}

TEST(MainWindow, ProjectMenuShowsStoredFoldersAndStartsInTheFirst) {
    Fixture f;
    QStringList folders;
    for (int i = 1; i <= 3; ++i) {
        folders.append(f.path(QStringLiteral("Projekt%1").arg(i)));
        QDir().mkpath(folders.last());
        f.settings->setValue(QStringLiteral("ProjectFolders"), QStringLiteral("Project%1").arg(i), folders.last());
    }
    touch(folders.at(0) + QStringLiteral("/a.xls"));
    QDir(folders.at(2)).removeRecursively();  // gone since it was stored
    MainWindow &w = f.open();
    EXPECT_TRUE(w.findChild<QMenu *>(QStringLiteral("mnuProject"))->isEnabled());
    EXPECT_EQ(w.filePanel()->currentFolder(), folders.at(0) + u'/');
    EXPECT_EQ(w.filePanel()->selectedEntries(), QStringList{QStringLiteral("a.xls")});

    auto *item1 = w.findChild<QAction *>(QStringLiteral("mnuProjectFolder1"));
    auto *item4 = w.findChild<QAction *>(QStringLiteral("mnuProjectFolder4"));
    EXPECT_EQ(item1->text(), QStringLiteral("Projekt1"));
    EXPECT_TRUE(item1->isVisible());
    EXPECT_FALSE(item4->isVisible());
    EXPECT_FALSE(item4->isEnabled());
    w.findChild<QAction *>(QStringLiteral("mnuShowPath"))->trigger();
    EXPECT_EQ(item1->text(), folders.at(0));

    w.findChild<QAction *>(QStringLiteral("mnuProjectFolder2"))->trigger();
    EXPECT_EQ(w.filePanel()->currentFolder(), folders.at(1) + u'/');
    w.findChild<QAction *>(QStringLiteral("mnuProjectFolder3"))->trigger();
    EXPECT_EQ(w.filePanel()->currentFolder(), folders.at(1) + u'/');
    EXPECT_EQ(f.messages.shown, QStringList{QStringLiteral("Fehler|Der Pfad des gewählten Projekts existiert nicht.")});
}

TEST(MainWindow, ChangingFolderReselectsEverySourceEntry) {
    Fixture f;
    MainWindow &w = f.open();
    touch(f.path(QStringLiteral("home/a.xls")));
    touch(f.path(QStringLiteral("home/b.XLS")));
    w.filePanel()->setFolder(f.path(QStringLiteral("home")));
    w.filePanel()->deselectAll();
    w.filePanel()->setFolder(f.path(QStringLiteral("home")));
    EXPECT_EQ(w.filePanel()->selectedEntries().size(), 2);
    EXPECT_EQ(w.findChild<QLabel *>(QStringLiteral("LabelDatAnz"))->text(), QStringLiteral("(2)"));
}

TEST(OptionsDialog, ShowsDefaultsAndStoresWhatOkConfirms) {
    Fixture f;
    {
        OptionsDialog d(*f.settings, germanText);
        EXPECT_DOUBLE_EQ(d.findChild<QDoubleSpinBox *>(QStringLiteral("txtPreisZ"))->value(), 1.0);
        EXPECT_DOUBLE_EQ(d.findChild<QDoubleSpinBox *>(QStringLiteral("txtPreisW"))->value(), 0.13);
        EXPECT_EQ(d.findChild<QSpinBox *>(QStringLiteral("txtZeichenProZeile"))->value(), 53);
        auto *currency = d.findChild<QComboBox *>(QStringLiteral("sevWaehrung"));
        EXPECT_EQ(currency->currentText(), QStringLiteral("€"));
        EXPECT_EQ(currency->count(), 10);
        currency->setCurrentIndex(currency->findText(QStringLiteral("GBP")));
        d.findChild<QDoubleSpinBox *>(QStringLiteral("txtPreisW"))->setValue(0.2);
        d.findChild<QSpinBox *>(QStringLiteral("txtZeichenProZeile"))->setValue(60);
        d.findChild<QAbstractButton *>(QStringLiteral("cmdOK"))->click();
    }
    const QString count = QStringLiteral("Count");
    EXPECT_EQ(f.settings->value(count, QStringLiteral("Waehrung")), QStringLiteral("GBP"));
    EXPECT_EQ(f.settings->value(count, QStringLiteral("WaehrungLI")), QStringLiteral("4"));
    EXPECT_EQ(f.settings->value(count, QStringLiteral("ZeichenProZeile")), QStringLiteral("60"));
    EXPECT_EQ(f.settings->value(count, QStringLiteral("Wortpreis")), QLocale::system().toString(0.2));
    EXPECT_EQ(f.settings->value(count, QStringLiteral("Zeilenpreis")), QStringLiteral("1"));
    {
        OptionsDialog d(*f.settings, germanText);
        EXPECT_EQ(d.findChild<QComboBox *>(QStringLiteral("sevWaehrung"))->currentText(), QStringLiteral("GBP"));
        EXPECT_DOUBLE_EQ(d.findChild<QDoubleSpinBox *>(QStringLiteral("txtPreisW"))->value(), 0.2);
        // The empty currency entry is stored as an empty text with its index.
        d.findChild<QComboBox *>(QStringLiteral("sevWaehrung"))->setCurrentIndex(2);
        d.findChild<QDoubleSpinBox *>(QStringLiteral("txtPreisZ"))->setValue(2.5);
        d.findChild<QAbstractButton *>(QStringLiteral("cmdCancel"))->click();
    }
    EXPECT_EQ(f.settings->value(count, QStringLiteral("WaehrungLI")), QStringLiteral("4"));
    EXPECT_EQ(f.settings->value(count, QStringLiteral("Zeilenpreis")), QStringLiteral("1"));
    {
        OptionsDialog d(*f.settings, germanText);
        d.findChild<QComboBox *>(QStringLiteral("sevWaehrung"))->setCurrentIndex(2);
        d.accept();
    }
    EXPECT_EQ(f.settings->value(count, QStringLiteral("Waehrung"), QStringLiteral("unset")), QString());
    EXPECT_EQ(f.settings->value(count, QStringLiteral("WaehrungLI")), QStringLiteral("2"));
}

TEST(OptionsDialog, UnreadableStoredValuesKeepTheFieldsWithinTheirLimits) {
    Fixture f;
    const QString count = QStringLiteral("Count");
    f.settings->setValue(count, QStringLiteral("ZeichenProZeile"), QStringLiteral("0"));
    f.settings->setValue(count, QStringLiteral("Zeilenpreis"), QStringLiteral("teuer"));
    f.settings->setValue(count, QStringLiteral("WaehrungLI"), QStringLiteral("17"));
    OptionsDialog d(*f.settings, germanText);
    EXPECT_EQ(d.findChild<QSpinBox *>(QStringLiteral("txtZeichenProZeile"))->value(), 1);
    EXPECT_DOUBLE_EQ(d.findChild<QDoubleSpinBox *>(QStringLiteral("txtPreisZ"))->value(), 1.0);
    EXPECT_EQ(d.findChild<QComboBox *>(QStringLiteral("sevWaehrung"))->currentIndex(), 0);
}

TEST(MainWindow, QtsOwnTextsFollowTheInterfaceLanguage) {
    // The log box's context menu, as Qt builds it, in the language of the moment.
    const auto copyText = [] { return QCoreApplication::translate("QWidgetTextControl", "&Copy"); };
    Fixture f;
    MainWindow &w = f.open();
    EXPECT_EQ(copyText(), QStringLiteral("&Kopieren"));
    ASSERT_TRUE(w.chooseLanguage(QStringLiteral("English")));
    EXPECT_EQ(copyText(), QStringLiteral("&Copy"));
    ASSERT_TRUE(w.chooseLanguage(QStringLiteral("Deutsch")));
    EXPECT_EQ(copyText(), QStringLiteral("&Kopieren"));
}

TEST(QtTranslations, LanguageCaptionsNameTheirLanguage) {
    const struct {
        const char *caption;
        int language;
    } cases[] = {
        {"Deutsch", QLocale::German}, {"English", QLocale::English}, {"français", QLocale::French},
        {"Italian", QLocale::Italian}, {"Klingonisch", QLocale::AnyLanguage}, {"", QLocale::AnyLanguage},
    };
    for (const auto &c : cases) EXPECT_EQ(languageOfCaption(QString::fromUtf8(c.caption)), c.language) << c.caption;
    QtTranslations qt;
    EXPECT_TRUE(qt.setLanguage(QStringLiteral("Deutsch")));
    EXPECT_EQ(qt.loadedLocale(), QStringLiteral("de"));
    EXPECT_FALSE(qt.setLanguage(QStringLiteral("English")));
    EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Copy"), QStringLiteral("&Copy"));
}

TEST(MainWindow, EveryWindowTheTrayAndTheAboutBoxShowTheProgramIcon) {
    // The program's own icon comes in sizes up to 256 pixels; Qt's stand-ins do not.
    const QImage own = programIcon().pixmap(48, 48).toImage();
    ASSERT_FALSE(own.isNull());
    const auto isOwn = [&](const QIcon &icon) {
        return !icon.isNull() && icon.availableSizes().contains(QSize(256, 256)) &&
               icon.pixmap(48, 48).toImage() == own;
    };
    Fixture f;
    MainWindow &w = f.open();
    w.showAbout();
    auto *about = w.findChild<QDialog *>(QStringLiteral("frmAbout"));
    ASSERT_NE(about, nullptr);
    const struct {
        const char *what;
        QIcon icon;
    } windows[] = {
        {"main window", w.windowIcon()},
        {"progress window", w.progressWindow()->windowIcon()},
        {"end dialog", w.endDialog()->windowIcon()},
        {"about box", about->windowIcon()},
        {"tray", w.progressWindow()->findChild<QSystemTrayIcon *>(QStringLiteral("sevTray1"))->icon()},
    };
    for (const auto &x : windows) EXPECT_TRUE(isOwn(x.icon)) << x.what;
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().toImage(), own);
}
