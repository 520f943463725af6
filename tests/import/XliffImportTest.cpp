// The XLIFF import: the reader against malformed and hostile files, and the
// rules by which units reach cells, with in-memory workbooks.
#include "ImportHarness.h"

#include "import/XliffReader.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

using namespace importtest;
using celltrove::importing::ReadXliff;
using celltrove::importing::ReadXliffFile;
using celltrove::importing::XliffDocument;
using celltrove::run::FileTypeFilter;

namespace {

QByteArray xliffFile(const QByteArray &original, const QByteArray &units) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
           "<file original=\"" +
           original +
           "\" datatype=\"x-excel-sheet\" source-language=\"de-DE\">"
           "<body>\n" +
           units + "</body></file></xliff>\n";
}

QByteArray unit(const QByteArray &id, const QByteArray &source, const QByteArray &target) {
    return "<trans-unit id=\"" + id + "\" xml:space=\"preserve\"><source>" + source + "</source><target>" + target +
           "</target></trans-unit>\n";
}

office::Status readBytes(const QByteArray &bytes, XliffDocument &document) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadXliff(buffer, document);
}

}  // namespace

TEST(XliffReader, MalformedAndHostileFilesAreRefusedWithLineAndColumn) {
    const QByteArray good = xliffFile("a.xls#1", unit("1,1", "a", "b"));
    const QByteArray laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>\n"
        "<xliff version=\"1.2\"><file original=\"a.xls#1\"><body><trans-unit id=\"1,1\"><source>&d;</source>"
        "</trans-unit></body></file></xliff>";
    const QByteArray external =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
        "<xliff version=\"1.2\"><file original=\"a.xls#1\"><body><trans-unit id=\"1,1\"><source>s</source>"
        "<target>&x;</target></trans-unit></body></file></xliff>";
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"truncated", good.left(good.size() / 2)},
        {"wrong nesting",
         xliffFile("a.xls#1", "<trans-unit id=\"1,1\"><source>a<target>b</source></target></trans-unit>")},
        {"billion laughs", laughs},
        {"external entity", external},
        {"undeclared entity", xliffFile("a.xls#1", unit("1,1", "a", "&nbsp;"))},
        {"other root", "<?xml version=\"1.0\"?><html><body/></html>"},
        {"empty", ""},
        {"not XML", "{\"xliff\": 1}"},
    };
    for (const auto &c : cases) {
        XliffDocument document;
        const office::Status status = readBytes(c.bytes, document);
        EXPECT_FALSE(status) << c.name;
        EXPECT_TRUE(status.message.startsWith(QLatin1String("Zeile ")))
            << c.name << ": " << status.message.toStdString();
    }
    XliffDocument document;
    EXPECT_TRUE(readBytes(good, document));
    ASSERT_EQ(document.files.size(), 1u);
    EXPECT_EQ(document.files[0].original, QStringLiteral("a.xls#1"));
}

TEST(XliffReader, InlineCodesComeBackAsTheCharactersTheyStandFor) {
    const struct {
        QByteArray target;
        QString text;
    } cases[] = {
        {"a<x id=\"1\" ctype=\"lb\"/>b", QStringLiteral("a\nb")},
        {"a<ph id=\"1\" ctype=\"x-char\">U+0001</ph>b<ph id=\"2\" ctype=\"x-char\">U+D800</ph>",
         QStringLiteral("a\x01") + u'b' + QChar(0xD800)},
        {"<g id=\"1\">fett</g> <mrk mtype=\"x\">und</mrk><bpt id=\"2\">{b}</bpt>x<ept id=\"2\">{/b}</ept>",
         QStringLiteral("fett undx")},
        {"a<x id=\"1\"/>b<ph id=\"3\">code</ph>", QStringLiteral("ab")},
        {"&lt;&amp;&gt;&#x1F600;", QStringLiteral("<&>\U0001F600")},
    };
    for (const auto &c : cases) {
        XliffDocument document;
        ASSERT_TRUE(readBytes(xliffFile("a.xls#1", unit("1,1", "s", c.target)), document)) << c.target.data();
        ASSERT_EQ(document.files.at(0).units.size(), 1u);
        EXPECT_EQ(document.files[0].units[0].text, c.text) << c.target.data();
        EXPECT_TRUE(document.files[0].units[0].changed);
    }
}

// A target of 100 MB is refused after a few MB, not held; one just beyond a
// cell's length is read and marked as too long.
TEST(XliffReader, HugeTargetsAreRefusedWithinBounds) {
    QTemporaryDir dir;
    for (const qsizetype megabytes : {100, 0}) {
        const QString path = dir.filePath(QStringLiteral("huge.xlf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray whole = xliffFile("a.xls#1", unit("1,1", "s", "@@") + unit("1,2", "s", "t"));
        const qsizetype at = whole.indexOf("@@");
        file.write(whole.left(at));
        const QByteArray block(1 << 20, 'x');
        for (int i = 0; i < megabytes; ++i) file.write(block);
        file.write(QByteArray(40000, 'y'));
        file.write(whole.mid(at + 2));
        file.close();

        XliffDocument document;
        const office::Status status = ReadXliffFile(path, document);
        if (megabytes > 0) {
            EXPECT_FALSE(status);
            EXPECT_TRUE(status.message.contains(QStringLiteral("Text zu lang"))) << status.message.toStdString();
            EXPECT_LT(status.offset, 16 << 20);
            continue;
        }
        ASSERT_TRUE(status) << status.message.toStdString();
        ASSERT_EQ(document.files.at(0).units.size(), 2u);
        EXPECT_TRUE(document.files[0].units[0].tooLong);
        EXPECT_TRUE(document.files[0].units[0].text.isEmpty());
        EXPECT_EQ(document.files[0].units[1].text, QStringLiteral("t"));
    }
}

TEST(XliffImport, UnitsWithNewTargetsAreWrittenTheOthersCountedAndLeftAlone) {
    ImportHarness h;
    FakeSheet &before = h.book({1, 2}).worksheets.at(1);
    before.cells[{1, 1}] = QStringLiteral("Hallo");
    before.cells[{2, 1}] = QStringLiteral("42");
    const QByteArray units = unit("1,1", "Hallo", "Hello") + unit("2,1", "42", "42") +
                             "<trans-unit id=\"3,1\"><source>ohne</source></trans-unit>\n" +
                             unit("4,2", "a<x id=\"1\" ctype=\"lb\"/>b", "A<x id=\"1\" ctype=\"lb\"/>B");
    ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("Text_Mappe.xls.xlf")), xliffFile("Mappe.xls#1", units)));
    h.run({QStringLiteral("Text_Mappe.xls.xlf")}, FileTypeFilter::Xliff);

    EXPECT_FALSE(h.outcome.runError) << h.logLines().join(u'\n').toStdString();
    const FakeSheet &after = h.sheet(1);
    EXPECT_EQ(after.cells.value({1, 1}), QStringLiteral("Hello"));
    EXPECT_EQ(after.cells.value({2, 1}), QStringLiteral("42"));
    EXPECT_EQ(after.cells.value({4, 2}), QStringLiteral("A\nB"));
    EXPECT_EQ(after.writes, 2);
    EXPECT_TRUE(h.logHas(QStringLiteral("-- Blatt1 (1) -- 4 Zellen importiert")))
        << h.logLines().join(u'\n').toStdString();
    EXPECT_TRUE(h.logHas(QStringLiteral("   Unverändert (ohne Übersetzung): 2")));
}

// Every refusal is logged and flags the run; what can be written still is.
TEST(XliffImport, UnknownUnitsSheetsAndWorkbooksAreLoggedAndFlagTheRun) {
    const struct {
        const char *name;
        QByteArray original;
        QByteArray units;
        const char *logStart;
        bool opens;
    } cases[] = {
        {"id no cell", "Mappe.xls#1", unit("abc", "a", "b"), "Error: Unbekannte Einheit: abc", true},
        {"row 0", "Mappe.xls#1", unit("0,1", "a", "b"), "Error: Unbekannte Einheit: 0,1", true},
        {"beyond the sheet", "Mappe.xls#1", unit("65537,1", "a", "b"), "Error: Unbekannte Einheit: 65537,1", true},
        {"comment not there", "Mappe.xls#1", unit("comment:1,1", "a", "b"), "Error: Unbekannte Einheit: comment:1,1",
         true},
        {"no sheet", "Mappe.xls#7", unit("1,1", "a", "b"), "Error: Keine Tabelle mit der Nummer im Dokument: \"7\"",
         true},
        {"no workbook", "Fehlt.xls#1", unit("1,1", "a", "b"), "Kann Excel-Datei nicht öffnen: ", true},
        {"outside the folder", "../Mappe.xls#1", unit("1,1", "a", "b"),
         "Error: Ungültiger Name der Excel-Datei im Dokument: \"../Mappe.xls\"", false},
        {"no sheet index", "Mappe.xls", unit("1,1", "a", "b"),
         "Error: Ungültiger Name der Excel-Datei im Dokument: \"Mappe.xls\"", false},
    };
    for (const auto &c : cases) {
        ImportHarness h;
        h.book({1});
        ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("t.xlf")),
                                           xliffFile(c.original, c.units + unit("1,2", "x", "y"))));
        h.run({QStringLiteral("t.xlf")}, FileTypeFilter::Xliff);
        EXPECT_TRUE(h.outcome.runError) << c.name;
        bool logged = false;
        for (const QString &line : h.logLines()) logged |= line.startsWith(QString::fromUtf8(c.logStart));
        EXPECT_TRUE(logged) << c.name << "\n" << h.logLines().join(u'\n').toStdString();
        EXPECT_EQ(!h.books.openedPaths.isEmpty(), c.opens) << c.name;
        if (QByteArray(c.original) == "Mappe.xls#1") {
            EXPECT_EQ(h.sheet(1).cells.value({1, 2}), QStringLiteral("y")) << c.name;
        }
    }
}

TEST(XliffImport, AFileThatDoesNotParseChangesNothing) {
    ImportHarness h;
    h.book({1});
    QByteArray bytes = xliffFile("Mappe.xls#1", unit("1,1", "a", "b") + unit("1,2", "c", "d"));
    bytes.chop(10);
    ASSERT_TRUE(testsupport::writeFile(h.path(QStringLiteral("t.xlf")), bytes));
    h.run({QStringLiteral("t.xlf")}, FileTypeFilter::Xliff);
    EXPECT_TRUE(h.outcome.runError);
    EXPECT_TRUE(h.books.openedPaths.isEmpty());
    EXPECT_EQ(h.sheet(1).writes, 0);
    bool logged = false;
    for (const QString &line : h.logLines())
        logged |= line.startsWith(QStringLiteral("Error: XLIFF-Datei fehlerhaft: ")) &&
                  line.contains(QStringLiteral("Zeile "));
    EXPECT_TRUE(logged) << h.logLines().join(u'\n').toStdString();
}
