// The shared-string table read across CONTINUE records at every place a writer may
// split it: inside a string's header, between its characters (which then go on after
// a fresh flag byte), inside its rich-text runs or phonetic block, and in runs of
// tiny records. Each split must give the same strings and formatting as no split.

#include "BiffBuilder.h"

#include "office/sheet/Workbook.h"

#include <gtest/gtest.h>

#include <vector>

using namespace office::sheet;
using namespace biffbuild;

namespace {

// A stretch of the SST body: fixed bytes, or characters of width 1 or 2.
struct Piece {
    QByteArray bytes;
    int width = 0;
};

struct SstString {
    QString text;
    bool wide = false;
    QByteArray runs;      // 4 bytes per run
    QByteArray phonetic;  // ExtRst block
};

const std::vector<SstString> &strings() {
    static const std::vector<SstString> list = {
        {QStringLiteral("eins"), false, {}, {}},
        {QStringLiteral("zwei"), false, u16(0) + u16(1) + u16(2) + u16(3), {}},
        {QStringLiteral("Grüße 日本"), true, {}, {}},
        {QString(), false, {}, {}},
        {QStringLiteral("phon"), false, {}, QByteArray("\x01\x02\x03\x04\x05\x06", 6)},
        {QStringLiteral("Ärger"), true, u16(1) + u16(5), QByteArray("\x0A\x0B\x0C", 3)},
        {QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789ABCD"), false, {}, {}},
    };
    return list;
}

std::vector<Piece> sstPieces() {
    std::vector<Piece> pieces{{u32(9) + u32(std::uint32_t(strings().size())), 0}};
    for (const SstString &s : strings()) {
        const std::uint8_t flags =
            (s.wide ? 0x01 : 0) | (s.runs.isEmpty() ? 0 : 0x08) | (s.phonetic.isEmpty() ? 0 : 0x04);
        QByteArray header = u16(unsigned(s.text.size())) + char(flags);
        if (!s.runs.isEmpty()) header += u16(unsigned(s.runs.size() / 4));
        if (!s.phonetic.isEmpty()) header += u32(std::uint32_t(s.phonetic.size()));
        pieces.push_back({header, 0});
        QByteArray chars;
        for (QChar c : s.text) chars += s.wide ? u16(c.unicode()) : QByteArray(1, char(c.unicode()));
        pieces.push_back({chars, s.wide ? 2 : 1});
        pieces.push_back({s.runs + s.phonetic, 0});
    }
    return pieces;
}

// The SST cut at the given body offsets into an SST record and CONTINUE records.
// Empty when a cut would split a character in two.
QByteArray splitSst(const std::vector<int> &cuts) {
    QByteArray body;
    std::vector<std::pair<int, int>> charRanges;  // [begin, end) and width, by piece
    std::vector<int> widths;
    for (const Piece &p : sstPieces()) {
        if (p.width && !p.bytes.isEmpty()) {
            charRanges.push_back({int(body.size()), int(body.size() + p.bytes.size())});
            widths.push_back(p.width);
        }
        body += p.bytes;
    }
    QByteArray out;
    int from = 0;
    QByteArray flag;
    for (std::size_t i = 0; i <= cuts.size(); ++i) {
        const int to = i < cuts.size() ? cuts[i] : int(body.size());
        const bool first = out.isEmpty();
        if (!first && to == from && i < cuts.size()) {  // an empty CONTINUE: the flag waits for the next
            out += record(0x003C, {});
            continue;
        }
        out += record(first ? 0x00FC : 0x003C, flag + body.mid(from, to - from));
        flag.clear();
        // Characters that go on in the next record start it with their flag byte.
        for (std::size_t r = 0; r < charRanges.size(); ++r)
            if (to >= charRanges[r].first && to < charRanges[r].second) {
                if ((to - charRanges[r].first) % widths[r]) return {};
                flag = QByteArray(1, char(widths[r] == 2 ? 1 : 0));
            }
        from = to;
    }
    return out;
}

int sstBodySize() {
    int size = 0;
    for (const Piece &p : sstPieces()) size += int(p.bytes.size());
    return size;
}

// Reads the SST through a one-cell sheet and compares every string and its formatting.
void expectStrings(const QByteArray &sst, const std::string &what) {
    Book b;
    b.sst = sst;
    b.sheets.push_back({QStringLiteral("S"), record(0x00FD, cellHeader(0, 0) + u32(2))});
    std::unique_ptr<Workbook> book;
    const office::Status st = Workbook::openBytes(file(b.stream()), book);
    ASSERT_TRUE(st.ok) << what << ": " << st.message.toStdString();
    ASSERT_EQ(book->sharedStringCount(), int(strings().size())) << what;
    for (std::size_t i = 0; i < strings().size(); ++i) {
        const SstString &s = strings()[i];
        EXPECT_EQ(book->string(std::uint32_t(i)), s.text) << what << ", string " << i;
        const SstFormatting *f = book->sstFormatting(std::uint32_t(i));
        if (s.runs.isEmpty() && s.phonetic.isEmpty()) {
            EXPECT_EQ(f, nullptr) << what << ", string " << i;
            continue;
        }
        ASSERT_NE(f, nullptr) << what << ", string " << i;
        EXPECT_EQ(f->runs, s.runs) << what << ", string " << i;
        EXPECT_EQ(f->phonetic, s.phonetic) << what << ", string " << i;
    }
    EXPECT_EQ(book->worksheet(1)->value(1, 1), CellValue::text(strings()[2].text)) << what;
}

}  // namespace

TEST(SharedStringSplit, WholeTable) {
    expectStrings(splitSst({}), "no split");
}

TEST(SharedStringSplit, EveryPlaceOfOneSplit) {
    for (int cut = 1; cut < sstBodySize(); ++cut) {
        const QByteArray sst = splitSst({cut});
        if (sst.isEmpty()) continue;  // inside a two-byte character: no writer does that
        expectStrings(sst, "split at " + std::to_string(cut));
    }
}

TEST(SharedStringSplit, TinyAndEmptyContinueRecords) {
    for (int cut = 1; cut + 3 < sstBodySize(); ++cut)
        for (int gap : {0, 1, 2, 3}) {
            const QByteArray sst = splitSst({cut, cut + gap});
            if (sst.isEmpty()) continue;
            expectStrings(sst, "split at " + std::to_string(cut) + " and " + std::to_string(cut + gap));
        }
}

TEST(SharedStringSplit, SavedWorkbookKeepsTheStrings) {
    Book b;
    b.sst = splitSst({30, 61});
    ASSERT_FALSE(b.sst.isEmpty());
    b.sheets.push_back({QStringLiteral("S"), record(0x00FD, cellHeader(0, 0) + u32(5))});
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::openBytes(file(b.stream()), book).ok);
    QByteArray saved;
    ASSERT_TRUE(book->toBytes(saved).ok);
    std::unique_ptr<Workbook> again;
    ASSERT_TRUE(Workbook::openBytes(saved, again).ok);
    for (std::size_t i = 0; i < strings().size(); ++i)
        EXPECT_EQ(again->string(std::uint32_t(i)), strings()[i].text) << "string " << i;
    ASSERT_NE(again->sstFormatting(5), nullptr);
    EXPECT_EQ(again->sstFormatting(5)->phonetic, strings()[5].phonetic);
}
