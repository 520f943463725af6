// Saving workbooks: typed input, unchanged saves keeping every stream, formats kept,
// encryption kept, atomic replacement. Other programs reading changed workbooks:
// WriteBackComparisonTest.cpp.

#include "WorkbookFiles.h"

#include "office/sheet/AtomicFile.h"
#include "office/sheet/BiffRecordReader.h"
#include "office/sheet/TypedInput.h"
#include "office/sheet/Workbook.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace office::sheet;

namespace {

const QLocale de(QLocale::German, QLocale::Germany);

// The bodies of a workbook stream's records of one kind, in stream order.
QList<QByteArray> recordBodies(const QByteArray &stream, std::uint16_t id) {
    QList<QByteArray> bodies;
    BiffRecordReader reader(stream, 0, false);
    BiffRecord record;
    while (reader.next(record))
        if (record.id == id) bodies.append(QByteArray(record.body.constData(), record.body.size()));
    return bodies;
}

}  // namespace

TEST(TypedInput, WhatATypedTextBecomes) {
    const struct {
        const char *text;
        TypedInput::Kind kind;
        double number;
    } cases[] = {
        {"", TypedInput::Empty, 0},
        {"3,5", TypedInput::Number, 3.5},
        {"-1.234,5", TypedInput::Number, -1234.5},
        {"06.12.2026", TypedInput::Date, 46362},
        {"06.12.26", TypedInput::Date, 46362},
        {"06.12.2026 14:30:00", TypedInput::Date, 46362 + 14.5 / 24},
        {"18:00:00", TypedInput::Date, 0.75},
        {"=A1+1", TypedInput::Text, 0},
        {"Größe", TypedInput::Text, 0},
        {"31.02.2026", TypedInput::Text, 0},
        {" ", TypedInput::Text, 0},
        {"#DIV/0!", TypedInput::Error, 0x07},
        {"#n/a", TypedInput::Error, 0x2A},
        {"#NULL!", TypedInput::Error, 0x00},
        {"#NAME?", TypedInput::Error, 0x1D},
        {"#DIV/0", TypedInput::Text, 0},
        {" #REF!", TypedInput::Text, 0},
        {"True", TypedInput::Bool, 1},
        {"False", TypedInput::Bool, 0},
        {"TRUE", TypedInput::Text, 0},
        {"Wahr", TypedInput::Text, 0},
    };
    for (const auto &c : cases) {
        const TypedInput input = interpretTypedText(QString::fromUtf8(c.text), de, false);
        EXPECT_EQ(input.kind, c.kind) << c.text;
        if (c.kind != TypedInput::Empty && c.kind != TypedInput::Text) {
            EXPECT_NEAR(input.number, c.number, 1e-9) << c.text;
        }
        if (c.kind == TypedInput::Text) {
            EXPECT_EQ(input.text, QString::fromUtf8(c.text));
        }
    }
    EXPECT_EQ(interpretTypedText(QStringLiteral("06.12.2026"), de, true).number, 46362 - 1462);
    const TypedInput longText = interpretTypedText(QString(40000, QLatin1Char('x')), de, false);
    EXPECT_TRUE(longText.truncated);
    EXPECT_EQ(longText.text.size(), kMaxCellText);
}

TEST(Writer, UnchangedSaveKeepsEveryStream) {
    for (const QString &path : sheettest::workbookFiles()) {
        std::unique_ptr<Workbook> book;
        if (!Workbook::open(path, book).ok) continue;
        SCOPED_TRACE(path.toStdString());
        QByteArray bytes;
        ASSERT_TRUE(book->toBytes(bytes).ok);
        office::ole::CompoundFile saved;
        ASSERT_TRUE(office::ole::CompoundFile::readBytes(bytes, saved).ok);
        ASSERT_EQ(saved.entries().size(), book->container().entries().size());
        for (std::size_t i = 0; i < saved.entries().size(); ++i) {
            EXPECT_EQ(saved.entries()[i].path, book->container().entries()[i].path);
            EXPECT_TRUE(saved.entries()[i].data == book->container().entries()[i].data);
        }
    }
}

namespace {

// Whether every stream offset the stream holds leads to a record of its kind: each
// BOUNDSHEET to a BOF, and each INDEX to its DEFCOLWIDTH (0 for none) and DBCELLs.
bool streamOffsetsHold(const QByteArray &stream) {
    const auto idAt = [&stream](qint64 at) -> int {
        if (at < 0 || at + 2 > stream.size()) return -1;
        return quint8(stream[at]) | (quint8(stream[at + 1]) << 8);
    };
    const auto offsetAt = [](const QByteArray &body, qsizetype at) {
        return qint64(quint8(body[at]) | (quint8(body[at + 1]) << 8) | (quint8(body[at + 2]) << 16)) |
               (qint64(quint8(body[at + 3])) << 24);
    };
    for (const QByteArray &body : recordBodies(stream, 0x0085))
        if (body.size() < 4 || idAt(offsetAt(body, 0)) != 0x0809) return false;
    for (const QByteArray &body : recordBodies(stream, 0x020B)) {
        if (body.size() < 16) continue;
        const qint64 defColWidth = offsetAt(body, 12);
        if (defColWidth != 0 && idAt(defColWidth) != 0x0055) return false;
        for (qsizetype at = 16; at + 4 <= body.size(); at += 4)
            if (idAt(offsetAt(body, at)) != 0x00D7) return false;
    }
    return true;
}

}  // namespace

// A changed sheet is rebuilt and the sheets behind it move: the offsets that point
// into sheets still lead to their records, whichever sheet changed.
TEST(Writer, StreamOffsetsLeadToTheirRecordsAfterAChange) {
    int checked = 0;
    for (const QString &path : sheettest::workbookFiles(4 << 20)) {
        std::unique_ptr<Workbook> original;
        if (!Workbook::open(path, original).ok || original->biffVersion() != 8) continue;
        QByteArray stream;
        if (!original->streamBytes(stream).ok || !streamOffsetsHold(stream)) continue;  // as the file came
        SCOPED_TRACE(path.toStdString());
        QList<int> worksheets;  // chart and macro sheets have no cells to change
        for (int n = 1; n <= original->sheetCount(); ++n)
            if (original->worksheet(n)) worksheets << n;
        if (worksheets.isEmpty()) continue;
        for (const int changed : {worksheets.front(), worksheets.back()}) {
            std::unique_ptr<Workbook> book;
            ASSERT_TRUE(Workbook::open(path, book).ok);
            book->worksheet(changed)->setValue(1, 1, QStringLiteral("neu ") + QString::number(changed), de);
            QByteArray saved;
            ASSERT_TRUE(book->streamBytes(saved).ok);
            EXPECT_TRUE(streamOffsetsHold(saved)) << "sheet " << changed << " changed";
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);  // the fixtures at least; the corpus adds dozens where it is there
}

TEST(Writer, NumbersDatesAndTextsKeepTheirFormats) {
    QTemporaryDir dir;
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls"), book).ok);
    Worksheet &werte = *book->worksheet(1);
    Worksheet &datum = *book->worksheet(QStringLiteral("Datum"));
    const int dateXf = datum.cell(1, 1)->xf;
    EXPECT_TRUE(datum.setValue(1, 1, QStringLiteral("24.12.2026"), de));
    EXPECT_TRUE(werte.setValue(1, 1, QStringLiteral("4,25"), de));          // text cell becomes a number
    EXPECT_TRUE(werte.setValue(3, 6, QStringLiteral("=A2*3"), de));         // formula replaced by text
    EXPECT_TRUE(werte.setValue(1, 3, QString(), de));                       // emptied
    EXPECT_TRUE(werte.setValue(30, 2, QStringLiteral("01.02.2027"), de));   // new cell, date format added
    EXPECT_TRUE(werte.setValue(31, 1, QStringLiteral("#DIV/0!"), de));     // error value
    EXPECT_TRUE(werte.setValue(3, 1, QStringLiteral("False"), de));        // boolean stays boolean
    EXPECT_TRUE(werte.setValue(31, 2, QStringLiteral("False"), de));       // elsewhere the word is text
    EXPECT_EQ(werte.pasteGrid(40, 1, {{QStringLiteral("a"), QStringLiteral("1")}, {QStringLiteral("b")}}, de), 0);
    const QString target = dir.filePath(QStringLiteral("kinds.xls"));
    ASSERT_TRUE(book->saveAs(target).ok);
    std::unique_ptr<Workbook> again;
    ASSERT_TRUE(Workbook::open(target, again).ok);
    const Worksheet &w = *again->worksheet(1);
    const Worksheet &d = *again->worksheet(QStringLiteral("Datum"));
    EXPECT_EQ(d.value(1, 1), CellValue::date(46380, false));
    EXPECT_EQ(d.cell(1, 1)->xf, dateXf);
    EXPECT_EQ(w.value(1, 1), CellValue::number(4.25));
    EXPECT_EQ(w.value(3, 6), CellValue::text(QStringLiteral("=A2*3")));
    EXPECT_FALSE(w.cell(3, 6)->isFormula());
    EXPECT_TRUE(w.value(1, 3).isEmpty());
    EXPECT_EQ(w.value(30, 2).kind(), ValueKind::Date);
    EXPECT_EQ(w.value(31, 1), CellValue::error(0x07));
    EXPECT_EQ(w.value(3, 1), CellValue::boolean(false));
    EXPECT_FALSE(w.cell(3, 1)->isFormula());
    EXPECT_EQ(w.value(31, 2), CellValue::text(QStringLiteral("False")));
    EXPECT_EQ(w.value(40, 1), CellValue::text(QStringLiteral("a")));
    EXPECT_EQ(w.value(40, 2), CellValue::number(1));
    EXPECT_EQ(w.value(41, 1), CellValue::text(QStringLiteral("b")));
    EXPECT_EQ(w.value(12, 2).textValue().size(), 5004);  // long SST string kept
    EXPECT_EQ(w.value(8, 2), CellValue::number(70));      // shared formula kept
    EXPECT_EQ(again->worksheet(3)->mergedAreas().size(), 1u);
    // Untouched numbers keep their records: RK values read from one MULRK stay one,
    // NUMBER records stay NUMBER records.
    for (std::uint16_t id : {0x00BD, 0x0203}) {
        EXPECT_FALSE(recordBodies(book->stream(), id).isEmpty()) << id;
        EXPECT_EQ(recordBodies(again->stream(), id), recordBodies(book->stream(), id)) << id;
    }
    EXPECT_TRUE(again->worksheet(3)->isColumnHidden(2));
}

TEST(Writer, TextsLongerThanACellOrCommentHoldsAreCutAndReported) {
    const QString pair = QString::fromUtf8("\xF0\x9F\x98\x80");  // one character, two UTF-16 units
    const struct {
        QString text;
        qsizetype kept;
        bool cut;
    } cases[] = {
        {QString(kMaxCommentText, QLatin1Char('a')), kMaxCommentText, false},
        {QString(40000, QLatin1Char('b')), kMaxCommentText, true},
        {QString(kMaxCommentText - 1, QLatin1Char('c')) + pair, kMaxCommentText - 1, true},  // never half a pair
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.left(1).toStdString());
        std::unique_ptr<Workbook> book;
        ASSERT_TRUE(Workbook::open(testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls"), book).ok);
        Worksheet &sheet = *book->worksheet(1);
        bool cellCut = !c.cut, commentCut = !c.cut;
        ASSERT_TRUE(sheet.setValue(1, 1, c.text, de, &cellCut));
        ASSERT_TRUE(sheet.setCommentText(1, c.text, &commentCut));
        EXPECT_EQ(cellCut, c.cut);
        EXPECT_EQ(commentCut, c.cut);
        const QString target = dir.filePath(QStringLiteral("long.xls"));
        ASSERT_TRUE(book->saveAs(target).ok);
        std::unique_ptr<Workbook> again;
        ASSERT_TRUE(Workbook::open(target, again).ok);
        EXPECT_EQ(again->worksheet(1)->value(1, 1), CellValue::text(c.text.left(c.kept)));
        EXPECT_EQ(again->worksheet(1)->comment(1).text, c.text.left(c.kept));
    }
}

TEST(Writer, EncryptedWorkbookIsSavedEncrypted) {
    REQUIRE_CORPUS();
    QTemporaryDir dir;
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(testsupport::corpusFile(QStringLiteral("xls/edr_protectedsheet-xxx.xls")), book).ok);
    ASSERT_TRUE(book->worksheet(1)->setValue(1, 1, QStringLiteral("y"), de));
    const QString target = dir.filePath(QStringLiteral("protected.xls"));
    ASSERT_TRUE(book->saveAs(target).ok);
    std::unique_ptr<Workbook> again;
    ASSERT_TRUE(Workbook::open(target, again).ok);
    EXPECT_TRUE(again->wasDecrypted());
    EXPECT_EQ(again->worksheet(1)->value(1, 1), CellValue::text(QStringLiteral("y")));
    EXPECT_EQ(again->worksheet(1)->value(2, 1).toDouble(), 1.4);
}

TEST(Writer, FailedSaveLeavesTheFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.xls"));
    const QByteArray original = testsupport::readFile(testsupport::fixtureDir() + QStringLiteral("/xls/kinds.xls"));
    ASSERT_TRUE(testsupport::writeFile(path, original));
    for (qint64 failAfter : {qint64(0), qint64(1), qint64(512), qint64(10000)}) {
        const DeviceWriter failing = [failAfter](QIODevice &device, const QByteArray &bytes) {
            device.write(bytes.left(failAfter));
            return false;
        };
        EXPECT_FALSE(writeFileAtomically(path, QByteArray(20000, 'x'), failing).ok);
        EXPECT_EQ(testsupport::readFile(path), original) << failAfter;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("book.xls")});
    }
    EXPECT_FALSE(writeFileAtomically(dir.filePath(QStringLiteral("no/such/folder/book.xls")), "x").ok);
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(path, book).ok);
    book->worksheet(1)->setValue(1, 1, QStringLiteral("neu"), de);
    ASSERT_TRUE(book->save().ok);
    std::unique_ptr<Workbook> again;
    ASSERT_TRUE(Workbook::open(path, again).ok);
    EXPECT_EQ(again->worksheet(1)->value(1, 1), CellValue::text(QStringLiteral("neu")));
}

TEST(Writer, ExcelNinetyFiveIsRefusedForWriting) {
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(testsupport::fixtureDir() + QStringLiteral("/xls/excel95.xls"), book).ok);
    book->worksheet(1)->setValue(1, 1, QStringLiteral("x"), de);
    QByteArray bytes;
    const office::Status st = book->toBytes(bytes);
    EXPECT_FALSE(st.ok);
    EXPECT_TRUE(st.message.contains(QLatin1String("Excel 95")));
}
