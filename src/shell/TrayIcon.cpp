#include "shell/TrayIcon.h"

#include "shell/ProgramIcon.h"

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>

namespace celltrove::shell {

SystemTrayIcon::SystemTrayIcon(QObject *parent)
    : TrayIcon(parent), m_icon(new QSystemTrayIcon(this)), m_menu(new QMenu) {
    m_menu->setObjectName(QStringLiteral("sevTray1Menu"));
    m_icon->setObjectName(QStringLiteral("sevTray1"));
    m_icon->setIcon(programIcon());
    QAction *open = m_menu->addAction(QString());
    open->setData(QStringLiteral("open"));
    QAction *exit = m_menu->addAction(QString());
    exit->setData(QStringLiteral("exit"));
    m_icon->setContextMenu(m_menu);
    connect(m_menu, &QMenu::aboutToShow, this, &TrayIcon::menuAboutToShow);
    connect(open, &QAction::triggered, this, &TrayIcon::openChosen);
    connect(exit, &QAction::triggered, this, &TrayIcon::exitChosen);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) Q_EMIT doubleClicked();
    });
}

// The menu has no parent widget (a tray menu must not), so it is ours to delete.
SystemTrayIcon::~SystemTrayIcon() { delete m_menu; }

bool SystemTrayIcon::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void SystemTrayIcon::showIcon(const QString &tip) {
    m_icon->setToolTip(tip);
    m_icon->show();
}

void SystemTrayIcon::removeIcon() { m_icon->hide(); }

bool SystemTrayIcon::iconShown() const { return m_icon->isVisible(); }

void SystemTrayIcon::showBalloon(const QString &title, const QString &text) {
    m_icon->showMessage(title, text, QSystemTrayIcon::Information);
}

void SystemTrayIcon::setMenuTexts(const QString &open, const QString &exit, bool exitEnabled) {
    const QList<QAction *> actions = m_menu->actions();
    actions.at(0)->setText(open);
    actions.at(1)->setText(exit);
    actions.at(1)->setEnabled(exitEnabled);
}

}  // namespace celltrove::shell
