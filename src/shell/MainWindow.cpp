#include "shell/MainWindow.h"

#include "export/ExportRun.h"
#include "import/ImportRun.h"
#include "run/RunRequest.h"
#include "run/SettingsStore.h"
#include "shell/AboutBox.h"
#include "shell/EndDialog.h"
#include "shell/ExportTab.h"
#include "shell/FileFilter.h"
#include "shell/FilePanel.h"
#include "shell/GuiRunUi.h"
#include "shell/LanguageFiles.h"
#include "shell/OptionsDialog.h"
#include "shell/ProgramIcon.h"
#include "shell/ProgressWindow.h"
#include "shell/ProjectMenu.h"
#include "shell/QtTranslations.h"
#include "shell/ToolTab.h"
#include "shell/TrayIcon.h"
#include "tool/ToolRun.h"
#include "shell/UserMessages.h"

#include <celltrove/Version.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProcess>
#include <QStorageInfo>
#include <QTabWidget>
#include <QUrl>

#include <algorithm>

namespace celltrove::shell {

namespace {

const QString kGerman = QStringLiteral("Deutsch");

QMenu *namedMenu(QMenuBar *bar, const char *name) {
    QMenu *menu = bar->addMenu(QString());
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *namedAction(QMenu *menu, const char *name) {
    QAction *action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
}

// The nearest folder of a path that exists; empty when not even the root does.
QString existingAncestor(const QString &path) {
    QString candidate = QDir::cleanPath(path);
    while (!candidate.isEmpty() && !QFileInfo(candidate).isDir()) {
        const qsizetype cut = candidate.lastIndexOf(QLatin1Char('/'));
        if (cut < 0) return {};
        if (cut == 0 && candidate == QLatin1String("/")) return {};
        candidate = cut == 0 ? QStringLiteral("/") : candidate.left(cut);
    }
    return candidate;
}

}  // namespace

MainWindow::MainWindow(const MainWindowSetup &setup, QWidget *parent)
    : QMainWindow(parent),
      m_settings(*setup.settings),
      m_messages(*setup.messages),
      m_languageFolder(setup.languageFolder),
      m_qtTexts(std::make_unique<QtTranslations>()),
      m_files(new FilePanel(this)),
      m_tabs(new QTabWidget(this)),
      m_exportTab(new ExportTab(this)),
      m_toolTab(new ToolTab(this)),
      m_progress(std::make_unique<ProgressWindow>(setup.tray ? setup.tray : new SystemTrayIcon, interfaceText())),
      m_endDialog(std::make_unique<EndDialog>(interfaceText(), setup.messages)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(programIcon());
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(m_exportTab, QString());
    m_tabs->addTab(m_toolTab, QStringLiteral("Bindle"));  // never translated
    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->addWidget(m_files, 3);
    layout->addWidget(m_tabs, 2);
    setCentralWidget(central);
    resize(900, 560);
    buildMenus();

    m_progress->setRunInProgress([this] { return m_runInProgress; });
    connect(m_progress.get(), &ProgressWindow::hideMainWindow, this, &QWidget::hide);
    connect(m_progress.get(), &ProgressWindow::showMainWindow, this, [this] {
        showNormal();
        raise();
    });
    connect(m_progress.get(), &ProgressWindow::showEndDialog, m_endDialog.get(), &QWidget::show);
    connect(m_progress.get(), &ProgressWindow::exitRequested, this, &QWidget::close);
    connect(m_endDialog.get(), &EndDialog::backToMainWindow, this, [this] { setEnabled(true); });
    connect(m_endDialog.get(), &EndDialog::quitRequested, this, &QWidget::close);
    connect(m_exportTab, &ExportTab::exportClicked, this, &MainWindow::startExport);
    connect(m_exportTab, &ExportTab::importClicked, this, &MainWindow::startImport);
    connect(m_files, &FilePanel::fileActivated, this, &MainWindow::openFile);
    connect(m_files, &FilePanel::folderChanged, m_toolTab, &ToolTab::folderChanged);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::onTabChanged);
    connect(m_toolTab, &ToolTab::addRequested, this, [this] { m_toolTab->addEntries(m_files->selectedEntries()); });
    connect(m_toolTab, &ToolTab::runRequested, this, &MainWindow::startTool);
    connect(m_toolTab, &ToolTab::fileActivated, this,
            [this](const QString &name) { openFile(m_files->currentFolder() + name); });
    connect(m_projects, &ProjectMenu::projectChosen, this, &MainWindow::chooseProject);

    // Load: language, texts, filter, projects, then the most recent project's files.
    const QString stored = m_settings.language();
    const QString language = m_texts.LoadLanguageFile(m_languageFolder, stored) ? stored : kGerman;
    fillLanguageMenu(language);
    m_qtTexts->setLanguage(language);
    ApplyInterfaceTexts();
    m_files->setFilterIndex(0);
    m_projects->setShowPath(m_settings.showPath());
    QString start = setup.defaultFolder.isEmpty() ? QDir::homePath() : setup.defaultFolder;
    if (m_projects->load(m_settings.projectFolders()) && QFileInfo(m_projects->folder(1)).isDir())
        start = m_projects->folder(1);
    if (!m_files->setFolder(start)) m_files->setFolder(QDir::rootPath());
}

MainWindow::~MainWindow() = default;

InterfaceText MainWindow::interfaceText() const {
    return [this](const QString &key) { return m_texts.LookupText(key); };
}

void MainWindow::buildMenus() {
    QMenuBar *bar = menuBar();
    m_fileMenu = namedMenu(bar, "mnufile");
    m_close = namedAction(m_fileMenu, "mnuClose");
    connect(m_close, &QAction::triggered, this, &QWidget::close);

    m_projectMenu = namedMenu(bar, "mnuProject");
    m_projects = new ProjectMenu(m_projectMenu);

    m_extraMenu = namedMenu(bar, "mnuExtra");
    m_languageMenu = m_extraMenu->addMenu(QString());
    m_languageMenu->setObjectName(QStringLiteral("mnuSelectLanguage"));
    m_options = namedAction(m_extraMenu, "mnuOptionen");
    connect(m_options, &QAction::triggered, this, &MainWindow::showOptions);

    m_helpMenu = namedMenu(bar, "mnuHelp");
    m_helpMenu->setTitle(QStringLiteral("?"));
    m_info = namedAction(m_helpMenu, "mnuInfo");
    connect(m_info, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::ApplyInterfaceTexts() {
    setWindowTitle(T(QStringLiteral("Celltrove für Excel - Build ")) + QString::number(kBuildNumber));
    m_fileMenu->setTitle(T(QStringLiteral("&Datei")));
    m_close->setText(T(QStringLiteral("&Beenden")));
    m_projectMenu->setTitle(T(QStringLiteral("&Projekte")));
    m_extraMenu->setTitle(T(QStringLiteral("&Extras")));
    m_languageMenu->setTitle(T(QStringLiteral("&Sprache")));
    m_projects->setShowPathText(T(QStringLiteral("&Projektpfad anzeigen")));
    m_info->setText(T(QStringLiteral("&Info")));
    m_options->setText(T(QStringLiteral("Optionen...")));
    m_files->applyTexts(interfaceText());
    m_exportTab->applyTexts(interfaceText());
    m_toolTab->applyTexts(interfaceText());
    m_tabs->setTabText(0, T(QStringLiteral("Export")));
    m_tabs->setCurrentIndex(0);
}

// ---- language menu ----

QAction *MainWindow::addLanguageItem(const QString &caption, bool checked) {
    QAction *item = m_languageMenu->addAction(caption);
    item->setObjectName(QStringLiteral("mnuLanguages%1").arg(m_languageItems.size() + 1));
    item->setCheckable(true);
    item->setChecked(checked);
    connect(item, &QAction::triggered, this, [this, item] {
        // A click toggles the check mark; the choice itself decides what is checked.
        item->setChecked(!item->isChecked());
        chooseLanguage(item->text());
    });
    m_languageItems.append(item);
    return item;
}

void MainWindow::fillLanguageMenu(const QString &current) {
    addLanguageItem(kGerman, current == kGerman);
    for (const QString &caption : languageCaptions(m_languageFolder))
        addLanguageItem(caption, caption.compare(current, Qt::CaseInsensitive) == 0);
}

bool MainWindow::chooseLanguage(const QString &caption) {
    QAction *chosen = nullptr;
    for (QAction *item : m_languageItems)
        if (item->text() == caption) chosen = item;
    if (!chosen || chosen->isChecked()) return false;
    // Loaded aside first: a file that has gone leaves the current language whole, rather
    // than German lookups under captions still in the old language.
    run::TextLookup texts;
    if (!texts.LoadLanguageFile(m_languageFolder, caption)) return false;
    m_texts = texts;
    m_qtTexts->setLanguage(caption);
    ApplyInterfaceTexts();
    for (QAction *item : m_languageItems) item->setChecked(item == chosen);
    return true;
}

QString MainWindow::currentLanguage() const {
    for (QAction *item : m_languageItems)
        if (item->isChecked()) return item->text();
    return {};
}

QStringList MainWindow::languages() const {
    QStringList captions;
    for (QAction *item : m_languageItems) captions.append(item->text());
    return captions;
}

// ---- projects ----

void MainWindow::chooseProject(const QString &folder) {
    const QString volumeFolder = existingAncestor(folder);
    const QStorageInfo volume(volumeFolder);
    if (folder.isEmpty() || volumeFolder.isEmpty() || !volume.isValid() || !volume.isReady()) {
        m_messages.critical(this, T(QStringLiteral("Das Laufwerk des gewählten Projekts exitiert nicht.")),
                            T(QStringLiteral("Fehler")));
        return;
    }
    if (!QFileInfo(folder).isDir()) {
        m_messages.critical(this, T(QStringLiteral("Der Pfad des gewählten Projekts existiert nicht.")),
                            T(QStringLiteral("Fehler")));
        return;
    }
    m_files->setFolder(folder);
}

// ---- other windows ----

void MainWindow::showOptions() {
    OptionsDialog dialog(m_settings, interfaceText(), this);
    dialog.exec();
}

void MainWindow::showAbout() {
    if (!m_about) m_about = new AboutBox(interfaceText(), this);
    m_about->show();
    m_about->raise();
}

void MainWindow::openFile(const QString &path) {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
    // No program is associated with the file: let the user pick one.
    const QString program = QFileDialog::getOpenFileName(this, QFileInfo(path).fileName(), QStringLiteral("/usr/bin"));
    if (!program.isEmpty()) QProcess::startDetached(program, {path});
}

// ---- runs ----

void MainWindow::startExport() { runBatch(true); }

void MainWindow::startImport() { runBatch(false); }

run::RunRequest MainWindow::currentRequest() const {
    run::RunRequest request;
    request.folder = m_files->currentFolder();
    request.selectedFiles = m_files->selectedEntries();
    request.fileTypeFilter = static_cast<run::FileTypeFilter>(std::clamp(m_files->filterIndex(), 0, 3));
    const ExportChoices choices = m_exportTab->choices();
    for (const run::ExportFormat format :
         {run::ExportFormat::TaggedRtf, run::ExportFormat::RtfTables, run::ExportFormat::Doc, run::ExportFormat::Text,
          run::ExportFormat::UnicodeText, run::ExportFormat::Html, run::ExportFormat::Xliff})
        if (run::ExportFormatCaption(format) == choices.format) request.format = format;
    request.options.exportNumbers = choices.numbers;
    request.options.formulas = choices.formulas;
    request.options.comments = choices.comments;
    request.options.allLevels = choices.allLevels;
    request.options.columnRange = choices.columnRange;
    request.options.rangeStart = choices.firstColumn;
    request.options.rangeEnd = choices.lastColumn;
    return request;
}

void MainWindow::runBatch(bool exportRun) {
    if (m_runInProgress) return;
    m_exportTab->hideHint();
    if (exportRun) m_exportTab->correctColumnRange();
    const run::RunRequest request = currentRequest();

    m_runInProgress = true;
    setEnabled(false);
    // Busy over this window only: the progress window keeps the ordinary arrow.
    setCursor(Qt::BusyCursor);
    GuiRunUi ui(*m_progress, m_messages, this);
    bool ran = false;
    QString logPath;
    if (exportRun) {
        const exporting::RunOutcome outcome = exporting::RunExport(request, m_texts, m_settings, ui);
        ran = outcome.ran;
        logPath = outcome.logPath;
    } else {
        const importing::ImportOutcome outcome = importing::RunImport(request, m_texts, m_settings, ui);
        ran = outcome.ran;
        logPath = outcome.logPath;
    }
    m_endDialog->setLogFilePath(logPath);
    m_exportTab->showHint();
    if (!ran || request.selectedFiles.isEmpty()) {
        // Stopped before its file loop (wrong file type, nothing selected, no log): the
        // message has been shown; the window is the user's again, under the filter that
        // fits the button.
        m_progress->hide();
        leaveRun();
        const run::FileTypeFilter fitting = exportRun ? run::FileTypeFilter::Excel : run::FileTypeFilter::Rtf;
        const bool importable = !exportRun && request.fileTypeFilter == run::FileTypeFilter::Xliff;
        if (request.fileTypeFilter != fitting && !importable) m_files->setFilterIndex(static_cast<int>(fitting));
        return;
    }
    finishRun(T(exportRun ? QStringLiteral("Text-Export: ") : QStringLiteral("Text-Import: ")));
}

void MainWindow::finishRun(const QString &runName) {
    m_files->deselectAll();
    m_runInProgress = false;
    unsetCursor();
    m_endDialog->prepare(runName + T(QStringLiteral("Vorgang beendet. Bitte wählen Sie aus folgenden Optionen aus: ")));
    if (m_progress->minimizedToTray()) {
        m_progress->showRunEndBalloon();
    } else {
        m_endDialog->show();
        m_endDialog->raise();
    }
    // New output files show up, with the selection cleared as the run left it.
    m_files->refreshFiles();
    m_files->deselectAll();
}

void MainWindow::onTabChanged(int index) {
    if (index == 1) {
        m_toolTab->enterTab();
        m_files->showSingleFilter(T(QStringLiteral("RTF-Dateien")) + QStringLiteral(" (*.rtf)"));
        // Listing the folder again starts the tool list afresh, as a folder change does.
        m_toolTab->folderChanged(m_files->currentFolder());
        m_toolTab->ShowToolControls(true);
    } else {
        // The three filter entries come back under the index the tool's single entry had.
        m_files->applyTexts(interfaceText());
        m_files->refreshFiles();
        m_toolTab->ShowToolControls(false);
        m_toolTab->leaveTab();
    }
}

void MainWindow::startTool() {
    if (m_runInProgress) return;
    const bool concatenate = m_toolTab->concatenate();
    QString joinedName = m_toolTab->catFileName();
    if (concatenate) {
        if (joinedName.isEmpty() || joinedName == QLatin1String(".rtf")) {
            m_messages.critical(this, T(QStringLiteral("Bindle-Dateinamen eingeben")),
                                T(QStringLiteral("Celltrove für Excel")));
            return;
        }
        if (!joinedName.endsWith(QLatin1String(".rtf"))) {
            joinedName += QStringLiteral(".rtf");
            m_toolTab->setCatFileName(joinedName);
        }
    } else {
        m_exportTab->hideHint();
    }
    QStringList fileList = m_toolTab->entries();
    m_runInProgress = true;
    setEnabled(false);
    setCursor(Qt::BusyCursor);
    GuiRunUi ui(*m_progress, m_messages, this);
    const QString folder = m_files->currentFolder();
    const run::RunOutcome outcome =
        concatenate ? tool::RunCat(folder, joinedName, fileList, m_texts, m_settings, ui)
                    : tool::RunSplit(folder, joinedName, fileList, m_texts, m_settings, ui);
    m_toolTab->setEntries(fileList);
    m_endDialog->setLogFilePath(outcome.logPath);
    if (!outcome.ran) {
        m_progress->hide();
        leaveRun();
        m_files->deselectAll();
        return;
    }
    finishRun(T(concatenate ? QStringLiteral("Konkatenieren: ") : QStringLiteral("Splitten: ")));
}

void MainWindow::leaveRun() {
    m_runInProgress = false;
    unsetCursor();
    setEnabled(true);
}

// ---- shutdown ----

void MainWindow::closeEvent(QCloseEvent *event) {
    // No quitting in the middle of a run: its log and files would be cut short.
    if (m_runInProgress) {
        event->ignore();
        return;
    }
    m_progress->setKeepLoaded(false);
    const QString language = currentLanguage();
    if (!language.isEmpty()) m_settings.setLanguage(language);
    m_settings.setShowPath(m_projects->showPath());
    m_settings.sync();
    m_progress->close();
    m_progress->tray()->removeIcon();
    m_endDialog->hide();
    if (m_about) m_about->close();
    event->accept();
    Q_EMIT shutDown();
}

}  // namespace celltrove::shell
