#pragma once

#include <QObject>
#include <QStringList>

#include <array>

class QAction;
class QMenu;

namespace celltrove::shell {

/// The "Projekte" menu (mnuProject): up to eight recent project folders
/// (mnuProjectFolder1 … 8, newest first) and the check item mnuShowPath that switches
/// their captions between the full path and the last folder name.
class ProjectMenu : public QObject {
    Q_OBJECT
public:
    explicit ProjectMenu(QMenu *menu);

    static constexpr int kItems = 8;

    /// Fills the items from the stored folders (Project1 … Project8, empty ones skipped).
    /// False, with the menu disabled, when there is no first folder.
    bool load(const QStringList &storedFolders);

    /// The folder of item 1 … 8; empty when the item is not filled.
    QString folder(int item) const;
    QAction *item(int item) const { return m_items.at(item - 1); }
    QAction *showPathAction() const { return m_showPath; }
    bool showPath() const;
    void setShowPath(bool full);
    void setShowPathText(const QString &text);

Q_SIGNALS:
    void projectChosen(const QString &folder);

private:
    void updateCaptions();

    QMenu *m_menu;
    std::array<QAction *, kItems> m_items{};
    QAction *m_showPath;
};

}  // namespace celltrove::shell
