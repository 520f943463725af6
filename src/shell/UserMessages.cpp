#include "shell/UserMessages.h"

#include <QMessageBox>

namespace celltrove::shell {

void MessageBoxMessages::critical(QWidget *parent, const QString &text, const QString &title) {
    QMessageBox::critical(parent, title, text);
}

}  // namespace celltrove::shell
