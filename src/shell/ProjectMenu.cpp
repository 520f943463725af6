#include "shell/ProjectMenu.h"

#include "shell/FileFilter.h"

#include <QAction>
#include <QMenu>

namespace celltrove::shell {

ProjectMenu::ProjectMenu(QMenu *menu) : QObject(menu), m_menu(menu) {
    for (int i = 0; i < kItems; ++i) {
        QAction *action = m_menu->addAction(QString());
        action->setObjectName(QStringLiteral("mnuProjectFolder%1").arg(i + 1));
        action->setVisible(false);
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, [this, action] { Q_EMIT projectChosen(action->data().toString()); });
        m_items[i] = action;
    }
    m_menu->addSeparator();
    m_showPath = m_menu->addAction(QString());
    m_showPath->setObjectName(QStringLiteral("mnuShowPath"));
    m_showPath->setCheckable(true);
    connect(m_showPath, &QAction::toggled, this, &ProjectMenu::updateCaptions);
}

bool ProjectMenu::load(const QStringList &storedFolders) {
    const QString first = storedFolders.value(0);
    m_menu->setEnabled(!first.isEmpty());
    if (first.isEmpty()) return false;
    for (int i = 0; i < kItems; ++i) {
        const QString path = storedFolders.value(i);
        // A folder that has gone keeps its item: choosing it says so, and the stored list
        // keeps the real path rather than some replacement text.
        m_items[i]->setData(path);
        m_items[i]->setEnabled(!path.isEmpty());
        m_items[i]->setVisible(!path.isEmpty());
    }
    updateCaptions();
    return true;
}

QString ProjectMenu::folder(int item) const { return m_items.at(item - 1)->data().toString(); }

bool ProjectMenu::showPath() const { return m_showPath->isChecked(); }

void ProjectMenu::setShowPath(bool full) { m_showPath->setChecked(full); }

void ProjectMenu::setShowPathText(const QString &text) { m_showPath->setText(text); }

void ProjectMenu::updateCaptions() {
    for (QAction *action : m_items) {
        const QString path = action->data().toString();
        // "&" would turn the next letter into an accelerator; a folder name means itself.
        QString caption = showPath() ? path : lastPathComponent(path);
        action->setText(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

}  // namespace celltrove::shell
