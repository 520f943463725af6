// The longest text a cell holds (32,767 characters) through the command-line
// program: exported whole into its document, and a translation of the same
// length imported whole; a translation that grows past the limit keeps its first
// 32,767 characters and the log says so.

#include "office/doc/Application.h"
#include "office/doc/RtfReader.h"
#include "office/doc/TextDump.h"
#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using office::sheet::CellValue;
using office::sheet::Workbook;

namespace {

// "Wort0 Wort1 ..." cut to `length` characters, with one character beyond Latin-1.
QString wordsOf(const QString &word, int length) {
    QString text;
    for (int i = 0; text.size() < length; ++i) text += word + QString::number(i) + u' ';
    text.truncate(length);
    text[7] = QChar(0x65E5);
    return text;
}

}  // namespace

TEST(CliLongestCell, ThirtyTwoThousandCharactersGoOutAndComeBackWhole) {
    constexpr int kLongest = 32767;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mappe.xls"));
    const QString longest = wordsOf(QStringLiteral("Wort"), kLongest);
    const QString growing = wordsOf(QStringLiteral("Haus"), kLongest);
    {
        std::unique_ptr<Workbook> book;
        ASSERT_TRUE(Workbook::open(testsupport::fixtureDir() + QStringLiteral("/export/export-basic.xls"), book).ok);
        book->worksheet(1)->setValue(1, 1, longest, QLocale::c());
        book->worksheet(1)->setValue(2, 1, growing, QLocale::c());
        ASSERT_TRUE(book->saveAs(path).ok);
    }
    const auto cli = [&](const QString &command, const QString &file) {
        return testsupport::runProgram(testsupport::binDir() + QStringLiteral("/celltrove-cli"), {command, file},
                                       300000, dir.path());
    };
    const testsupport::ProcessResult exported = cli(QStringLiteral("export"), QStringLiteral("Mappe.xls"));
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();

    const QString document = dir.filePath(QStringLiteral("Text_Mappe.xls-1.rtf"));
    {
        office::doc::Application app;
        office::doc::Document *doc = app.documents().add();
        ASSERT_TRUE(office::doc::RtfReader::readFile(document, *doc).ok);
        const QString text = office::doc::dumpText(*doc);
        EXPECT_TRUE(text.contains(longest));
        EXPECT_TRUE(text.contains(growing));
    }

    // The translation: every "Wort" a "Satz" (the same length), every "Haus" a
    // "Häuser" (longer, and written as \'e4 in the file).
    QByteArray rtf = testsupport::readFile(document);
    ASSERT_EQ(rtf.count("Wort"), longest.count(QStringLiteral("Wort"))) << "each word in one piece";
    rtf.replace("Wort", "Satz");
    rtf.replace("Haus", "H\\'e4user");
    ASSERT_TRUE(testsupport::writeFile(document, rtf));
    const testsupport::ProcessResult imported = cli(QStringLiteral("import"), QStringLiteral("Text_Mappe.xls-1.rtf"));
    const QByteArray log = testsupport::readFile(dir.filePath(QStringLiteral("Celltrove4Excel-Import.log")));
    EXPECT_TRUE(log.contains("nur der Anfang wurde übernommen")) << log.toStdString();

    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(path, book).ok);
    QString translated = longest;
    translated.replace(QStringLiteral("Wort"), QStringLiteral("Satz"));
    EXPECT_EQ(book->worksheet(1)->value(1, 1), CellValue::text(translated));
    QString grown = growing;
    grown.replace(QStringLiteral("Haus"), QStringLiteral("Häuser"));
    EXPECT_EQ(book->worksheet(1)->value(2, 1), CellValue::text(grown.left(kLongest)));
    EXPECT_EQ(imported.exitCode, 1) << "a cut text is a run error";
}
