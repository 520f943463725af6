#pragma once

#include "run/TextLookup.h"
#include "shell/InterfaceText.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QMenu;
class QTabWidget;

namespace celltrove::run {
class SettingsStore;
struct RunRequest;
}

namespace celltrove::shell {

class AboutBox;
class EndDialog;
class ExportTab;
class FilePanel;
class ProgressWindow;
class ProjectMenu;
class QtTranslations;
class ToolTab;
class TrayIcon;
class UserMessages;

/// What the main window works with; the settings and the messages outlive the window.
struct MainWindowSetup {
    run::SettingsStore *settings = nullptr;
    UserMessages *messages = nullptr;
    /// Where the "*.lng" files lie (the program's folder).
    QString languageFolder;
    /// The notification area; null for the desktop's own. The window takes ownership.
    TrayIcon *tray = nullptr;
    /// Folder shown when no stored project exists (the home folder when empty).
    QString defaultFolder;
};

/// The program's main window (object name "frmMain"): folder and file choice, export
/// format and options, the export and import buttons, and the menus for projects,
/// language, options and the about box.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowSetup &setup, QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Sets every caption of the window from the loaded language.
    void ApplyInterfaceTexts();
    /// The loaded language's text for a German key.
    QString T(const QString &key) const { return m_texts.LookupText(key); }
    /// A lookup that always uses the language loaded at the time of the call.
    InterfaceText interfaceText() const;

    /// Chooses a language menu item by caption; false when it is unknown or its file
    /// cannot be loaded (then everything stays in the current language).
    bool chooseLanguage(const QString &caption);
    /// The caption of the checked language item.
    QString currentLanguage() const;
    /// Captions of the language menu, "Deutsch" first.
    QStringList languages() const;

    /// Goes to a stored project folder, with a message when its volume or folder is gone.
    void chooseProject(const QString &folder);

    /// Starts an export or import run from the current choices, as the buttons do.
    void startExport();
    void startImport();
    /// Starts a concatenation or split run from the tool tab, as cmdCatSplit does.
    void startTool();
    /// True from the start of a run until its end.
    bool runInProgress() const { return m_runInProgress; }

    FilePanel *filePanel() const { return m_files; }
    ExportTab *exportTab() const { return m_exportTab; }
    ToolTab *toolTab() const { return m_toolTab; }
    ProgressWindow *progressWindow() const { return m_progress.get(); }
    EndDialog *endDialog() const { return m_endDialog.get(); }
    ProjectMenu *projectMenu() const { return m_projects; }

    /// Opens the options dialog modally.
    void showOptions();
    /// Shows the about box (modeless).
    void showAbout();

Q_SIGNALS:
    /// The window was closed and the settings written: the program is to end.
    void shutDown();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void fillLanguageMenu(const QString &current);
    QAction *addLanguageItem(const QString &caption, bool checked);
    void openFile(const QString &path);
    /// The user's choices as a run reads them.
    run::RunRequest currentRequest() const;
    void runBatch(bool exportRun);
    /// The end of a run that got to its files; runName is the end dialog's lead ("Text-Export: ").
    void finishRun(const QString &runName);
    /// SSTab1 switched to `index` (0 export/import, 1 the tool).
    void onTabChanged(int index);
    void leaveRun();

    run::SettingsStore &m_settings;
    UserMessages &m_messages;
    QString m_languageFolder;
    run::TextLookup m_texts;
    /// Qt's own texts, in the language of m_texts.
    std::unique_ptr<QtTranslations> m_qtTexts;

    FilePanel *m_files;
    QTabWidget *m_tabs;
    ExportTab *m_exportTab;
    ToolTab *m_toolTab;
    // Windows of their own, not children: they must stay usable while this one is
    // disabled for a run.
    std::unique_ptr<ProgressWindow> m_progress;
    std::unique_ptr<EndDialog> m_endDialog;
    QPointer<AboutBox> m_about;

    QMenu *m_fileMenu;
    QMenu *m_projectMenu;
    QMenu *m_extraMenu;
    QMenu *m_languageMenu;
    QMenu *m_helpMenu;
    QAction *m_close;
    QAction *m_options;
    QAction *m_info;
    ProjectMenu *m_projects;
    QList<QAction *> m_languageItems;
    bool m_runInProgress = false;
};

}  // namespace celltrove::shell
