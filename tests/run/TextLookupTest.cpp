#include "run/TextLookup.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

using celltrove::run::TextLookup;

namespace {

struct LookupCase {
    const char *name;
    const char *file;  // language file content
    const char *key;
    const char *expected;
};

const LookupCase kCases[] = {
    {"first line never matches", "Export=Ausfuhr\r\n", "Export", "Export"},
    {"second line matches", "header\r\nExport=Export it\r\n", "Export", "Export it"},
    {"last entry wins", "h\r\nExport=one\r\nExport=two\r\n", "Export", "two"},
    {"case-sensitive", "h\r\nexport=lower\r\n", "Export", "Export"},
    {"empty value", "h\r\nExport=\r\nNext=x\r\n", "Export", ""},
    {"value to end of file", "h\r\nExport=tail", "Export", "tail"},
    {"trailing blank is part of the key", "h\r\nbis=to\r\nbis =to \r\n", "bis ", "to "},
    {"no trailing blank", "h\r\nbis =to \r\n", "bis", "bis"},
    {"accelerator", "h\r\n&Datei=&File\r\n", "&Datei", "&File"},
    {"value keeps its =", "h\r\nA=b=c\r\n", "A", "b=c"},
    {"LF-only runs on to the next CR", "h\nExport=one\nNext=two\r\n", "Export", "one\nNext=two"},
    {"key must start a line", "h\r\nXExport=no\r\n", "Export", "Export"},
};

}  // namespace

TEST(TextLookup, FollowsTheLanguageFileRules) {
    for (const LookupCase &c : kCases) {
        TextLookup texts;
        texts.setLanguageText(QString::fromUtf8(c.file));
        EXPECT_EQ(texts.LookupText(QString::fromUtf8(c.key)), QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST(TextLookup, ReadsUtf8OrWindows1252AndMatchesNamesIgnoringCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TextLookup texts;
    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("English.lng")),
                                       "\xEF\xBB\xBFheader\r\nWörter=Wörds\r\n"));
    ASSERT_TRUE(texts.LoadLanguageFile(dir.path(), QStringLiteral("english")));
    EXPECT_EQ(texts.LookupText(QStringLiteral("Wörter")), QStringLiteral("Wörds"));

    // Not valid UTF-8: Windows-1252, where 0x80 is the euro sign.
    ASSERT_TRUE(testsupport::writeFile(dir.filePath(QStringLiteral("Alt.lng")), "h\r\nW\xF6rter=\x80 \xFC\r\n"));
    ASSERT_TRUE(texts.LoadLanguageFile(dir.path(), QStringLiteral("Alt")));
    EXPECT_EQ(texts.LookupText(QStringLiteral("Wörter")), QStringLiteral("€ ü"));

    // A failed load forgets the previous language.
    EXPECT_FALSE(texts.LoadLanguageFile(dir.path(), QStringLiteral("Missing")));
    EXPECT_EQ(texts.LookupText(QStringLiteral("Wörter")), QStringLiteral("Wörter"));
}

TEST(TextLookup, ShippedEnglishFileTranslatesEveryEntry) {
    TextLookup texts;
    const QString lngDir = QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../../data/lng"));
    ASSERT_TRUE(texts.LoadLanguageFile(lngDir, QStringLiteral("English")));
    const QByteArray bytes = testsupport::readFile(lngDir + QStringLiteral("/English.lng"));
    const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 2);
    EXPECT_FALSE(bytes.contains("\n\n")) << "bare LF line ends";
    // Texts that read the same in English: the name, a label and the log's rules.
    const QSet<QString> sameInEnglish{QStringLiteral("Celltrove"), QStringLiteral("Version: "),
                                      QStringLiteral("Option: Export "), QStringLiteral("Option: Import"),
                                      QStringLiteral("-- "), QString(43, u'*'),
                                      QStringLiteral("_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _")};
    for (const QString &line : lines.mid(1)) {
        if (line.isEmpty()) continue;
        const qsizetype eq = line.indexOf(u'=');
        ASSERT_GT(eq, 0) << line.toStdString();
        if (sameInEnglish.contains(line.left(eq))) {
            EXPECT_EQ(texts.LookupText(line.left(eq)), line.left(eq)) << line.toStdString();
            continue;
        }
        EXPECT_NE(texts.LookupText(line.left(eq)), line.left(eq)) << line.toStdString();
    }
    TextLookup german;
    EXPECT_TRUE(german.LoadLanguageFile(lngDir, QStringLiteral("deutsch")));
    EXPECT_EQ(german.LookupText(QStringLiteral("Fehler")), QStringLiteral("Fehler"));
}
