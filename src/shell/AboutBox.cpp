#include "shell/AboutBox.h"

#include "shell/ProgramIcon.h"

#include <celltrove/Version.h>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace celltrove::shell {

QString AboutBox::versionNumber() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kBuildNumber);
}

QString AboutBox::operatingSystemName() { return QSysInfo::prettyProductName(); }

QString AboutBox::userName() {
    // The account behind the process; the environment only when the system has no entry.
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name) return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

AboutBox::AboutBox(const InterfaceText &text, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(text(QStringLiteral("Info über Celltrove für Excel")));
    setWindowIcon(programIcon());

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(programIcon().pixmap(48, 48));

    auto label = [this](const char *name, const QString &caption) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    QLabel *title = label("lblTitle", text(QStringLiteral("Celltrove für Excel")));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    title->setFont(bold);
    QLabel *version = label("lblVersion", text(QStringLiteral("Version: ")) + versionNumber());
    // "OS: " and "User: " are shown as they stand in every language.
    QLabel *os = label("lblOS", QStringLiteral("OS: ") + operatingSystemName());
    QLabel *user = label("lblUser", QStringLiteral("User: ") + userName());

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(os, 2, 1);
    layout->addWidget(user, 3, 1);
    layout->addWidget(ok, 4, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace celltrove::shell
