#pragma once

#include <QString>

class QWidget;

namespace celltrove::shell {

/// Where the windows send the message boxes that stop an action. The program shows real
/// boxes; tests record them instead of waiting on a modal loop.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    /// A modal box with the critical icon, the text, the title and an OK button.
    virtual void critical(QWidget *parent, const QString &text, const QString &title) = 0;
};

/// Shows each message in a QMessageBox.
class MessageBoxMessages : public UserMessages {
public:
    void critical(QWidget *parent, const QString &text, const QString &title) override;
};

}  // namespace celltrove::shell
