#pragma once

#include "shell/InterfaceText.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace celltrove::shell {

/// The tool tab ("Bindle"): the ordered tool list lstFileListBox2 with its buttons
/// (cmdRight, cmdLeft, cmdClearList, cmdTop, cmdUp, cmddown, cmdButtom) and drag to
/// reorder, the joined document's name sevCatFile, the mode Optcat2rtf / optRTFsplit
/// and the run button cmdCatSplit, whose caption follows the mode.
class ToolTab : public QWidget {
    Q_OBJECT
public:
    explicit ToolTab(QWidget *parent = nullptr);

    /// Captions through the lookup; the run button says "Cat" until the mode changes.
    void applyTexts(const InterfaceText &text);
    /// Shows or hides the list, its buttons, the name box and the run button.
    void ShowToolControls(bool visible);

    /// A new folder: the list empties and the name becomes the folder's name + ".rtf".
    void folderChanged(const QString &folder);
    /// The tab is chosen: concatenation is the mode and no drag is pending.
    void enterTab();
    /// The tab is left: neither mode stays chosen.
    void leaveTab();

    /// True when concatenation is chosen (Optcat2rtf).
    bool concatenate() const;
    QString catFileName() const;
    void setCatFileName(const QString &name);

    /// Entry texts of the tool list, in list order.
    QStringList entries() const;
    /// Replaces the list, every entry deselected (after a run).
    void setEntries(const QStringList &entries);
    QStringList selectedEntries() const;
    /// cmdRight: appends the names, keeping the first of repeated entries.
    void addEntries(const QStringList &names);
    /// cmdLeft: removes the selected entries.
    void removeSelected();
    /// cmdTop, cmdUp, cmddown, cmdButtom: move the current entry.
    void moveCurrentToTop();
    void moveCurrentUp();
    void moveCurrentDown();
    void moveCurrentToBottom();

    /// The three steps of dragging entries with the left button, by list index
    /// (public so that tests can drive them without a pointer).
    void dragPress(int index, bool shift);
    void dragMove(int index);
    void dragRelease();
    /// Indexes being dragged, ascending.
    const std::vector<int> &dragSet() const { return m_dragSet; }

Q_SIGNALS:
    /// cmdRight: the main window hands over the source list's selection.
    void addRequested();
    /// cmdCatSplit was pressed.
    void runRequested();
    /// An entry was double-clicked: its file name.
    void fileActivated(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateRunCaption();
    void swapEntries(int a, int b);
    void selectOnly(int row);
    void selectDragSet();

    InterfaceText m_text = germanText;
    QListWidget *m_list;
    QPushButton *m_right;
    QPushButton *m_left;
    QPushButton *m_clear;
    QPushButton *m_top;
    QPushButton *m_up;
    QPushButton *m_down;
    QPushButton *m_bottom;
    QLabel *m_nameCaption;
    QLineEdit *m_name;
    QRadioButton *m_cat;
    QRadioButton *m_split;
    QPushButton *m_run;

    std::vector<int> m_dragSet;
    int m_anchor = 0;
    int m_lastIndex = 0;
    bool m_dragActive = false;
    bool m_shiftHeld = false;
};

}  // namespace celltrove::shell
