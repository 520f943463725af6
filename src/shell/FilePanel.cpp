#include "shell/FilePanel.h"

#include "shell/FileFilter.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace celltrove::shell {

namespace {

template <typename W>
W *named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString driveText(const QStorageInfo &volume) {
    const QString name = volume.displayName();
    return name == volume.rootPath() ? name : volume.rootPath() + QStringLiteral(" [") + name + QLatin1Char(']');
}

}  // namespace

FilePanel::FilePanel(QWidget *parent)
    : QWidget(parent),
      m_drives(named(new QComboBox(this), "Drive1")),
      m_folders(named(new QTreeView(this), "Dir1")),
      m_folderModel(new QFileSystemModel(this)),
      m_filter(named(new QComboBox(this), "cmbFileTypes")),
      m_heading(named(new QLabel(this), "Label1")),
      m_files(named(new QListWidget(this), "lstFileListBox")),
      m_chooseAll(named(new QPushButton(this), "cmdChooseAll")),
      m_selectedCount(named(new QLabel(QStringLiteral("(0)"), this), "LabelDatAnz")) {
    m_folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folderModel->setRootPath(QString());
    m_folders->setModel(m_folderModel);
    for (int column = 1; column < m_folderModel->columnCount(); ++column) m_folders->hideColumn(column);
    m_folders->header()->hide();
    m_folders->setSortingEnabled(true);
    m_folders->sortByColumn(0, Qt::AscendingOrder);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto *folders = new QVBoxLayout;
    folders->addWidget(m_drives);
    folders->addWidget(m_folders, 1);
    auto *files = new QVBoxLayout;
    files->addWidget(m_filter);
    files->addWidget(m_heading);
    files->addWidget(m_files, 1);
    auto *below = new QHBoxLayout;
    below->addWidget(m_chooseAll);
    below->addWidget(m_selectedCount);
    below->addStretch(1);
    files->addLayout(below);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(folders, 1);
    layout->addLayout(files, 1);

    fillDrives();
    connect(m_drives, &QComboBox::activated, this, &FilePanel::onDriveChosen);
    // The highlighted folder is the current one, however it got highlighted: click, arrow
    // keys, Home/End, typing its name.
    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this, &FilePanel::onFolderHighlighted);
    connect(m_filter, &QComboBox::activated, this, [this] { refreshFiles(); });
    connect(m_chooseAll, &QPushButton::clicked, this, &FilePanel::selectAll);
    connect(m_files, &QListWidget::itemSelectionChanged, this, &FilePanel::updateSelectedCount);
    connect(m_files, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { Q_EMIT fileActivated(m_currentFolder + item->text()); });
}

void FilePanel::applyTexts(const InterfaceText &text) {
    const int index = std::max(0, m_filter->currentIndex());
    const QSignalBlocker block(m_filter);
    m_filter->clear();
    m_filter->addItem(text(QStringLiteral("Excel-Dateien")) + QStringLiteral(" (*.xls)"));
    m_filter->addItem(text(QStringLiteral("RTF-Dateien")) + QStringLiteral(" (*.rtf)"));
    m_filter->addItem(text(QStringLiteral("Alle Dateien")) + QStringLiteral(" (*.*)"));
    m_filter->addItem(text(QStringLiteral("XLIFF-Dateien")) + QStringLiteral(" (*.xlf)"));
    m_filter->setCurrentIndex(index);
    m_heading->setText(text(QStringLiteral("Dateien auswählen:")));
    m_chooseAll->setText(text(QStringLiteral("Alle auswählen")));
}

void FilePanel::fillDrives() {
    m_drives->clear();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        m_drives->addItem(driveText(volume), volume.rootPath());
    }
}

QString FilePanel::currentDrive() const { return m_drives->currentData().toString(); }

void FilePanel::onDriveChosen(int index) {
    const QString root = m_drives->itemData(index).toString();
    // A volume that went away since the list was filled: stay where we are, as a drive
    // that is not ready does.
    if (!QFileInfo(root).isDir() || !setFolder(root)) {
        const int back = m_drives->findData(QStorageInfo(m_currentFolder).rootPath());
        if (back >= 0) m_drives->setCurrentIndex(back);
    }
}

bool FilePanel::setFolder(const QString &path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir()) return false;
    const QString folder = withTrailingSeparator(QDir::cleanPath(info.absoluteFilePath()));
    const QString root = QStorageInfo(folder).rootPath();
    int drive = m_drives->findData(root);
    if (drive < 0) {
        fillDrives();
        drive = m_drives->findData(root);
    }
    if (drive >= 0) m_drives->setCurrentIndex(drive);
    {
        const QScopedValueRollback<bool> moving(m_movingTree, true);
        m_folders->setRootIndex(m_folderModel->index(root));
        const QModelIndex index = m_folderModel->index(folder.size() > 1 ? folder.chopped(1) : folder);
        m_folders->setCurrentIndex(index);
        m_folders->scrollTo(index);
    }
    showFolder(folder);
    return true;
}

void FilePanel::onFolderHighlighted(const QModelIndex &current) {
    if (m_movingTree) return;  // setFolder lists the folder itself
    const QString path = m_folderModel->filePath(current);
    if (path.isEmpty()) return;
    const QString folder = withTrailingSeparator(path);
    if (folder != m_currentFolder) showFolder(folder);
}

void FilePanel::showFolder(const QString &folder) {
    m_currentFolder = folder;
    refreshFiles();
    Q_EMIT folderChanged(folder);
}

void FilePanel::refreshFiles() {
    m_files->clear();
    if (!m_currentFolder.isEmpty()) m_files->addItems(listFolderFiles(m_currentFolder, filterText()));
    updateSelectedCount();
    selectAll();
}

QString FilePanel::filterText() const { return m_filter->currentText(); }

int FilePanel::filterIndex() const { return m_filter->currentIndex(); }

void FilePanel::setFilterIndex(int index) {
    m_filter->setCurrentIndex(index);
    refreshFiles();
}

void FilePanel::showSingleFilter(const QString &entry) {
    {
        const QSignalBlocker block(m_filter);
        m_filter->clear();
        m_filter->addItem(entry);
        m_filter->setCurrentIndex(0);
    }
    refreshFiles();
}

QStringList FilePanel::entries() const {
    QStringList texts;
    for (int row = 0; row < m_files->count(); ++row) texts.append(m_files->item(row)->text());
    return texts;
}

QStringList FilePanel::selectedEntries() const {
    QStringList texts;
    for (int row = 0; row < m_files->count(); ++row)
        if (m_files->item(row)->isSelected()) texts.append(m_files->item(row)->text());
    return texts;
}

void FilePanel::selectAll() { m_files->selectAll(); }

void FilePanel::deselectAll() { m_files->clearSelection(); }

void FilePanel::updateSelectedCount() {
    m_selectedCount->setText(QStringLiteral("(%1)").arg(m_files->selectedItems().size()));
}

}  // namespace celltrove::shell
