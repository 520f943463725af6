#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace office::doc {

/// The RTF control words the reader acts on, each told apart by its own value.
enum class RtfWord : quint8 {
    None, ansicpg, b, blue, bullet, cell, cf, colortbl, cpg, cs, deff, deflang, ds, emdash, emspace,
    endash, enspace, f, fcharset, fldinst, fonttbl, fs, green, i, intbl, lang, ldblquote, line,
    lquote, ltrmark, mac, nestcell, nestrow, noproof, object, par, pard, pc, pca, plain, qmspace,
    rdblquote, red, result, row, rquote, rtlmark, s, sect, shppict, stylesheet, tab, trautofit,
    trowd, ts, u, uc, ud, ul, ulnone, upr, zwj, zwnj,
};

/// What a control word is to the reader.
struct RtfKeyword {
    RtfWord word = RtfWord::None;
    /// A destination that is not text and has no \* in front of it (headers,
    /// pictures, field instructions, ...): the reader skips its group.
    bool skippedDestination = false;
};

/// A control word's first eight letters packed into one number, one byte each
/// from the lowest: what a lookup compares first.
inline std::uint64_t rtfWordHead(const char *word, qsizetype length) {
    std::uint64_t head = 0;
    for (qsizetype i = 0; i < length && i < 8; ++i) head |= std::uint64_t(static_cast<unsigned char>(word[i])) << (8 * i);
    return head;
}

/// Looks a control word (letters only) up; a word the reader does not know
/// gives RtfWord::None. Cheap: the reader calls it for every word it reads.
/// `head` is rtfWordHead of the word, which the tokenizer packs as it reads it.
RtfKeyword rtfKeyword(QByteArrayView word, std::uint64_t head);
inline RtfKeyword rtfKeyword(QByteArrayView word) { return rtfKeyword(word, rtfWordHead(word.data(), word.size())); }

}  // namespace office::doc
