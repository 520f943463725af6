#pragma once

#include "shell/InterfaceText.h"

#include <QDialog>

namespace celltrove::shell {

/// The about box (object name "frmAbout"): title, version, operating system and user.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const InterfaceText &text, QWidget *parent = nullptr);

    /// "1.0.13": major, minor and build of this program.
    static QString versionNumber();
    /// The name of the running operating system, e.g. "Debian GNU/Linux 12 (bookworm)".
    static QString operatingSystemName();
    /// The logged-on user's name; empty when the system does not say.
    static QString userName();
};

}  // namespace celltrove::shell
