#include "office/doc/RtfKeywords.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace office::doc {

namespace {

struct WordEntry {
    std::string_view word;
    RtfKeyword keyword;
};

// The words in an open-addressing table, so that a lookup mostly compares one
// entry: the reader looks up every control word it reads.
constexpr std::size_t kSlots = 512;  // a power of two, several times the words
using WordTable = std::array<WordEntry, kSlots>;

std::size_t slotOf(const char *w, std::size_t n) {
    std::size_t h = n;
    for (std::size_t i = 0; i < n; ++i) h = h * 33 + static_cast<unsigned char>(w[i]);
    return h & (kSlots - 1);
}

WordTable makeWordTable() {
    static constexpr WordEntry kWords[] = {
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
    WordTable table{};
    for (const WordEntry &e : kWords) {
        std::size_t slot = slotOf(e.word.data(), e.word.size());
        while (!table[slot].word.empty()) slot = (slot + 1) & (kSlots - 1);
        table[slot] = e;
    }
    return table;
}

}  // namespace

RtfKeyword rtfKeyword(QByteArrayView w) {
    static const WordTable kTable = makeWordTable();
    if (w.isEmpty() || w.front() < 'a' || w.front() > 'z') return {};
    const auto n = std::size_t(w.size());
    for (std::size_t slot = slotOf(w.data(), n);; slot = (slot + 1) & (kSlots - 1)) {
        const WordEntry &e = kTable[slot];
        if (e.word.empty()) return {};
        if (e.word.size() == n && std::equal(e.word.begin(), e.word.end(), w.data())) return e.keyword;
    }
}

}  // namespace office::doc
