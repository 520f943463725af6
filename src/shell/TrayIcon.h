#pragma once

#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace celltrove::shell {

/// The notification-area icon of a run: tip, a two-item menu ("open", "exit"), double-click
/// and a balloon. The progress window decides what the events mean.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    /// Whether the desktop has a notification area at all.
    virtual bool available() const = 0;
    virtual void showIcon(const QString &tip) = 0;
    virtual void removeIcon() = 0;
    virtual bool iconShown() const = 0;
    virtual void showBalloon(const QString &title, const QString &text) = 0;

Q_SIGNALS:
    void doubleClicked();
    /// The menu is about to open; the receiver fills it through setMenuTexts.
    void menuAboutToShow();
    void openChosen();
    void exitChosen();

public:
    /// Captions of the menu items and whether "exit" may be chosen.
    virtual void setMenuTexts(const QString &open, const QString &exit, bool exitEnabled) = 0;
};

/// The desktop's tray through QSystemTrayIcon.
class SystemTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject *parent = nullptr);
    ~SystemTrayIcon() override;
    bool available() const override;
    void showIcon(const QString &tip) override;
    void removeIcon() override;
    bool iconShown() const override;
    void showBalloon(const QString &title, const QString &text) override;
    void setMenuTexts(const QString &open, const QString &exit, bool exitEnabled) override;

private:
    QSystemTrayIcon *m_icon;
    QMenu *m_menu;
};

}  // namespace celltrove::shell
