#include "shell/EndDialog.h"

#include "shell/ProgramIcon.h"
#include "shell/UserMessages.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QVBoxLayout>

namespace celltrove::shell {

namespace {

QString chooseWithDialog(QWidget *parent, const QString &title, const QString &startPath, const QString &filter) {
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("log"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                  : QString();
}

// The stored filter reads "name|pattern|name|pattern"; Qt wants "name;;name" with the
// pattern in brackets inside each name, which the names here already carry.
QString qtFilter(const QString &pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList names;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        names.append(parts.at(i).contains(QLatin1Char('(')) ? parts.at(i)
                                                            : parts.at(i) + QStringLiteral(" (") + parts.at(i + 1) +
                                                                  QLatin1Char(')'));
    return names.isEmpty() ? pipeFilter : names.join(QStringLiteral(";;"));
}

}  // namespace

EndDialog::EndDialog(InterfaceText text, UserMessages *messages, QWidget *parent)
    : QDialog(parent),
      m_text(std::move(text)),
      m_messages(messages),
      m_message(new QLabel(this)),
      m_back(new QPushButton(this)),
      m_showLog(new QPushButton(this)),
      m_quit(new QPushButton(this)),
      m_log(new QPlainTextEdit(this)),
      m_chooseSavePath(chooseWithDialog) {
    setObjectName(QStringLiteral("frmEnd"));
    setWindowIcon(programIcon());
    m_message->setObjectName(QStringLiteral("Label1"));
    m_back->setObjectName(QStringLiteral("cmdBack"));
    m_showLog->setObjectName(QStringLiteral("cmdShowLog"));
    m_quit->setObjectName(QStringLiteral("cmdQuit"));
    m_log->setObjectName(QStringLiteral("Text1"));
    m_message->setWordWrap(true);
    m_log->setReadOnly(true);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_log->setMinimumHeight(300);

    // The log box's own context menu gets a "save as" in place of nothing: saving goes
    // through our dialog, never through the text box.
    m_log->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_log, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = m_log->createStandardContextMenu();
        menu->addSeparator();
        menu->addAction(m_text(QStringLiteral("Speichern unter...")), this, &EndDialog::saveLog);
        menu->exec(m_log->mapToGlobal(pos));
        delete menu;
    });
    auto *save = new QAction(this);
    save->setShortcut(QKeySequence::Save);
    save->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_log->addAction(save);
    connect(save, &QAction::triggered, this, &EndDialog::saveLog);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_showLog);
    buttons->addWidget(m_quit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    layout->addWidget(m_log, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setExpanded(false);

    connect(m_back, &QPushButton::clicked, this, &EndDialog::back);
    connect(m_showLog, &QPushButton::clicked, this, &EndDialog::showLog);
    connect(m_quit, &QPushButton::clicked, this, &EndDialog::quitRequested);
}

void EndDialog::prepare(const QString &message) {
    setWindowTitle(m_text(QStringLiteral("Celltrove für Excel")));
    m_message->setText(message);
    m_back->setText(m_text(QStringLiteral("&Zurück")));
    m_quit->setText(m_text(QStringLiteral("&Beenden")));
    m_showLog->setText(m_text(QStringLiteral("&Log-Datei anzeigen")));
}

bool EndDialog::expanded() const { return !m_log->isHidden(); }

void EndDialog::setExpanded(bool expanded) {
    m_log->setVisible(expanded);
    m_log->setMinimumWidth(expanded ? 640 : 0);
    adjustSize();
}

void EndDialog::showLog() {
    QFile file(m_logFilePath);
    if (m_logFilePath.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
    // Run logs are UTF-8; a log with other bytes still shows, with replacement characters.
    m_log->setPlainText(QString::fromUtf8(file.readAll()));
    setExpanded(true);
    m_log->verticalScrollBar()->setValue(m_log->verticalScrollBar()->maximum());
    m_log->moveCursor(QTextCursor::End);
}

bool EndDialog::saveLog() {
    const QString path = m_chooseSavePath(this, m_text(QStringLiteral("Speichern unter...")), m_logFilePath,
                                          qtFilter(m_text(QStringLiteral("LOG-Datei (*.log)|*.log|alle Dateien (*.*)|*.*"))));
    if (path.isEmpty()) return true;
    QSaveFile file(path);
    const QByteArray bytes = m_log->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toUtf8();
    const bool saved = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                       file.flush() && file.commit();
    // A copy that silently did not happen would be found missing only when it is needed.
    if (!saved && m_messages)
        m_messages->critical(this, m_text(QStringLiteral("Die Datei kann nicht gespeichert werden: ")) + path,
                             m_text(QStringLiteral("Fehler")));
    return saved;
}

void EndDialog::back() {
    m_log->clear();
    setExpanded(false);
    hide();
    Q_EMIT backToMainWindow();
}

void EndDialog::reject() {
    // Esc: only "Beenden" quits; every other way out hands the main window back.
    back();
}

void EndDialog::closeEvent(QCloseEvent *event) {
    // Closing by the frame is a way back too. The dialog hides rather than closes, so the
    // main window's shutdown finds it as it left it.
    if (!isVisible()) return;  // already hidden: nothing to hand back (the program is ending)
    event->ignore();
    back();
}

}  // namespace celltrove::shell
