// The cell way has two readers: a tagged document is imported while it is read
// front to back, and any document that reader cannot take is read whole. Both
// must leave the same workbook, log, counts and flags; these tests run both
// over the same documents and compare.

#include "ImportHarness.h"

#include "import/ImportDocument.h"
#include "import/StreamedCellImport.h"
#include "office/doc/RtfTextStream.h"

#include <gtest/gtest.h>

#include <QDir>

#include <functional>

using namespace importtest;
using celltrove::importing::StreamedImport;

namespace {

const QString kWorkbook = QStringLiteral("Mappe.xls");
const QString kDocument = QStringLiteral("Text_Mappe.xls-1.rtf");

// RTF of plain paragraphs, each ended by \par; character 11 becomes \line and
// the internal hyphen codes their control symbols.
QByteArray rtfOf(const QStringList &paragraphs) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (const QString &paragraph : paragraphs) {
        for (const QChar c : paragraph) {
            const char16_t u = c.unicode();
            if (u == 11) rtf += "\\line ";
            else if (u == 0x1F) rtf += "\\-";
            else if (u == '\\' || u == '{' || u == '}') rtf += QByteArray(1, '\\') + char(u);
            else if (u < 0x80) rtf += char(u);
            else rtf += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
        rtf += "\\par\n";
    }
    return rtf + '}';
}

QStringList header(const QString &sheet = QStringLiteral("1")) {
    return {QStringLiteral("<!-- Excel-Dateiname: -->") + kWorkbook, QStringLiteral("<!-- ExcelsheetNr.: -->") + sheet,
            QString()};
}
QStringList cell(const QString &identifier, const QStringList &text) {
    return QStringList{QStringLiteral("<!-- CellID: ") + identifier + QStringLiteral("-->"), QString()} + text +
           QStringList{QString()};
}
QStringList total(int n) { return {QStringLiteral("<!-- CellIDs-Gesamt:>>") + QString::number(n)}; }

// The workbook every document goes into: two sheets, comments, a formula.
FakeBook initialBook() {
    FakeBook book;
    FakeSheet &one = book.worksheets[1];
    one.sheetName = QStringLiteral("Blatt1");
    one.comments = {QStringLiteral("k1"), QStringLiteral("k2"), QStringLiteral("k3")};
    one.cells[{5, 1}] = QStringLiteral("42");
    one.formulas.insert({5, 1});
    one.cells[{9, 9}] = QStringLiteral("bleibt");
    book.worksheets[2].sheetName = QStringLiteral("Blatt2");
    return book;
}

// Everything an import leaves behind that either reader could get wrong.
struct ImportResult {
    std::map<int, FakeSheet> sheets;
    QStringList log;
    QStringList progress;
    bool runError = false;
    bool tableFlag = false;
    QList<qint32> counts;
};

ImportResult importOnce(const QString &folder, const QString &document, const FakeBook &book, bool whileReading) {
    FakeWorkbooks books;
    books.add(folder + kWorkbook) = book;
    celltrove::run::RunRequest request;
    request.folder = folder;
    request.selectedFiles = {document};
    celltrove::run::TextLookup texts;
    celltrove::run::SettingsStore settings(folder + QStringLiteral("settings.ini"));
    RecordingUi ui;
    celltrove::run::RunContext run(request, texts, settings, ui);
    const QString logPath = folder + QStringLiteral("compare.log");
    EXPECT_TRUE(run.log().OpenLog(logPath, false));
    celltrove::importing::ImportEngines engines(books.opener());
    engines.importWhileReading = whileReading;
    celltrove::importing::ImportDocument(run, engines, folder + document);
    run.log().CloseLog();

    ImportResult r;
    r.sheets = books.find(folder + kWorkbook)->worksheets;
    // The two runs work in folders of their own.
    r.log = QString::fromUtf8(testsupport::readFile(logPath)).replace(folder, QStringLiteral("FOLDER/")).split(QStringLiteral("\r\n"));
    r.progress = ui.processTexts;
    r.runError = run.runError;
    r.tableFlag = run.tableFlag;
    const auto &c = run.counter();
    r.counts = {c.runCharacters(), c.runWords(), c.runCells(), c.runTables(), c.fileCharacters(), c.fileWords(),
                c.fileCells()};
    return r;
}

void expectSameImport(const ImportResult &streamed, const ImportResult &whole) {
    ASSERT_EQ(streamed.sheets.size(), whole.sheets.size());
    for (const auto &[index, sheet] : whole.sheets) {
        const FakeSheet &other = streamed.sheets.at(index);
        EXPECT_EQ(other.cells, sheet.cells) << "sheet " << index;
        EXPECT_EQ(other.comments, sheet.comments) << "sheet " << index;
        EXPECT_EQ(other.formulas, sheet.formulas) << "sheet " << index;
    }
    EXPECT_EQ(streamed.log, whole.log);
    EXPECT_EQ(streamed.runError, whole.runError);
    EXPECT_EQ(streamed.tableFlag, whole.tableFlag);
    EXPECT_EQ(streamed.counts, whole.counts);
    // The reader that gives up may already have shown progress; what the user
    // sees last is the same.
    ASSERT_FALSE(whole.progress.isEmpty() && !streamed.progress.isEmpty());
    if (!whole.progress.isEmpty()) {
        EXPECT_EQ(streamed.progress.last(), whole.progress.last());
    }
}

// What the front-to-back reader makes of the document on its own, and that
// giving up leaves the run untouched.
StreamedImport::Outcome streamedOutcome(const QString &folder, const QString &document, const FakeBook &book) {
    FakeWorkbooks books;
    books.add(folder + kWorkbook) = book;
    celltrove::run::RunRequest request;
    celltrove::run::TextLookup texts;
    celltrove::run::SettingsStore settings(folder + QStringLiteral("settings.ini"));
    RecordingUi ui;
    celltrove::run::RunContext run(request, texts, settings, ui);
    celltrove::importing::ImportEngines engines(books.opener());
    office::doc::RtfTextStream stream;
    (void)stream.open(folder + document);
    const StreamedImport result =
        celltrove::importing::ImportCellsStreamed(run, engines, folder, folder + document, stream);
    if (result.outcome == StreamedImport::ReadWhole) {
        EXPECT_EQ(run.counter().runCells(), 0);
        EXPECT_FALSE(run.runError);
        EXPECT_EQ(books.find(folder + kWorkbook)->saves, 0);
    }
    return result.outcome;
}

struct Case {
    const char *name;
    std::function<QByteArray()> rtf;
    StreamedImport::Outcome outcome;
};

QByteArray built(const std::function<void(TaggedDocBuilder &)> &fill, const QString &sheet = QStringLiteral("1")) {
    QTemporaryDir dir;
    TaggedDocBuilder doc(kWorkbook, sheet);
    fill(doc);
    const QString path = dir.filePath(QStringLiteral("built.rtf"));
    EXPECT_TRUE(doc.saveAs(path));
    return testsupport::readFile(path);
}

const Case kCases[] = {
    {"exported layout with comments, formula, line ends and odd texts",
     [] {
         return built([](TaggedDocBuilder &d) {
             d.comment(QStringLiteral("  erster  ")).comment(QStringLiteral("zwei\nZeilen<<lf>>Tag"));
             d.cell(1, 1, QStringLiteral("Haus")).cell(1, 2, QStringLiteral("drei\nZeilen")).cell(2, 1, QStringLiteral(" "));
             d.cell(3, 1, QString()).cell(5, 1, QStringLiteral("Formel weg")).cell(6, 2, QStringLiteral("a<<lf>>b"));
             d.cell(7, 1, QStringLiteral("weich\x1Fgetrennt")).cell(8, 1, QStringLiteral("Grüße ") + QChar(0x4E2D));
             d.marker(QStringLiteral("x,y")).text(QStringLiteral("\rungültig\r\r"));
             d.marker(QStringLiteral("70000,1")).text(QStringLiteral("\rzu weit\r\r"));
             d.marker(QStringLiteral("4,4")).text(QStringLiteral("\r\rvorne leer<!-- abgeschnitten\r\r"));
             d.total(9);
         });
     },
     StreamedImport::Imported},
    {"markers in other letter cases, two in one paragraph, a break in a marker's paragraph",
     [] {
         return rtfOf(header() + cell(QStringLiteral("1,1"), {QStringLiteral("eins")}) +
                      QStringList{QStringLiteral("<!-- cellid: 2,1--><!-- CellID: 3,1-->"), QStringLiteral("zwei")} +
                      QStringList{QStringLiteral("<!-- CellID: 4,1-->") + QChar(11) + QStringLiteral("vier"),
                                  QStringLiteral("mehr")} +
                      cell(QStringLiteral("5 , 2"), {QStringLiteral("<comm>kein Kommentar</comm>")}) + total(4));
     },
     StreamedImport::Imported},
    {"comment blocks nested, empty and unterminated",
     [] {
         return rtfOf(header() + QStringList{QStringLiteral("<comm><comm>innen</comm>"), QStringLiteral("<COMM></comm>"),
                                             QStringLiteral("<comm>"), QString()} +
                      cell(QStringLiteral("1,1"), {QStringLiteral("Text")}) + total(1));
     },
     StreamedImport::Imported},
    {"second sheet, no comments there",
     [] {
         return built([](TaggedDocBuilder &d) { d.cell(1, 1, QStringLiteral("zwei")).total(1); },
                      QStringLiteral("2"));
     },
     StreamedImport::Imported},
    {"workbook that cannot be opened",
     [] {
         QStringList doc = header() + cell(QStringLiteral("1,1"), {QStringLiteral("x")}) + total(1);
         doc[0] = QStringLiteral("<!-- Excel-Dateiname: -->Fehlt.xls");
         return rtfOf(doc);
     },
     StreamedImport::Imported},
    {"sheet number that names no sheet",
     [] { return rtfOf(header(QStringLiteral("7")) + cell(QStringLiteral("1,1"), {QStringLiteral("x")}) + total(1)); },
     StreamedImport::Imported},
    {"table document whose sheet does not exist",
     [] {
         return built([](TaggedDocBuilder &d) { d.cell(1, 1, QStringLiteral("eins")).total(1).table({{QStringLiteral("t")}}); },
                      QStringLiteral("7"));
     },
     StreamedImport::ReadWhole},
    {"no cell marker", [] { return rtfOf(header() + QStringList{QStringLiteral("nur Text")} + total(0)); },
     StreamedImport::NoCellMarker},
    {"no totals line: the last text runs to the end",
     [] { return built([](TaggedDocBuilder &d) { d.cell(1, 1, QStringLiteral("eins")).cell(2, 1, QStringLiteral("letzte")); }); },
     StreamedImport::ReadWhole},
    {"totals line first: the last text ends at the document's start",
     [] {
         return rtfOf(total(2) + header() + cell(QStringLiteral("1,1"), {QStringLiteral("a")}) +
                      cell(QStringLiteral("2,1"), {QStringLiteral("b")}));
     },
     StreamedImport::ReadWhole},
    {"sheet marker before the workbook marker",
     [] {
         return rtfOf(QStringList{QStringLiteral("<!-- ExcelsheetNr.: -->1"), QStringLiteral("<!-- Excel-Dateiname: -->") + kWorkbook} +
                      cell(QStringLiteral("1,1"), {QStringLiteral("a")}) + total(1));
     },
     StreamedImport::ReadWhole},
    {"cells before the header",
     [] {
         return rtfOf(cell(QStringLiteral("1,1"), {QStringLiteral("vor")}) + header() +
                      cell(QStringLiteral("2,1"), {QStringLiteral("nach")}) + total(2));
     },
     StreamedImport::Imported},
    {"a table after the cells",
     [] {
         return built([](TaggedDocBuilder &d) {
             d.cell(1, 1, QStringLiteral("eins")).total(1).table({{QStringLiteral("t1"), QStringLiteral("t2")}});
         });
     },
     StreamedImport::ReadWhole},
};

}  // namespace

TEST(StreamedImport, BothReadersLeaveTheSameWorkbookLogAndCounts) {
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir streamedDir, wholeDir;
        const QString streamedFolder = streamedDir.path() + u'/';
        const QString wholeFolder = wholeDir.path() + u'/';
        const QByteArray rtf = c.rtf();
        ASSERT_TRUE(testsupport::writeFile(streamedFolder + kDocument, rtf));
        ASSERT_TRUE(testsupport::writeFile(wholeFolder + kDocument, rtf));
        const FakeBook book = initialBook();
        EXPECT_EQ(streamedOutcome(streamedFolder, kDocument, book), c.outcome);
        expectSameImport(importOnce(streamedFolder, kDocument, book, true),
                         importOnce(wholeFolder, kDocument, book, false));
    }
}

// The text stream hands over what the reader puts into the story, piece by
// piece, whatever the piece size; at a table it stops and says so.
TEST(StreamedImport, TextStreamGivesTheStoryText) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.rtf"));
    ASSERT_TRUE(testsupport::writeFile(path, kCases[0].rtf()));
    office::doc::Application word;
    office::Status status;
    office::doc::Document *whole = word.documents().open(path, &status);
    ASSERT_NE(whole, nullptr);
    const QString expected = whole->story().text(0, whole->story().length());
    for (const qsizetype piece : {1, 7, 1 << 20}) {
        office::doc::RtfTextStream stream;
        ASSERT_TRUE(stream.open(path));
        QString text;
        while (stream.readMore(text, piece)) {
        }
        EXPECT_FALSE(stream.readWholeNeeded());
        EXPECT_EQ(text, expected) << piece;
    }

    const QString table = dir.filePath(QStringLiteral("table.rtf"));
    ASSERT_TRUE(testsupport::writeFile(table, kCases[std::size(kCases) - 1].rtf()));
    office::doc::RtfTextStream stream;
    ASSERT_TRUE(stream.open(table));
    QString text;
    while (stream.readMore(text, 1)) {
    }
    EXPECT_TRUE(stream.readWholeNeeded());

    // Across the pieces the file is read in: long text and a picture's binary
    // data the window holds; binary data longer than the window sends the
    // document to the whole reader.
    QStringList paragraphs = header();
    for (int i = 0; i < 60000; ++i) paragraphs << QStringLiteral("Absatz %1 mit etwas Text, der die Datei lang macht").arg(i);
    QByteArray large = rtfOf(paragraphs);
    large.insert(large.size() - 1, "{\\pict\\bin1000 " + QByteArray(1000, '}') + "}Ende\\par ");
    ASSERT_TRUE(testsupport::writeFile(table, large));
    office::doc::Document *wholeLarge = word.documents().open(table, &status);
    ASSERT_NE(wholeLarge, nullptr);
    office::doc::RtfTextStream largeStream;
    ASSERT_TRUE(largeStream.open(table));
    QString largeText;
    while (largeStream.readMore(largeText, 4096)) {
    }
    EXPECT_FALSE(largeStream.readWholeNeeded());
    EXPECT_TRUE(largeText == wholeLarge->story().text(0, wholeLarge->story().length()));
    large.insert(large.size() - 1, "{\\pict\\bin8000000 " + QByteArray(8000000, '{') + "}");
    ASSERT_TRUE(testsupport::writeFile(table, large));
    office::doc::RtfTextStream binaryStream;
    ASSERT_TRUE(binaryStream.open(table));
    while (binaryStream.readMore(largeText, 1 << 20)) {
    }
    EXPECT_TRUE(binaryStream.readWholeNeeded());

    // A stream let go of while its reading thread waits with pieces read ahead.
    for (int i = 0; i < 3; ++i) {
        office::doc::RtfTextStream early;
        ASSERT_TRUE(early.open(table));
        QString start;
        if (i > 0) {
            EXPECT_TRUE(early.readMore(start, i));
        }
    }

    office::doc::RtfTextStream notRtf;
    ASSERT_TRUE(testsupport::writeFile(table, "plain text"));
    EXPECT_FALSE(notRtf.open(table));
}
