#pragma once

#include "shell/InterfaceText.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QModelIndex;
class QPushButton;
class QTreeView;

namespace celltrove::shell {

/// The left half of the main window: the drive list Drive1 (mounted volumes), the folder
/// tree Dir1, the file-type filter cmbFileTypes and the source list lstFileListBox whose
/// selected entries are the files a run works on.
class FilePanel : public QWidget {
    Q_OBJECT
public:
    explicit FilePanel(QWidget *parent = nullptr);

    /// Captions through the lookup; the filter list is rebuilt keeping its selected index.
    void applyTexts(const InterfaceText &text);

    /// The shown folder, always ending in "/".
    QString currentFolder() const { return m_currentFolder; }
    /// Goes to a folder (and its volume); false, with nothing changed, when it is not a folder.
    bool setFolder(const QString &path);
    /// Lists the current folder again under the filter and selects every entry.
    void refreshFiles();

    /// The filter entry "<lookup> (*.xls)" etc. that is shown now.
    QString filterText() const;
    /// 0 (Excel), 1 (RTF) or 2 (all files).
    int filterIndex() const;
    /// Chooses filter entry 0 (Excel), 1 (RTF), 2 (all files) or 3 (XLIFF) and lists the folder again.
    void setFilterIndex(int index);
    /// Makes `entry` the only filter entry (the tool tab lists RTF files only) and lists
    /// the folder again; applyTexts brings back the other entries.
    void showSingleFilter(const QString &entry);

    /// Entry texts of the source list, in list order.
    QStringList entries() const;
    /// Selected entry texts, in list order.
    QStringList selectedEntries() const;
    void selectAll();
    void deselectAll();

    /// Root path of the volume shown in Drive1.
    QString currentDrive() const;

Q_SIGNALS:
    /// A file of the list was double-clicked; full path.
    void fileActivated(const QString &path);
    /// The current folder changed (after the list was refilled).
    void folderChanged(const QString &folder);

private:
    void fillDrives();
    void onDriveChosen(int index);
    /// Makes the folder highlighted in Dir1 the current one.
    void onFolderHighlighted(const QModelIndex &current);
    void showFolder(const QString &folder);
    void updateSelectedCount();

    QComboBox *m_drives;
    QTreeView *m_folders;
    QFileSystemModel *m_folderModel;
    QComboBox *m_filter;
    QLabel *m_heading;
    QListWidget *m_files;
    QPushButton *m_chooseAll;
    QLabel *m_selectedCount;
    QString m_currentFolder;
    bool m_movingTree = false;  ///< setFolder is moving the highlight
};

}  // namespace celltrove::shell
