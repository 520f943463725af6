#pragma once

#include "shell/InterfaceText.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace celltrove::shell {

class UserMessages;

/// The dialog that ends every run (object name "frmEnd"): back to the main window, quit,
/// or show the run log below the buttons, which can then be saved elsewhere.
class EndDialog : public QDialog {
    Q_OBJECT
public:
    /// Failures to save the log are reported through messages when given.
    EndDialog(InterfaceText text, UserMessages *messages = nullptr, QWidget *parent = nullptr);

    /// Full path of the run's log file.
    QString logFilePath() const { return m_logFilePath; }
    void setLogFilePath(const QString &path) { m_logFilePath = path; }

    /// Caption, message and button captions of a finished run; message is already looked up.
    void prepare(const QString &message);

    /// True while the log is shown.
    bool expanded() const;

    /// Asks where to save the log; empty for "do not save". Replaceable for tests.
    using SavePathChooser = std::function<QString(QWidget *parent, const QString &title, const QString &startPath,
                                                  const QString &filter)>;
    void setSavePathChooser(SavePathChooser chooser) { m_chooseSavePath = std::move(chooser); }

    void showLog();
    /// Asks for a file and writes the shown log there; false when it could not be written.
    bool saveLog();
    void back();

Q_SIGNALS:
    /// Back was pressed: the main window is to be enabled again.
    void backToMainWindow();
    /// Quit was pressed: the program is to end.
    void quitRequested();

public Q_SLOTS:
    /// Esc and every other dismissal but Quit: as Back.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setExpanded(bool expanded);

    InterfaceText m_text;
    UserMessages *m_messages;
    QLabel *m_message;
    QPushButton *m_back;
    QPushButton *m_showLog;
    QPushButton *m_quit;
    QPlainTextEdit *m_log;
    QString m_logFilePath;
    SavePathChooser m_chooseSavePath;
};

}  // namespace celltrove::shell
