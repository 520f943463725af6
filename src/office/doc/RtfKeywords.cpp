#include "office/doc/RtfKeywords.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace office::doc {

namespace {

struct WordEntry {
    std::string_view word;
    RtfKeyword keyword;
};

// The words in an open-addressing table, so that a lookup mostly compares one
// entry: the reader looks up every control word it reads. A slot holds its
// word's first eight letters packed into one number, so that most words compare
// in one step.
constexpr std::size_t kSlotBits = 9;
constexpr std::size_t kSlots = std::size_t(1) << kSlotBits;  // several times the words

// 16 bytes a slot, so that the table stays in the first-level cache beside the
// file's bytes streaming through it; the letters after the eighth, which few
// words have, are in a table of their own.
struct Slot {
    std::uint64_t head = 0;  // rtfWordHead of the word
    std::uint8_t length = 0;  // 0 for an empty slot
    RtfKeyword keyword;
};
static_assert(sizeof(Slot) == 16);

struct WordTable {
    std::array<Slot, kSlots> slots{};
    std::array<std::string_view, kSlots> words{};
};

constexpr std::uint64_t packedHead(std::string_view w) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < w.size() && i < 8; ++i) head |= std::uint64_t(static_cast<unsigned char>(w[i])) << (8 * i);
    return head;
}

constexpr std::size_t slotOf(std::uint64_t head, std::size_t n) {
    return std::size_t(((head + n) * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits));
}

constexpr WordEntry kWords[] = {
    {"aftncn", {RtfWord::None, true}},
    {"aftnsep", {RtfWord::None, true}},
    {"aftnsepc", {RtfWord::None, true}},
    {"annotation", {RtfWord::None, true}},
    {"ansicpg", {RtfWord::ansicpg, false}},
    {"atnauthor", {RtfWord::None, true}},
    {"atndate", {RtfWord::None, true}},
    {"atnid", {RtfWord::None, true}},
    {"atnref", {RtfWord::None, true}},
    {"atrfend", {RtfWord::None, true}},
    {"atrfstart", {RtfWord::None, true}},
    {"author", {RtfWord::None, true}},
    {"b", {RtfWord::b, false}},
    {"background", {RtfWord::None, true}},
    {"bkmkend", {RtfWord::None, true}},
    {"bkmkstart", {RtfWord::None, true}},
    {"blue", {RtfWord::blue, false}},
    {"bullet", {RtfWord::bullet, false}},
    {"category", {RtfWord::None, true}},
    {"cell", {RtfWord::cell, false}},
    {"cf", {RtfWord::cf, false}},
    {"colorschememapping", {RtfWord::None, true}},
    {"colortbl", {RtfWord::colortbl, false}},
    {"comment", {RtfWord::None, true}},
    {"company", {RtfWord::None, true}},
    {"cpg", {RtfWord::cpg, false}},
    {"cs", {RtfWord::cs, false}},
    {"datafield", {RtfWord::None, true}},
    {"datastore", {RtfWord::None, true}},
    {"deff", {RtfWord::deff, false}},
    {"deflang", {RtfWord::deflang, false}},
    {"do", {RtfWord::None, true}},
    {"doccomm", {RtfWord::None, true}},
    {"docvar", {RtfWord::None, true}},
    {"ds", {RtfWord::ds, false}},
    {"emdash", {RtfWord::emdash, false}},
    {"emspace", {RtfWord::emspace, false}},
    {"endash", {RtfWord::endash, false}},
    {"enspace", {RtfWord::enspace, false}},
    {"f", {RtfWord::f, false}},
    {"falt", {RtfWord::None, true}},
    {"fchars", {RtfWord::None, true}},
    {"fcharset", {RtfWord::fcharset, false}},
    {"filetbl", {RtfWord::None, true}},
    {"fldinst", {RtfWord::fldinst, true}},
    {"fname", {RtfWord::None, true}},
    {"fonttbl", {RtfWord::fonttbl, false}},
    {"footer", {RtfWord::None, true}},
    {"footerf", {RtfWord::None, true}},
    {"footerl", {RtfWord::None, true}},
    {"footerr", {RtfWord::None, true}},
    {"footnote", {RtfWord::None, true}},
    {"fs", {RtfWord::fs, false}},
    {"ftncn", {RtfWord::None, true}},
    {"ftnsep", {RtfWord::None, true}},
    {"ftnsepc", {RtfWord::None, true}},
    {"generator", {RtfWord::None, true}},
    {"green", {RtfWord::green, false}},
    {"header", {RtfWord::None, true}},
    {"headerf", {RtfWord::None, true}},
    {"headerl", {RtfWord::None, true}},
    {"headerr", {RtfWord::None, true}},
    {"hlinkbase", {RtfWord::None, true}},
    {"htmltag", {RtfWord::None, true}},
    {"i", {RtfWord::i, false}},
    {"info", {RtfWord::None, true}},
    {"intbl", {RtfWord::intbl, false}},
    {"keycode", {RtfWord::None, true}},
    {"keywords", {RtfWord::None, true}},
    {"lang", {RtfWord::lang, false}},
    {"latentstyles", {RtfWord::None, true}},
    {"lchars", {RtfWord::None, true}},
    {"ldblquote", {RtfWord::ldblquote, false}},
    {"line", {RtfWord::line, false}},
    {"listoverridetable", {RtfWord::None, true}},
    {"listtable", {RtfWord::None, true}},
    {"listtext", {RtfWord::None, true}},
    {"lquote", {RtfWord::lquote, false}},
    {"ltrmark", {RtfWord::ltrmark, false}},
    {"mac", {RtfWord::mac, false}},
    {"manager", {RtfWord::None, true}},
    {"mhtmltag", {RtfWord::None, true}},
    {"mmathPr", {RtfWord::None, true}},
    {"nestcell", {RtfWord::nestcell, false}},
    {"nestrow", {RtfWord::nestrow, false}},
    {"nonesttables", {RtfWord::None, true}},
    {"nonshppict", {RtfWord::None, true}},
    {"noproof", {RtfWord::noproof, false}},
    {"objclass", {RtfWord::None, true}},
    {"objdata", {RtfWord::None, true}},
    {"object", {RtfWord::object, false}},
    {"objname", {RtfWord::None, true}},
    {"operator", {RtfWord::None, true}},
    {"panose", {RtfWord::None, true}},
    {"par", {RtfWord::par, false}},
    {"pard", {RtfWord::pard, false}},
    {"password", {RtfWord::None, true}},
    {"pc", {RtfWord::pc, false}},
    {"pca", {RtfWord::pca, false}},
    {"pgdsctbl", {RtfWord::None, true}},
    {"pict", {RtfWord::None, true}},
    {"plain", {RtfWord::plain, false}},
    {"pn", {RtfWord::None, true}},
    {"pntext", {RtfWord::None, true}},
    {"pntxta", {RtfWord::None, true}},
    {"pntxtb", {RtfWord::None, true}},
    {"private", {RtfWord::None, true}},
    {"qmspace", {RtfWord::qmspace, false}},
    {"rdblquote", {RtfWord::rdblquote, false}},
    {"red", {RtfWord::red, false}},
    {"result", {RtfWord::result, false}},
    {"revtbl", {RtfWord::None, true}},
    {"row", {RtfWord::row, false}},
    {"rquote", {RtfWord::rquote, false}},
    {"rsidtbl", {RtfWord::None, true}},
    {"rtlmark", {RtfWord::rtlmark, false}},
    {"rxe", {RtfWord::None, true}},
    {"s", {RtfWord::s, false}},
    {"sect", {RtfWord::sect, false}},
    {"shp", {RtfWord::None, true}},
    {"shpinst", {RtfWord::None, true}},
    {"shppict", {RtfWord::shppict, true}},
    {"stylesheet", {RtfWord::stylesheet, false}},
    {"subject", {RtfWord::None, true}},
    {"tab", {RtfWord::tab, false}},
    {"tc", {RtfWord::None, true}},
    {"tcn", {RtfWord::None, true}},
    {"template", {RtfWord::None, true}},
    {"themedata", {RtfWord::None, true}},
    {"title", {RtfWord::None, true}},
    {"trautofit", {RtfWord::trautofit, false}},
    {"trowd", {RtfWord::trowd, false}},
    {"ts", {RtfWord::ts, false}},
    {"txe", {RtfWord::None, true}},
    {"u", {RtfWord::u, false}},
    {"uc", {RtfWord::uc, false}},
    {"ud", {RtfWord::ud, false}},
    {"ul", {RtfWord::ul, false}},
    {"ulnone", {RtfWord::ulnone, false}},
    {"upr", {RtfWord::upr, false}},
    {"userprops", {RtfWord::None, true}},
    {"wgrffmtfilter", {RtfWord::None, true}},
    {"xe", {RtfWord::None, true}},
    {"xmlnstbl", {RtfWord::None, true}},
    {"zwj", {RtfWord::zwj, false}},
    {"zwnj", {RtfWord::zwnj, false}},
};

constexpr WordTable makeWordTable() {
    WordTable table{};
    for (const WordEntry &e : kWords) {
        const std::uint64_t head = packedHead(e.word);
        std::size_t slot = slotOf(head, e.word.size());
        while (table.slots[slot].length != 0) slot = (slot + 1) & (kSlots - 1);
        table.slots[slot] = Slot{head, std::uint8_t(e.word.size()), e.keyword};
        table.words[slot] = e.word;
    }
    return table;
}

// Built by the compiler: no guard to check on each lookup.
constexpr WordTable kTable = makeWordTable();

}  // namespace

RtfKeyword rtfKeyword(QByteArrayView w, std::uint64_t head) {
    if (w.isEmpty() || w.front() < 'a' || w.front() > 'z') return {};
    const auto n = std::size_t(w.size());
    for (std::size_t slot = slotOf(head, n);; slot = (slot + 1) & (kSlots - 1)) {
        const Slot &e = kTable.slots[slot];
        if (e.length == 0) return {};
        if (e.head == head && e.length == n &&
            (n <= 8 || std::memcmp(kTable.words[slot].data() + 8, w.data() + 8, n - 8) == 0))
            return e.keyword;
    }
}

}  // namespace office::doc
