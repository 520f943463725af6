// Workbooks made to be large or to claim to be: each is read within a memory bound,
// in a child under a watchdog, or refused with a reason. The full 65,536 x 256 sheet
// is bench/GiantFilesBench.cpp's; here a sheet of the same width and 4,096 rows.

#include "BiffBuilder.h"

#include "office/sheet/Workbook.h"
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

using namespace office::sheet;
using namespace biffbuild;

namespace {

constexpr std::uint64_t kMiB = 1ull << 20;

// Exit statuses of a child that opens a workbook.
enum ChildResult { kRead = 0, kRefused = 1, kWrongCells = 2 };

// DIMENSIONS (BIFF8): rows [first, last), columns [first, last).
QByteArray dimensions(std::uint32_t firstRow, std::uint32_t lastRow, unsigned firstColumn, unsigned lastColumn) {
    return record(0x0200, u32(firstRow) + u32(lastRow) + u16(firstColumn) + u16(lastColumn) + u16(0));
}

// ROW: row index, columns [first, last), height 255 twips, no flags but fGhostDirty off.
QByteArray rowRecord(unsigned row0, unsigned firstColumn, unsigned lastColumn) {
    return record(0x0208, u16(row0) + u16(firstColumn) + u16(lastColumn) + u16(255) + u32(0) + u32(0x000F0100u));
}

// INDEX: rows [first, last) and no DBCELL offsets.
QByteArray indexRecord(std::uint32_t firstRow, std::uint32_t lastRow) {
    return record(0x020B, u32(0) + u32(firstRow) + u32(lastRow) + u32(0));
}

// An SST whose header claims `claimed` strings in all and as unique ones, holding two.
QByteArray sstClaiming(std::uint32_t claimed) {
    return record(0x00FC,
                  u32(claimed) + u32(claimed) + xlString(QStringLiteral("eins")) + xlString(QStringLiteral("zwei")));
}

// Records no reader knows, `bytes` of them: a long stream after the sheets.
QByteArray filler(qint64 bytes) {
    QByteArray out;
    const QByteArray one = record(0x1234, QByteArray(8000, 'x'));
    while (out.size() < bytes) out += one;
    return out;
}

// A sheet whose every count claims billions, with its few real cells.
QByteArray claimingSheet() {
    return indexRecord(0, 0xFFFFFFFFu) + dimensions(0, 0xFFFFFFFFu, 0, 0xFFFF) + rowRecord(0, 0, 0xFFFF) +
           rowRecord(65535, 0, 0xFFFF) + record(0x00FD, cellHeader(0, 0) + u32(1)) +
           record(0x0203, cellHeader(65535, 255) + f64(7));
}

// Opens the file in the child: read with the claiming sheets' cells, or refused.
int openAndCheck(const QByteArray &file) {
    std::unique_ptr<Workbook> book;
    if (!Workbook::openBytes(file, book).ok) return kRefused;
    for (int n = 1; n <= book->worksheetCount(); ++n) {
        const Worksheet &sheet = *book->worksheet(n);
        if (sheet.name() == QStringLiteral("Rest")) continue;
        if (sheet.value(1, 1) != CellValue::text(QStringLiteral("zwei")) ||
            sheet.value(65536, 256) != CellValue::number(7))
            return kWrongCells;
    }
    return kRead;
}

}  // namespace

// DIMENSIONS, INDEX, ROW and SST counts of billions: nothing is reserved by them
// beyond what the stream could hold, also when hundreds of sheets each claim them
// before a long stream that each could take for its own cells.
TEST(WorkbookResourceBounds, ClaimedBillionsAreNotReserved) {
    struct Case {
        const char *name;
        int claimingSheets;
        qint64 restBytes;
    };
    const Case cases[] = {
        {"one sheet", 1, 0},
        {"one sheet before 8 MB", 1, 8 << 20},
        {"300 sheets before 8 MB", 300, 8 << 20},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Book b;
        b.sst = sstClaiming(0xFFFFFFFFu);
        for (int n = 0; n < c.claimingSheets; ++n) b.sheets.push_back({QStringLiteral("S%1").arg(n), claimingSheet()});
        if (c.restBytes > 0) b.sheets.push_back({QStringLiteral("Rest"), filler(c.restBytes)});
        const QByteArray image = file(b.stream());
        // The cells read and the stream held twice (file and stream) are what may be needed.
        const testsupport::BoundedRun r = testsupport::runWithinMemory([&] { return openAndCheck(image); },
                                                                       64 * kMiB + 4 * std::uint64_t(image.size()));
        EXPECT_FALSE(r.overMemory) << r.peakGrowthBytes / kMiB << " MiB";
        EXPECT_EQ(r.status, kRead);
        std::cout << c.name << ": " << image.size() / 1024 << " KiB file, " << r.peakGrowthBytes / kMiB
                  << " MiB peak\n";
    }
}

// A sheet full across all 256 columns (one MULRK per row) is read whole, its cells
// in about the bytes they take.
TEST(WorkbookResourceBounds, FullWidthSheetIsReadWhole) {
    constexpr int kRows = 4096;
    QByteArray cells;
    cells += dimensions(0, kRows, 0, 256);
    for (int row = 0; row < kRows; ++row) {
        QByteArray body = u16(unsigned(row)) + u16(0);
        for (int column = 0; column < 256; ++column) body += u16(0) + u32(std::uint32_t((row * 256 + column) << 2 | 2));
        body += u16(255);
        cells += record(0x00BD, body);
    }
    Book b;
    b.sheets.push_back({QStringLiteral("Voll"), cells});
    const QByteArray image = file(b.stream());
    const testsupport::BoundedRun r = testsupport::runWithinMemory(
        [&] {
            std::unique_ptr<Workbook> book;
            if (!Workbook::openBytes(image, book).ok) return int(kRefused);
            const Worksheet &sheet = *book->worksheet(1);
            if (sheet.cells().size() != std::size_t(kRows) * 256) return int(kWrongCells);
            const bool right = sheet.value(1, 1) == CellValue::number(0) &&
                               sheet.value(kRows, 256) == CellValue::number(kRows * 256 - 1) &&
                               sheet.value(100, 17) == CellValue::number(99 * 256 + 16);
            return right ? int(kRead) : int(kWrongCells);
        },
        64 * kMiB + 8 * std::uint64_t(image.size()));
    EXPECT_FALSE(r.overMemory) << r.peakGrowthBytes / kMiB << " MiB";
    EXPECT_EQ(r.status, kRead);
    std::cout << kRows * 256 << " cells: " << image.size() / kMiB << " MiB file, " << r.peakGrowthBytes / kMiB
              << " MiB peak\n";
}

// The longest text a cell holds (32,767 characters) comes back whole from a shared
// string split over CONTINUE records, and again after the writer stored a new one;
// xlrd reads the saved text whole too.
TEST(WorkbookResourceBounds, LongestCellTextIsReadAndWrittenWhole) {
    QString longest;
    for (int i = 0; longest.size() < 32767; ++i) longest += QStringLiteral("Wort%1 ").arg(i);
    longest.truncate(32767);
    longest[100] = QChar(0x65E5);  // one wide character: the string goes as UTF-16, over eight records

    // SST: count, flags (UTF-16), the characters over CONTINUEs of at most 8,224 bytes,
    // each starting with its flag byte.
    QByteArray chars;
    for (QChar ch : longest) chars += u16(ch.unicode());
    QByteArray sst = record(0x00FC, u32(1) + u32(1) + u16(32767) + char(1) + chars.left(8214));
    for (qsizetype at = 8214; at < chars.size(); at += 8222) sst += record(0x003C, char(1) + chars.mid(at, 8222));
    Book b;
    b.sst = sst;
    b.sheets.push_back({QStringLiteral("S"), record(0x00FD, cellHeader(0, 0) + u32(0))});
    std::unique_ptr<Workbook> book;
    const office::Status st = Workbook::openBytes(file(b.stream()), book);
    ASSERT_TRUE(st.ok) << st.message.toStdString();
    EXPECT_EQ(book->worksheet(1)->value(1, 1), CellValue::text(longest));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lang.xls"));
    ASSERT_TRUE(testsupport::writeFile(path, file(b.stream())));
    ASSERT_TRUE(Workbook::open(path, book).ok);
    QString reversed = longest;
    std::reverse(reversed.begin(), reversed.end());
    bool truncated = true;
    book->worksheet(1)->setValue(2, 1, reversed, QLocale::c(), &truncated);
    EXPECT_FALSE(truncated);
    book->worksheet(1)->setValue(3, 1, longest + u'x', QLocale::c(), &truncated);
    EXPECT_TRUE(truncated) << "a cell holds at most 32,767 characters";
    ASSERT_TRUE(book->save().ok);
    ASSERT_TRUE(Workbook::open(path, book).ok);
    EXPECT_EQ(book->worksheet(1)->value(1, 1), CellValue::text(longest));
    EXPECT_EQ(book->worksheet(1)->value(2, 1), CellValue::text(reversed));
    EXPECT_EQ(book->worksheet(1)->value(3, 1), CellValue::text(longest));

    REQUIRE_PROGRAM("python3");
    const testsupport::ProcessResult xlrd = testsupport::runProgram(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import sys, xlrd; s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0); "
                        "print(len(s.cell_value(0, 0)), len(s.cell_value(1, 0)), len(s.cell_value(2, 0)))"),
         path});
    EXPECT_EQ(xlrd.out.trimmed(), QByteArray("32767 32767 32767")) << xlrd.err.toStdString();
}
