// The reader on hand-made streams: string continuation, cell record kinds, and what
// damaged or foreign input gives (a reason, never a crash).

#include "BiffBuilder.h"

#include "office/sheet/Workbook.h"

#include <gtest/gtest.h>

using namespace office::sheet;
using namespace biffbuild;

namespace {

std::unique_ptr<Workbook> openStream(const QByteArray &stream, office::Status *status = nullptr,
                                     const QString &name = QStringLiteral("Workbook")) {
    std::unique_ptr<Workbook> book;
    const office::Status st = Workbook::openBytes(file(stream, name), book);
    if (status) *status = st;
    return book;
}

// SST whose second string starts compressed and goes on, after a CONTINUE, in UTF-16.
QByteArray splitSst() {
    const QByteArray first = xlString(QStringLiteral("eins"));
    QByteArray body = u32(2) + u32(2) + first + u16(6) + char(0) + QByteArray("abc");
    QByteArray cont = QByteArray(1, char(1)) + u16(0x00E4) + u16(0x65E5) + u16('z');
    return record(0x00FC, body) + record(0x003C, cont);
}

}  // namespace

TEST(Biff8Reader, SharedStringSplitAcrossContinueChangesWidth) {
    Book b;
    b.sst = splitSst();
    b.sheets.push_back({QStringLiteral("S"), record(0x00FD, cellHeader(0, 0) + u32(0)) + record(0x00FD, cellHeader(0, 1) + u32(1))});
    office::Status st;
    auto book = openStream(b.stream(), &st);
    ASSERT_TRUE(st.ok) << st.message.toStdString();
    EXPECT_EQ(book->worksheet(1)->value(1, 1), CellValue::text(QStringLiteral("eins")));
    EXPECT_EQ(book->worksheet(1)->value(1, 2), CellValue::text(QStringLiteral("abc\u00E4\u65E5z")));
}

TEST(Biff8Reader, CellRecordKinds) {
    Book b;
    QByteArray cells;
    cells += record(0x0203, cellHeader(0, 0) + f64(3.5));                                  // NUMBER
    cells += record(0x027E, cellHeader(0, 1) + u32((12345u << 2) | 0x3));                  // RK int /100
    cells += record(0x00BD, u16(1) + u16(0) + u16(0) + u32(7u << 2 | 2) + u16(0) + u32(0x3FF00000u) + u16(1));  // MULRK 7, 1.0
    cells += record(0x0204, cellHeader(2, 0) + xlString(QStringLiteral("Maß")));            // LABEL
    cells += record(0x0205, cellHeader(2, 1) + char(1) + char(0));                         // BOOLERR true
    cells += record(0x0205, cellHeader(2, 2) + char(0x07) + char(1));                      // BOOLERR #DIV/0!
    cells += record(0x00BE, u16(3) + u16(0) + u16(0) + u16(0) + u16(0) + u16(2));          // MULBLANK A4:C4
    // FORMULA with a text result, its STRING, and one with a boolean result.
    QByteArray textResult = QByteArray(1, 0) + QByteArray(5, 0) + char(0xFF) + char(0xFF);
    cells += record(0x0006, cellHeader(4, 0) + textResult + u16(0) + u32(0) + u16(1) + char(0x17));
    cells += record(0x0207, xlString(QStringLiteral("Ergebnis")));
    QByteArray boolResult = QByteArray(1, 1) + char(0) + char(1) + QByteArray(3, 0) + char(0xFF) + char(0xFF);
    cells += record(0x0006, cellHeader(4, 1) + boolResult + u16(0) + u32(0) + u16(0));
    cells += record(0x0203, cellHeader(5, 300) + f64(1));  // beyond column 256: dropped
    cells += record(0x0203, cellHeader(6, 0) + f64(1));
    cells += record(0x0203, cellHeader(6, 0) + f64(2));    // the later record wins
    b.sheets.push_back({QStringLiteral("S"), cells});
    office::Status st;
    auto book = openStream(b.stream(), &st);
    ASSERT_TRUE(st.ok) << st.message.toStdString();
    const Worksheet &s = *book->worksheet(1);
    EXPECT_EQ(s.value(1, 1), CellValue::number(3.5));
    EXPECT_EQ(s.value(1, 2), CellValue::number(123.45));
    EXPECT_EQ(s.value(2, 1), CellValue::number(7));
    EXPECT_EQ(s.value(2, 2), CellValue::number(1));
    EXPECT_EQ(s.value(3, 1), CellValue::text(QStringLiteral("Maß")));
    EXPECT_EQ(s.value(3, 2), CellValue::boolean(true));
    EXPECT_EQ(s.value(3, 3), CellValue::error(0x07));
    EXPECT_TRUE(s.value(4, 2).isEmpty());
    ASSERT_TRUE(s.cell(4, 2));  // formatting kept
    EXPECT_EQ(s.value(5, 1), CellValue::text(QStringLiteral("Ergebnis")));
    EXPECT_EQ(s.value(5, 2), CellValue::boolean(true));
    EXPECT_EQ(s.formulas().at(s.cell(5, 1)->ref).tokens(), QByteArray(1, 0x17));
    EXPECT_EQ(s.value(7, 1), CellValue::number(2));
    EXPECT_EQ(s.endUp(Worksheet::kRowCount, 1), 7);
    EXPECT_EQ(s.endLeft(4, Worksheet::kColumnCount), 1);  // BLANK cells are empty
}

TEST(Biff8Reader, EmbeddedChartSubstreamIsSkipped) {
    Book b;
    const QByteArray chart = bof(0x0020) + record(0x0203, cellHeader(0, 5) + f64(99)) + eof();
    b.sheets.push_back({QStringLiteral("S"), chart + record(0x0203, cellHeader(1, 0) + f64(4))});
    office::Status st;
    auto book = openStream(b.stream(), &st);
    ASSERT_TRUE(st.ok) << st.message.toStdString();
    EXPECT_TRUE(book->worksheet(1)->value(1, 6).isEmpty());
    EXPECT_EQ(book->worksheet(1)->value(2, 1), CellValue::number(4));
}

TEST(Biff8Reader, CommentTextFromObjAndTxo) {
    Book b;
    QByteArray recs;
    recs += record(0x005D, u16(0x15) + u16(0x12) + u16(0x19) + u16(7) + QByteArray(14, 0) + u32(0));  // OBJ note id 7
    recs += record(0x01B6, QByteArray(10, 0) + u16(9) + u16(16) + u32(0));                             // TXO, 9 chars
    recs += record(0x003C, QByteArray(1, 0) + QByteArray("Hallo"));
    recs += record(0x003C, QByteArray(1, 1) + u16('W') + u16('e') + u16('l') + u16('t'));             // goes on wide
    recs += record(0x003C, QByteArray(16, 0));                                                           // runs
    recs += record(0x001C, cellHeader(2, 3).left(4) + u16(0) + u16(7) + xlString(QStringLiteral("Ina")) + char(0));
    b.sheets.push_back({QStringLiteral("S"), recs});
    office::Status st;
    auto book = openStream(b.stream(), &st);
    ASSERT_TRUE(st.ok) << st.message.toStdString();
    const Worksheet &s = *book->worksheet(1);
    ASSERT_EQ(s.commentCount(), 1);
    EXPECT_EQ(s.comment(1).text, QStringLiteral("HalloWelt"));
    EXPECT_EQ(s.comment(1).author, QStringLiteral("Ina"));
    EXPECT_EQ(s.comment(1).row, 3);
    EXPECT_EQ(s.comment(1).column, 4);
}

TEST(Biff8Reader, RefusesWhatItCannotRead) {
    Book good;
    good.sst = splitSst();
    good.sheets.push_back({QStringLiteral("S"), record(0x00FD, cellHeader(0, 0) + u32(1))});
    Book badIndex = good;
    badIndex.sheets[0].second = record(0x00FD, cellHeader(0, 0) + u32(5));
    Book shortCell = good;
    shortCell.sheets[0].second = record(0x0203, cellHeader(0, 0) + QByteArray(3, 0));
    QByteArray wrongOffset = good.stream();
    wrongOffset.replace(wrongOffset.indexOf(QByteArray("\x85\x00", 2)) + 4, 4, u32(3));
    const struct {
        const char *name;
        QByteArray file;
        const char *reason;
    } cases[] = {
        {"not OLE2", QByteArray("Name;Wert\n"), "OLE2"},
        {"BIFF4 file", bof(0x0010, 0).replace(0, 2, u16(0x0409)), "BIFF2-4"},
        {"damaged container", file(good.stream()).left(1000), "OLE2"},
        {"no workbook stream", file(good.stream(), QStringLiteral("Daten")), "Workbook"},
        {"no BOF", file(record(0x0203, QByteArray(14, 0))), "BOF"},
        {"globals without EOF", file(bof(0x0005)), "abgeschnitten"},
        {"string index out of range", file(badIndex.stream()), "gemeinsamen Text"},
        {"short cell record", file(shortCell.stream()), "beschädigt"},
        {"sheet offset wrong", file(wrongOffset), "BOF"},
        {"XOR obfuscation", file(bof(0x0005) + record(0x002F, u16(0) + u16(1) + u16(2)) + eof()), "XOR"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Workbook> book;
        const office::Status st = Workbook::openBytes(c.file, book);
        EXPECT_FALSE(st.ok);
        EXPECT_FALSE(book);
        EXPECT_TRUE(st.message.contains(QString::fromUtf8(c.reason))) << st.message.toStdString();
    }
}

TEST(Biff8Reader, EveryTruncationIsReadOrRefused) {
    Book b;
    b.sst = splitSst();
    b.sheets.push_back({QStringLiteral("S"), record(0x00FD, cellHeader(0, 0) + u32(1)) + record(0x0203, cellHeader(1, 1) + f64(2))});
    const QByteArray stream = b.stream();
    for (int size = 0; size < stream.size(); ++size) {
        office::Status st;
        auto book = openStream(stream.left(size), &st);
        // Cutting the stream anywhere loses a sheet's EOF at least.
        EXPECT_FALSE(st.ok) << size;
        EXPECT_FALSE(st.message.isEmpty());
    }
    office::Status st;
    EXPECT_TRUE(openStream(stream, &st) != nullptr) << st.message.toStdString();
}

TEST(Biff8Reader, ExcelNinetyFiveStreamUsesItsCodePage) {
    QByteArray globals = bof(0x0005, 0x0500) + record(0x0042, u16(1252)) + record(0x00E0, QByteArray(16, 0));
    const QByteArray name("Bl\xE4tter");
    const QByteArray sheet = bof(0x0010, 0x0500) + record(0x0204, cellHeader(0, 0) + u16(4) + QByteArray("Ma\xDF\x80")) + eof();
    const qint64 offset = globals.size() + 4 + 6 + 1 + name.size() + 4;
    globals += record(0x0085, u32(std::uint32_t(offset)) + char(0) + char(0) + char(name.size()) + name) + eof();
    office::Status st;
    auto book = openStream(globals + sheet, &st, QStringLiteral("Book"));
    ASSERT_TRUE(st.ok) << st.message.toStdString();
    EXPECT_EQ(book->biffVersion(), 5);
    EXPECT_EQ(book->worksheet(1)->name(), QStringLiteral("Blätter"));
    EXPECT_EQ(book->worksheet(1)->value(1, 1), CellValue::text(QStringLiteral("Maß€")));
}
