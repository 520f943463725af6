#include "shell/ProgressWindow.h"

#include "shell/ElidedLabel.h"
#include "shell/ProgramIcon.h"
#include "shell/TrayIcon.h"

#include <algorithm>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace celltrove::shell {

namespace {

// The bars are text: one filled square per step, in the green of the original bars.
constexpr char16_t kSquare = u'\u25A0';

QLabel *barLabel(const char *name, QWidget *parent) {
    auto *bar = new QLabel(parent);
    bar->setObjectName(QLatin1String(name));
    QFont font = bar->font();
    font.setBold(true);
    bar->setFont(font);
    bar->setStyleSheet(QStringLiteral("color: rgb(0, 192, 0);"));
    bar->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QString(run::kProgressSteps, QChar(kSquare))) + 4);
    return bar;
}

ElidedLabel *textLabel(const char *name, Qt::TextElideMode mode, QWidget *parent) {
    auto *label = new ElidedLabel(mode, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

}  // namespace

ProgressWindow::ProgressWindow(TrayIcon *tray, InterfaceText text, QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_tray(tray),
      m_text(std::move(text)),
      m_process(textLabel("labelProcess", Qt::ElideRight, this)),
      // A file name keeps its start and its end ("Text_….rtf", "… -->").
      m_file(textLabel("lblFile", Qt::ElideMiddle, this)),
      m_sheet(textLabel("lblSheet", Qt::ElideRight, this)),
      m_runBar(barLabel("Label1", this)),
      m_itemBar(barLabel("Label2", this)) {
    setObjectName(QStringLiteral("frmProgress"));
    // The ordinary arrow here, whatever the main window shows during a run.
    setCursor(Qt::ArrowCursor);
    setWindowIcon(programIcon());
    m_tray->setParent(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_process);
    layout->addWidget(m_file);
    layout->addWidget(m_runBar);
    layout->addWidget(m_sheet);
    layout->addWidget(m_itemBar);
    setMinimumWidth(360);

    connect(m_tray, &TrayIcon::doubleClicked, this, &ProgressWindow::trayDoubleClicked);
    connect(m_tray, &TrayIcon::menuAboutToShow, this, &ProgressWindow::trayMenuAboutToShow);
    connect(m_tray, &TrayIcon::openChosen, this, &ProgressWindow::trayOpenChosen);
    connect(m_tray, &TrayIcon::exitChosen, this, &ProgressWindow::exitRequested);
}

void ProgressWindow::setProcessText(const QString &text) { m_process->setFullText(text); }
void ProgressWindow::setFileText(const QString &text) { m_file->setFullText(text); }
void ProgressWindow::setSheetText(const QString &text) { m_sheet->setFullText(text); }

void ProgressWindow::clearProgress() {
    m_runBar->clear();
    m_itemBar->clear();
}

void ProgressWindow::setBarSteps(run::ProgressBar bar, int steps) {
    QLabel *label = bar == run::ProgressBar::Run ? m_runBar : m_itemBar;
    label->setText(QString(std::clamp(steps, 0, run::kProgressSteps), QChar(kSquare)));
}

int ProgressWindow::barSteps(run::ProgressBar bar) const {
    return static_cast<int>((bar == run::ProgressBar::Run ? m_runBar : m_itemBar)->text().size());
}

void ProgressWindow::closeEvent(QCloseEvent *event) {
    if (m_keepLoaded)
        event->ignore();
    else
        event->accept();
}

void ProgressWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray->available() && !m_minimizedToTray)
        moveToTray();
}

void ProgressWindow::moveToTray() {
    // The flag counts at once, so a run ending now already ends in the balloon.
    m_minimizedToTray = true;
    m_tray->showIcon(m_text(QStringLiteral("Celltrove für Excel")));
    // Hiding from inside the state change confuses some window managers; do it next.
    QTimer::singleShot(0, this, [this] {
        if (!m_minimizedToTray) return;
        hide();
        Q_EMIT hideMainWindow();
    });
}

void ProgressWindow::showRunEndBalloon() {
    m_tray->showBalloon(m_text(QStringLiteral("Celltrove")), m_text(QStringLiteral("Vorgang beendet.")));
}

void ProgressWindow::trayDoubleClicked() {
    // Ignored during a run, flag included: clearing it would end the run in an end dialog
    // while the main window is still hidden in the tray.
    if (runInProgress()) return;
    m_minimizedToTray = false;
    Q_EMIT showMainWindow();
    Q_EMIT showEndDialog();
    m_tray->removeIcon();
}

void ProgressWindow::trayMenuAboutToShow() {
    m_exitAllowed = !runInProgress();
    m_tray->setMenuTexts(m_text(QStringLiteral("&Öffnen...")), m_text(QStringLiteral("&Beenden")), m_exitAllowed);
}

void ProgressWindow::trayOpenChosen() {
    m_minimizedToTray = false;
    if (runInProgress()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        Q_EMIT showMainWindow();
    } else {
        Q_EMIT showMainWindow();
        Q_EMIT showEndDialog();
    }
    m_tray->removeIcon();
}

}  // namespace celltrove::shell
