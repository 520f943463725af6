// The tool tab: list moves, drag to reorder, the name box, the caption switch,
// the tab switch, and a join and a split through the button up to the end dialog.
#include "run/SettingsStore.h"
#include "shell/EndDialog.h"
#include "shell/FilePanel.h"
#include "shell/MainWindow.h"
#include "shell/ToolTab.h"
#include "shell/UserMessages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <memory>

using namespace celltrove;
using namespace celltrove::shell;

namespace {

const QStringList kAbcde = {"a", "b", "c", "d", "e"};

// Types text as key presses, as the user does (the validator sees each character).
void typeInto(QWidget *widget, const QString &text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

struct Tab {
    ToolTab tab;
    explicit Tab(const QStringList &entries = kAbcde) {
        tab.applyTexts(germanText);
        tab.setEntries(entries);
    }
    template <typename W>
    W *get(const char *name) {
        auto *w = tab.findChild<W *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QListWidget *list() { return get<QListWidget>("lstFileListBox2"); }
    void press(const char *button) { get<QAbstractButton>(button)->click(); }
    std::vector<int> selectedRows() {
        std::vector<int> rows;
        for (int r = 0; r < list()->count(); ++r)
            if (list()->item(r)->isSelected()) rows.push_back(r);
        return rows;
    }
};

class RecordedMessages : public UserMessages {
public:
    void critical(QWidget *, const QString &text, const QString &title) override { shown.append(title + u'|' + text); }
    QStringList shown;
};

struct Window {
    QTemporaryDir dir;
    std::unique_ptr<run::SettingsStore> settings;
    RecordedMessages messages;
    std::unique_ptr<MainWindow> window;
    QString work() const { return dir.filePath(QStringLiteral("Projekt")); }
    Window() {
        QDir(dir.path()).mkpath(QStringLiteral("Projekt"));
        settings = std::make_unique<run::SettingsStore>(dir.filePath(QStringLiteral("settings.ini")));
        MainWindowSetup setup;
        setup.settings = settings.get();
        setup.messages = &messages;
        setup.languageFolder = testsupport::binDir();
        setup.defaultFolder = work();
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
    void toolTab() { get<QTabWidget>("SSTab1")->setCurrentIndex(1); }
    QStringList filters() const {
        QStringList texts;
        auto *combo = get<QComboBox>("cmbFileTypes");
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        return texts;
    }
    void writeDocument(const QString &name, const QByteArray &text) const {
        ASSERT_TRUE(testsupport::writeFile(work() + u'/' + name, "{\\rtf1\\ansi " + text + "\\par}"));
    }
};

}  // namespace

TEST(ToolTab, MoveButtonsMoveTheCurrentEntry) {
    const struct {
        const char *button;
        int current;
        QStringList order;
        std::vector<int> selected;
    } cases[] = {
        {"cmdUp", 2, {"a", "c", "b", "d", "e"}, {1}},     {"cmdUp", 0, kAbcde, {0}},
        {"cmddown", 1, {"a", "c", "b", "d", "e"}, {2}},   {"cmddown", 4, kAbcde, {4}},
        {"cmdTop", 3, {"d", "a", "b", "c", "e"}, {0}},    {"cmdTop", 0, kAbcde, {0}},
        {"cmdButtom", 1, {"a", "c", "d", "e", "b"}, {4}}, {"cmdButtom", 4, kAbcde, {4}},
    };
    for (const auto &c : cases) {
        Tab t;
        t.list()->setCurrentRow(c.current);
        ASSERT_EQ(t.selectedRows(), std::vector<int>{c.current});
        t.press(c.button);
        EXPECT_EQ(t.tab.entries(), c.order) << c.button << " on " << c.current;
        EXPECT_EQ(t.selectedRows(), c.selected) << c.button << " on " << c.current;
    }
}

TEST(ToolTab, AddRemoveAndClearKeepEachNameOnce) {
    Tab t{QStringList()};
    t.tab.addEntries({"a.rtf", "b.rtf"});
    t.tab.addEntries({"b.rtf", "c.rtf", "a.rtf"});
    EXPECT_EQ(t.tab.entries(), (QStringList{"a.rtf", "b.rtf", "c.rtf"}));
    t.list()->item(0)->setSelected(true);
    t.list()->item(2)->setSelected(true);
    t.press("cmdLeft");
    EXPECT_EQ(t.tab.entries(), QStringList{"b.rtf"});
    t.press("cmdClearList");
    EXPECT_TRUE(t.tab.entries().isEmpty());
}

// Dragged entries move as a block one place per step, keeping their gaps; a
// block at the edge of the list stays.
TEST(ToolTab, DraggingMovesTheDraggedEntriesAsABlock) {
    Tab t;
    t.tab.dragPress(1, false);
    t.tab.dragMove(2);
    t.tab.dragMove(3);
    t.tab.dragRelease();
    EXPECT_EQ(t.tab.entries(), (QStringList{"a", "c", "d", "b", "e"}));
    EXPECT_EQ(t.selectedRows(), std::vector<int>{3});

    // Shift adds an entry to the drag set: a and c (rows 0 and 2) move down together.
    Tab block;
    block.tab.dragPress(0, false);
    block.tab.dragRelease();
    block.tab.dragPress(2, true);
    block.tab.dragMove(3);
    EXPECT_EQ(block.tab.entries(), (QStringList{"b", "a", "d", "c", "e"}));
    EXPECT_EQ(block.tab.dragSet(), (std::vector<int>{1, 3}));
    EXPECT_EQ(block.selectedRows(), (std::vector<int>{1, 3}));
    block.tab.dragMove(2);  // back up
    block.tab.dragMove(1);  // the first member is at the top: the block stays
    EXPECT_EQ(block.tab.entries(), kAbcde);
    block.tab.dragRelease();
}

TEST(ToolTab, DraggingWithTheMouse) {
    Tab t;
    t.tab.resize(400, 400);
    t.tab.show();
    QListWidget *list = t.list();
    QWidget *viewport = list->viewport();
    const auto centre = [&](int row) { return list->visualItemRect(list->item(row)).center(); };
    sendMouse(viewport, QEvent::MouseButtonPress, centre(0), Qt::LeftButton);
    sendMouse(viewport, QEvent::MouseMove, centre(1), Qt::LeftButton);
    sendMouse(viewport, QEvent::MouseButtonRelease, centre(1), Qt::NoButton);
    EXPECT_EQ(t.tab.entries(), (QStringList{"b", "a", "c", "d", "e"}));
    EXPECT_EQ(t.selectedRows(), std::vector<int>{1});
}

TEST(ToolTab, TheNameBoxRefusesWhatAFileNameCannotHold) {
    Tab t;
    auto *name = t.get<QLineEdit>("sevCatFile");
    EXPECT_EQ(name->text(), QStringLiteral("bindle.rtf"));
    name->clear();
    typeInto(name, QStringLiteral("a:b?c*d/e\\f<g>h|i\"j.rtf"));
    EXPECT_EQ(name->text(), QStringLiteral("abcdefghij.rtf"));
    t.tab.folderChanged(QStringLiteral("/home/x/Projekt Süd/"));
    EXPECT_EQ(name->text(), QStringLiteral("Projekt Süd.rtf"));
    EXPECT_TRUE(t.tab.entries().isEmpty());
}

TEST(ToolTab, TheRunButtonSaysWhatTheModeDoes) {
    Tab t;
    auto *run = t.get<QAbstractButton>("cmdCatSplit");
    EXPECT_EQ(run->text(), QStringLiteral("Cat"));
    t.get<QRadioButton>("optRTFsplit")->click();
    EXPECT_EQ(run->text(), QStringLiteral("Split"));
    EXPECT_FALSE(t.tab.concatenate());
    t.tab.applyTexts([](const QString &key) { return key == QLatin1String("Cat") ? QStringLiteral("Join") : key; });
    t.get<QRadioButton>("Optcat2rtf")->click();
    EXPECT_EQ(run->text(), QStringLiteral("Join"));
}

TEST(ToolTab, SwitchingTabsChangesTheFilterAndBringsTheOthersBack) {
    Window w;
    const QStringList exportFilters = w.filters();
    w.writeDocument(QStringLiteral("a.rtf"), "a");
    ASSERT_TRUE(testsupport::writeFile(w.work() + QStringLiteral("/b.xls"), "x"));
    w.window->filePanel()->setFolder(w.work());
    w.toolTab();
    EXPECT_EQ(w.filters(), QStringList{QStringLiteral("RTF-Dateien (*.rtf)")});
    EXPECT_EQ(w.window->filePanel()->entries(), QStringList{QStringLiteral("a.rtf")});
    EXPECT_TRUE(w.get<QRadioButton>("Optcat2rtf")->isChecked());
    EXPECT_TRUE(w.get<QWidget>("lstFileListBox2")->isVisible());
    EXPECT_EQ(w.get<QLineEdit>("sevCatFile")->text(), QStringLiteral("Projekt.rtf"));
    w.get<QTabWidget>("SSTab1")->setCurrentIndex(0);
    EXPECT_EQ(w.filters(), exportFilters);
    EXPECT_EQ(w.get<QComboBox>("cmbFileTypes")->currentIndex(), 0);
    EXPECT_EQ(w.window->filePanel()->entries(), QStringList{QStringLiteral("b.xls")});
    EXPECT_FALSE(w.get<QRadioButton>("Optcat2rtf")->isChecked());
    EXPECT_FALSE(w.get<QRadioButton>("optRTFsplit")->isChecked());
}

TEST(ToolTab, NoNameOrNoFilesStopBeforeTheRun) {
    Window w;
    w.writeDocument(QStringLiteral("a.rtf"), "a");
    w.window->filePanel()->setFolder(w.work());
    w.toolTab();
    w.get<QLineEdit>("sevCatFile")->setText(QStringLiteral(".rtf"));
    w.press("cmdRight");
    w.press("cmdCatSplit");
    EXPECT_EQ(w.messages.shown, QStringList{QStringLiteral("Celltrove für Excel|Bindle-Dateinamen eingeben")});
    EXPECT_FALSE(QFileInfo::exists(w.work() + QStringLiteral("/bindle")));
    EXPECT_TRUE(w.window->isEnabled());

    w.messages.shown.clear();
    w.get<QLineEdit>("sevCatFile")->setText(QStringLiteral("x.RTF"));
    w.press("cmdClearList");
    w.press("cmdCatSplit");
    EXPECT_EQ(w.messages.shown, QStringList{QStringLiteral("Fehler|Keine Dateien gewählt!")});
    EXPECT_EQ(w.get<QLineEdit>("sevCatFile")->text(), QStringLiteral("x.RTF.rtf"));
    EXPECT_TRUE(QFileInfo::exists(w.work() + QStringLiteral("/bindle/x.RTF.rtf.log")));
    EXPECT_TRUE(w.window->isEnabled());
    EXPECT_FALSE(w.window->endDialog()->isVisible());
}

TEST(ToolTab, AJoinAndASplitThroughTheButtonEndInTheEndDialog) {
    Window w;
    const QStringList sources = {QStringLiteral("a.rtf"), QStringLiteral("b.rtf"), QStringLiteral("c.rtf")};
    for (const QString &s : sources) w.writeDocument(s, "Text " + s.toLatin1());
    w.window->filePanel()->setFolder(w.work());
    w.toolTab();
    w.press("cmdRight");
    ASSERT_EQ(w.window->toolTab()->entries(), sources);
    w.get<QLineEdit>("sevCatFile")->setText(QStringLiteral("alle"));
    w.press("cmdCatSplit");
    EXPECT_TRUE(w.messages.shown.isEmpty()) << w.messages.shown.join(u'\n').toStdString();
    EXPECT_TRUE(QFileInfo::exists(w.work() + QStringLiteral("/bindle/alle.rtf")));
    EndDialog *end = w.window->endDialog();
    EXPECT_TRUE(end->isVisible());
    EXPECT_FALSE(w.window->isEnabled());
    EXPECT_EQ(end->logFilePath(), w.work() + QStringLiteral("/bindle/alle.rtf.log"));
    EXPECT_EQ(end->findChild<QLabel *>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Konkatenieren: Vorgang beendet. Bitte wählen Sie aus folgenden Optionen aus: "));
    EXPECT_TRUE(w.window->filePanel()->selectedEntries().isEmpty());
    end->back();

    // The joined document comes back into the folder in place of its sources.
    for (const QString &s : sources) ASSERT_TRUE(QFile::remove(w.work() + u'/' + s));
    ASSERT_TRUE(QFile::copy(w.work() + QStringLiteral("/bindle/alle.rtf"), w.work() + QStringLiteral("/alle.rtf")));
    w.window->filePanel()->refreshFiles();
    w.press("cmdClearList");
    w.press("cmdRight");
    w.get<QRadioButton>("optRTFsplit")->click();
    EXPECT_EQ(w.get<QAbstractButton>("cmdCatSplit")->text(), QStringLiteral("Split"));
    w.press("cmdCatSplit");
    EXPECT_EQ(w.window->toolTab()->entries(), QStringList{QStringLiteral("alle.rtf")} + sources);
    EXPECT_TRUE(w.window->toolTab()->selectedEntries().isEmpty());
    for (const QString &s : sources) EXPECT_TRUE(QFileInfo::exists(w.work() + u'/' + s)) << s.toStdString();
    EXPECT_EQ(end->logFilePath(), w.work() + QStringLiteral("/splitalle.rtf.log"));
    EXPECT_EQ(end->findChild<QLabel *>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Splitten: Vorgang beendet. Bitte wählen Sie aus folgenden Optionen aus: "));
    EXPECT_TRUE(end->isVisible());
    end->back();
    EXPECT_TRUE(w.window->isEnabled());
}
