// celltrove-cli --help lists every command; COMMAND --help explains each; the manual page
// documents each. New commands are found through the list, so they need all three.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

testsupport::ProcessResult cli(const QStringList &args) {
    return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"), args);
}

}  // namespace

TEST(CliHelp, EveryCommandHasItsHelpAndItsPlaceInTheManualPage) {
    const auto overview = cli({QStringLiteral("--help")});
    ASSERT_EQ(overview.exitCode, 0);
    EXPECT_TRUE(overview.err.isEmpty());
    static const QRegularExpression commandLine(QStringLiteral(R"re(^  celltrove-cli ([a-z-]+)\b)re"),
                                                QRegularExpression::MultilineOption);
    QStringList commands;
    for (auto m = commandLine.globalMatch(QString::fromUtf8(overview.out)); m.hasNext();) {
        const QString name = m.next().captured(1);
        if (name != QLatin1String("--help")) commands.append(name);
    }
    for (const char *known : {"--version", "cells", "text", "export", "import"})
        EXPECT_TRUE(commands.contains(QLatin1String(known))) << known;

    const QString manual = QString::fromUtf8(testsupport::readFile(testsupport::sourceDir() + QStringLiteral("/data/man/celltrove-cli.1")));
    ASSERT_FALSE(manual.isEmpty());
    for (const QString &name : commands) {
        const auto help = cli({name, QStringLiteral("--help")});
        EXPECT_EQ(help.exitCode, 0) << name.toStdString();
        const QString text = QString::fromUtf8(help.out);
        EXPECT_TRUE(text.startsWith(QStringLiteral("Aufruf: celltrove-cli ") + name)) << text.toStdString();
        EXPECT_GE(text.count(u'\n'), 3) << name.toStdString() << ": no description below the usage line";
        // troff writes a minus as "\-"; a command is a bold term of the COMMANDS list.
        const QString inManual = QString(name).replace(u'-', QStringLiteral("\\-"));
        const QRegularExpression term(QStringLiteral("^\\.BI? ") + QRegularExpression::escape(inManual) + QStringLiteral("\\b"),
                                      QRegularExpression::MultilineOption);
        EXPECT_TRUE(term.match(manual).hasMatch()) << name.toStdString() << " is missing from celltrove-cli.1";
    }
    EXPECT_TRUE(manual.contains(QStringLiteral(".SH EXIT STATUS")));
}
