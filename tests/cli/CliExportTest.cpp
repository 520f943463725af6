#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// celltrove-cli export in a German environment with settings of its own.
struct CliExport {
    QTemporaryDir dir;
    CliExport() {
        qputenv("LC_ALL", "de_DE.UTF-8");
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    }
    ~CliExport() {
        qunsetenv("LC_ALL");
        qunsetenv("XDG_CONFIG_HOME");
    }
    QString addFixture(const QString &name) {
        QFile::copy(testsupport::fixtureDir() + QStringLiteral("/export/") + name, dir.filePath(name));
        return dir.filePath(name);
    }
    testsupport::ProcessResult run(const QStringList &args) {
        return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"),
                                       QStringList{QStringLiteral("export")} + args, 120000, dir.path());
    }
};

QStringList crlfLines(const QByteArray &bytes) {
    QString text = QString::fromUtf8(bytes);
    if (text.endsWith(QStringLiteral("\r\n"))) text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

}  // namespace

// The whole log of a run, the date and time line apart, against a golden file.
TEST(CliExport, RunLogMatchesTheGoldenLog) {
    CliExport cli;
    cli.addFixture(QStringLiteral("export-basic.xls"));
    const auto r = cli.run({QStringLiteral("export-basic.xls")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString logPath = cli.dir.filePath(QStringLiteral("Celltrove4Excel-Export.log"));
    EXPECT_EQ(QString::fromUtf8(r.out).trimmed(), logPath);

    const QByteArray logBytes = testsupport::readFile(logPath);
    EXPECT_FALSE(logBytes.startsWith("\xEF\xBB\xBF"));
    QStringList actual = crlfLines(logBytes);
    QStringList golden =
        crlfLines(testsupport::readFile(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.golden.log")));
    ASSERT_GT(actual.size(), 2);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}\\t\\d\\d:\\d\\d:\\d\\d$"))
                    .match(actual[1])
                    .hasMatch())
        << actual[1].toStdString();
    actual[1] = golden.value(1);
    EXPECT_EQ(actual, golden) << actual.join(u'\n').toStdString();
}

TEST(CliExport, UsageErrorsAndRunErrors) {
    CliExport cli;
    cli.addFixture(QStringLiteral("export-basic.xls"));
    testsupport::writeFile(cli.dir.filePath(QStringLiteral("notes.rtf")), "{\\rtf1}");

    auto r = cli.run({QStringLiteral("notes.rtf")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("Für den Export nur XLS-Dateien auswählen!")));

    QDir(cli.dir.path()).mkdir(QStringLiteral("other"));
    r = cli.run({QStringLiteral("export-basic.xls"), QStringLiteral("other/b.xls")});
    EXPECT_EQ(r.exitCode, 2) << "files of two folders";
    r = cli.run({QStringLiteral("--columns"), QStringLiteral("0-300"), QStringLiteral("export-basic.xls")});
    EXPECT_EQ(r.exitCode, 2);
    r = cli.run({});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(QFile::exists(cli.dir.filePath(QStringLiteral("Celltrove4Excel-Export.log"))));

    testsupport::writeFile(cli.dir.filePath(QStringLiteral("kaputt.xls")), QByteArray(600, 'x'));
    r = cli.run({QStringLiteral("--numbers"), QStringLiteral("--no-comments"), QStringLiteral("--columns"),
                 QStringLiteral("3-5"), QStringLiteral("kaputt.xls"), QStringLiteral("export-basic.xls")});
    EXPECT_EQ(r.exitCode, 1);
    const QStringList log = crlfLines(testsupport::readFile(cli.dir.filePath(QStringLiteral("Celltrove4Excel-Export.log"))));
    EXPECT_EQ(log.mid(3, 3), (QStringList{QStringLiteral("Option: Export ohne Tabellen"),
                                          QStringLiteral("Option: Zahlen exportieren"),
                                          QStringLiteral("Spaltenbereich: 3 bis 5 (C/ E)")}));
    EXPECT_EQ(log.last(), QStringLiteral("Error: Mindestens 1 Fehler vorhanden."));
    EXPECT_TRUE(QFile::exists(cli.dir.filePath(QStringLiteral("Text_export-basic.xls-1.rtf"))));
}

TEST(CliExport, FormatOptionChoosesTheOutput) {
    CliExport cli;
    cli.addFixture(QStringLiteral("export-basic.xls"));
    const struct {
        const char *format;
        const char *file;
        const char *optionLine;
    } cases[] = {
        {"tables", "Tab_export-basic.xls-1.rtf", "Option: Export Excel --> Word (*.RTF) - Tables"},
        {"txt", "export-basic.xls1.txt", "Option: Export Excel --> Text (*.TXT)"},
        {"unicode", "export-basic.xls1-uni.txt", "Option: Export Excel --> UnicodeText (*uni.TXT)"},
        {"html", "export-basic.xls.html", "Option: Export Excel --> Internet (*.HTML)"},
        {"rtf", "Text_export-basic.xls-1.rtf", "Option: Export Excel --> Word (*.RTF)"},
        {"xliff", "Text_export-basic.xls.xlf", "Option: Export Excel --> XLIFF (*.xlf)"},
    };
    for (const auto &c : cases) {
        const auto r = cli.run({QStringLiteral("--format"), QLatin1String(c.format), QStringLiteral("export-basic.xls")});
        EXPECT_EQ(r.exitCode, 0) << c.format << r.err.toStdString();
        EXPECT_TRUE(QFile::exists(cli.dir.filePath(QLatin1String(c.file)))) << c.format;
        const QStringList log = crlfLines(testsupport::readFile(cli.dir.filePath(QStringLiteral("Celltrove4Excel-Export.log"))));
        EXPECT_EQ(log.value(2), QString::fromUtf8(c.optionLine));
    }
    for (const QStringList &args : {QStringList{QStringLiteral("--format"), QStringLiteral("pdf"), QStringLiteral("export-basic.xls")},
                                    QStringList{QStringLiteral("export-basic.xls"), QStringLiteral("--format")}}) {
        const auto r = cli.run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains("--format rtf|tables|doc|txt|unicode|html"));
    }
}

TEST(CliExport, XliffLanguagesGoIntoEveryFileElement) {
    CliExport cli;
    cli.addFixture(QStringLiteral("export-basic.xls"));
    const auto r = cli.run({QStringLiteral("--format"), QStringLiteral("xliff"), QStringLiteral("--source-language"),
                            QStringLiteral("de-DE"), QStringLiteral("--target-language"), QStringLiteral("zh-Hant-TW"),
                            QStringLiteral("export-basic.xls")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QByteArray xlf = testsupport::readFile(cli.dir.filePath(QStringLiteral("Text_export-basic.xls.xlf")));
    EXPECT_EQ(xlf.count("<file "), xlf.count(R"(source-language="de-DE" target-language="zh-Hant-TW")"));
    EXPECT_GT(xlf.count("<file "), 0);
    for (const char *bad : {"de_DE", "", "de-", "d\"e"}) {
        const auto refused = cli.run({QStringLiteral("--format"), QStringLiteral("xliff"), QStringLiteral("--target-language"),
                                      QLatin1String(bad), QStringLiteral("export-basic.xls")});
        EXPECT_EQ(refused.exitCode, 2) << bad;
    }
}
