#include "office/sheet/Biff8Writer.h"

#include "office/memory/MappedAllocator.h"
#include "office/sheet/Biff8Records.h"
#include "office/sheet/BiffRecordReader.h"
#include "office/sheet/FormulaBlockPlan.h"
#include "office/sheet/RkNumber.h"
#include "office/sheet/SideBySide.h"
#include "office/sheet/Workbook.h"
#include "office/sheet/Worksheet.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <unordered_set>

namespace office::sheet {

using namespace biff;

namespace {

constexpr std::uint16_t kDefColWidth = 0x0055;
constexpr std::uint16_t kDefaultRowHeight = 0x0225;

void put16(QByteArray &b, unsigned v) {
    const char bytes[2] = {char(v & 0xFF), char((v >> 8) & 0xFF)};
    b.append(bytes, 2);
}
void put32(QByteArray &b, std::uint32_t v) {
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    b.append(bytes, 4);
}
void set16(QByteArray &b, qint64 at, unsigned v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}
void set32(QByteArray &b, qint64 at, std::uint32_t v) {
    set16(b, at, v & 0xFFFF);
    set16(b, at + 2, v >> 16);
}
std::uint32_t get32(const QByteArray &b, qint64 at) {
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

// One record: id, body length, body (at most kMaxRecordData bytes; callers split).
void putRecord(QByteArray &out, std::uint16_t id, QByteArrayView body) {
    // One resize and two copies: this runs for every cell of a rebuilt sheet.
    const auto size = unsigned(body.size());
    const qsizetype at = out.size();
    out.resize(at + 4 + body.size());
    char *to = out.data() + at;
    const char header[4] = {char(id & 0xFF), char(id >> 8), char(size & 0xFF), char((size >> 8) & 0xFF)};
    std::memcpy(to, header, 4);
    if (!body.isEmpty()) std::memcpy(to + 4, body.data(), size_t(body.size()));
}

// The body of a small record (a cell), built without a heap block of its own.
class SmallBody {
public:
    void put16(unsigned v) {
        m_bytes[m_size++] = char(v & 0xFF);
        m_bytes[m_size++] = char((v >> 8) & 0xFF);
    }
    void put32(std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    }
    void append(const char *bytes, int n) {
        std::memcpy(m_bytes + m_size, bytes, size_t(n));
        m_size += n;
    }
    void set16(int at, unsigned v) {
        m_bytes[at] = char(v & 0xFF);
        m_bytes[at + 1] = char((v >> 8) & 0xFF);
    }
    QByteArrayView view() const { return QByteArrayView(m_bytes, m_size); }

private:
    char m_bytes[32];
    int m_size = 0;
};

using Chars = StringPool::Chars;

Chars charsOf(QStringView text) {
    Chars chars;
    chars.utf16 = text.utf16();
    chars.count = text.size();
    return chars;
}

bool isWide(const Chars &text) {
    if (text.utf16) return std::any_of(text.utf16, text.utf16 + text.count, [](char16_t c) { return c > 0xFF; });
    if (!text.wideBytes) return false;
    for (qsizetype i = 0; i < text.count; ++i)
        if (text.bytes[2 * i + 1] != 0) return true;
    return false;
}
bool isWide(QStringView text) { return isWide(charsOf(text)); }

// Characters [from, from + n) of text as BIFF8 stores them: UTF-16LE, or one byte
// each when none is above 0xFF. Characters read from the stream in the same form
// are copied as they are.
void putCharsAt(char *into, const Chars &text, qsizetype from, qsizetype n, bool wide) {
    auto *to = reinterpret_cast<unsigned char *>(into);
    if (text.bytes && text.wideBytes == wide) {
        std::memcpy(to, text.bytes + from * (wide ? 2 : 1), size_t(n * (wide ? 2 : 1)));
    } else if (wide) {
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = text[from + i];
            to[2 * i] = static_cast<unsigned char>(c & 0xFF);
            to[2 * i + 1] = static_cast<unsigned char>(c >> 8);
        }
    } else if (text.utf16) {
        for (qsizetype i = 0; i < n; ++i) to[i] = static_cast<unsigned char>(text.utf16[from + i]);
    } else {
        for (qsizetype i = 0; i < n; ++i) to[i] = static_cast<unsigned char>(text[from + i]);
    }
}
void putChars(QByteArray &out, const Chars &text, qsizetype from, qsizetype n, bool wide) {
    const qsizetype at = out.size();
    out.resize(at + n * (wide ? 2 : 1));
    putCharsAt(out.data() + at, text, from, n, wide);
}
void putChars(QByteArray &out, QStringView text, bool wide) { putChars(out, charsOf(text), 0, text.size(), wide); }

// The 0-based rows that hold a ROW record or a cell, in order. The cells are kept
// in row order, so their rows need no sorting; the ROW records are few.
std::vector<int> rowsInUse(const Worksheet &sheet) {
    std::vector<int> cellRows;
    for (const Cell &c : sheet.cells())
        if (cellRows.empty() || cellRows.back() != c.row0) cellRows.push_back(c.row0);
    std::vector<int> infoRows;
    infoRows.reserve(sheet.rowInfos().size());
    for (const RowInfo &r : sheet.rowInfos()) infoRows.push_back(r.row - 1);
    std::sort(infoRows.begin(), infoRows.end());
    infoRows.erase(std::unique(infoRows.begin(), infoRows.end()), infoRows.end());
    std::vector<int> rows;
    rows.reserve(cellRows.size() + infoRows.size());
    std::set_union(cellRows.begin(), cellRows.end(), infoRows.begin(), infoRows.end(), std::back_inserter(rows));
    return rows;
}

// A number cell that goes back as an RK value (as it was read, or as typed when
// an RK holds it exactly); other numbers are NUMBER records, as they were read.
bool storedAsRk(const Cell &cell) { return cell.flags & Cell::kRkValue; }

// The end of the run of cells from `at` that goes into one MULRK or MULBLANK record:
// neighbours in the row that were read from such records, all blank or all RK
// numbers. A run of one is written as a cell record of its own.
std::size_t multipleRunEnd(const CellList &cells, std::size_t at, std::size_t rowEnd) {
    const auto joins = [&](const Cell &c) {
        return (c.flags & Cell::kInMultiple) && !c.isFormula() &&
               (c.type == CellType::Blank || (c.type == CellType::Number && storedAsRk(c)));
    };
    if (!joins(cells[at])) return at + 1;
    std::size_t next = at + 1;
    while (next < rowEnd && joins(cells[next]) && cells[next].type == cells[at].type &&
           cells[next].column0 == cells[next - 1].column0 + 1)
        ++next;
    return next;
}

// Writes a record whose body may outgrow one record: the rest goes into CONTINUE
// records. Strings split inside their characters resume with a flag byte.
class ContinuedRecord {
public:
    ContinuedRecord(QByteArray &out, std::uint16_t id) : m_out(out) { begin(id); }
    ~ContinuedRecord() { finish(); }

    int room() const { return kMaxRecordData - m_used; }
    void next() {
        finish();
        begin(kContinue);
    }
    void append(QByteArrayView bytes) {
        m_out.append(bytes);
        m_used += int(bytes.size());
    }
    /// Bytes that may be split anywhere.
    void appendSplittable(const QByteArray &bytes) {
        qsizetype done = 0;
        while (done < bytes.size()) {
            if (room() == 0) next();
            const qsizetype take = std::min<qsizetype>(room(), bytes.size() - done);
            append(bytes.mid(done, take));
            done += take;
        }
    }
    /// A string: its header never split, its characters split with a flag byte, its
    /// formatting runs (4 bytes each) split only between runs, its phonetic data anywhere.
    void appendString(QByteArrayView header, const Chars &text, bool wide, const QByteArray &runs = {},
                      const QByteArray &phonetic = {}) {
        const int unit = wide ? 2 : 1;
        if (room() < header.size() + (text.count == 0 ? 0 : unit)) next();
        if (runs.isEmpty() && phonetic.isEmpty() && header.size() + text.count * unit <= room()) {
            // Most strings fit whole in the record: one resize for header and characters.
            const qsizetype at = m_out.size();
            const qsizetype bytes = header.size() + text.count * unit;
            m_out.resize(at + bytes);
            std::memcpy(m_out.data() + at, header.data(), size_t(header.size()));
            putCharsAt(m_out.data() + at + header.size(), text, 0, text.count, wide);
            m_used += int(bytes);
            return;
        }
        append(header);
        qsizetype done = 0;
        while (done < text.count) {
            qsizetype take = std::min<qsizetype>(room() / unit, text.count - done);
            if (take == 0) {
                next();
                const char flag = char(wide ? 1 : 0);
                append(QByteArrayView(&flag, 1));
                continue;
            }
            putChars(m_out, text, done, take, wide);
            m_used += int(take * unit);
            done += take;
        }
        for (qsizetype at = 0; at < runs.size();) {
            if (room() < 4) next();
            const qsizetype take = std::min<qsizetype>(room() / 4 * 4, runs.size() - at);
            append(runs.mid(at, take));
            at += take;
        }
        appendSplittable(phonetic);
    }
    /// Stream offset of the record being written, and how far into it we are.
    qint64 recordStart() const { return m_start; }
    qint64 position() const { return m_out.size(); }

private:
    void begin(std::uint16_t id) {
        m_start = m_out.size();
        put16(m_out, id);
        put16(m_out, 0);
        m_used = 0;
    }
    void finish() { set16(m_out, m_start + 2, unsigned(m_used)); }

    QByteArray &m_out;
    qint64 m_start = 0;
    int m_used = 0;
};

constexpr std::uint32_t kDropped = 0xFFFFFFFFu;

// Calls at(offset of the SST index) for every LABELSST record in [begin, end) of bytes.
template <class F>
void forEachLabelSst(const QByteArray &bytes, qint64 begin, qint64 end, F at) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    end = std::min<qint64>(end, bytes.size());
    for (qint64 r = begin; r + 4 <= end;) {
        const unsigned id = p[r] | (p[r + 1] << 8);
        const qint64 size = p[r + 2] | (p[r + 3] << 8);
        if (id == kLabelSst && size >= 10 && r + 4 + size <= end) at(r + 4 + 6);
        r += 4 + size;
    }
}

// Texts by their hashes in an open-addressing table, without copies of the texts:
// finding one costs a probe or two, where a binary search over a sorted list of a
// million hashes missed the cache at every step. Equal texts have equal hashes, so
// of several equal texts added, the first added is the first found.
class TextTable {
public:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    // Half full: most texts a save looks up are not in the table (each distinct
    // text is looked for before it is added), and a miss probes until it meets an
    // empty slot.
    explicit TextTable(std::size_t count) : m_slots(2 * count + 1, Slot{0, kEmpty}) {}
    /// The first value added under `hash` for which `same(value)` holds, or kEmpty.
    template <typename Same>
    std::uint32_t find(std::uint32_t hash, Same same) const {
        for (std::size_t i = slotOf(hash);; i = next(i)) {
            const Slot &slot = m_slots[i];
            if (slot.value == kEmpty) return kEmpty;
            if (slot.hash == hash && same(slot.value)) return slot.value;
        }
    }
    /// Asks for the memory of a hash's first slot ahead of its find or add: with
    /// a table of megabytes each slot is a cache miss, and these then overlap.
    void prefetch(std::uint32_t hash) const { __builtin_prefetch(&m_slots[slotOf(hash)]); }
    void add(std::uint32_t hash, std::uint32_t value) {
        std::size_t i = slotOf(hash);
        while (m_slots[i].value != kEmpty) i = next(i);
        m_slots[i] = Slot{hash, value};
    }

private:
    struct Slot {
        std::uint32_t hash;
        std::uint32_t value;
    };
    // The hash scaled to the table's size: no power of two needed.
    std::size_t slotOf(std::uint32_t hash) const { return std::size_t((std::uint64_t(hash) * m_slots.size()) >> 32); }
    std::size_t next(std::size_t i) const { return i + 1 == m_slots.size() ? 0 : i + 1; }
    // Mapped, not from malloc: freeing a table of megabytes would raise malloc's
    // threshold for mapping, and what the save allocates next would stay in its heap.
    std::vector<Slot, memory::MappedAllocator<Slot>> m_slots;
};

std::uint32_t textHash(const Workbook &book, std::uint32_t string) { return book.stringHash(string); }

constexpr std::size_t kPrefetchAhead = 16;

// One bit per hash, for a quick "surely none of them": a table of a million texts
// is megabytes and each probe a cache miss, while these bits stay in the cache.
// About one text in twelve that is not among them passes.
class HashBits {
public:
    explicit HashBits(std::size_t count) : m_words(wordsFor(count), 0), m_mask(std::uint32_t(m_words.size() * 64 - 1)) {}
    void add(std::uint32_t hash) { m_words[(hash & m_mask) >> 6] |= std::uint64_t(1) << (hash & 63); }
    bool mayHold(std::uint32_t hash) const { return (m_words[(hash & m_mask) >> 6] >> (hash & 63)) & 1; }

private:
    // Eight bits a text or more, a power of two of them, at most 16 MiB.
    static std::size_t wordsFor(std::size_t count) {
        std::size_t words = 1;
        while (words * 64 < 8 * count && words < (std::size_t(1) << 21)) words *= 2;
        return words;
    }
    std::vector<std::uint64_t, memory::MappedAllocator<std::uint64_t>> m_words;
    std::uint32_t m_mask;
};

}  // namespace

QByteArray Biff8Writer::raw(qint64 offset, qint64 length) const { return m_book.stream().mid(offset, length); }

// Which SST strings the written cells use, and where each text goes: strings no
// cell uses any more are dropped, a new text that the SST holds as plain text (no
// formatting runs, no phonetic data) takes that entry, other new texts are added
// once each. Copied sheets are read for their LABELSST records, rebuilt ones for
// their text cells (LABEL cells of a rebuilt sheet become LABELSST).
void Biff8Writer::planStrings() {
    const std::uint32_t shared = std::uint32_t(m_book.sharedStringCount());
    bool anyRebuilt = false;
    for (int n = 1; n <= m_book.sheetCount(); ++n) anyRebuilt = anyRebuilt || m_book.sheet(n)->isModified();
    if (!anyRebuilt) return;  // every sheet and the SST go back as they were read

    const QByteArray &stream = m_book.stream();
    std::vector<bool> used(shared, false);
    IndexList added;  // texts beyond the SST, in the order of first use
    // Texts beyond the SST have the indexes after it: one flag each.
    std::vector<bool> seen(std::size_t(std::max(m_book.stringCount(), int(shared)) - int(shared)), false);
    added.reserve(seen.size());  // room never used is never touched
    for (int n = 1; n <= m_book.sheetCount(); ++n) {
        const Worksheet &sheet = *m_book.sheet(n);
        if (!sheet.isModified()) {
            if (sheet.records().empty()) continue;
            forEachLabelSst(stream, sheet.records().front().offset,
                            sheet.records().back().offset + sheet.records().back().length, [&](qint64 at) {
                                ++m_references;
                                if (const std::uint32_t i = get32(stream, at); i < shared) used[i] = true;
                            });
            continue;
        }
        for (const Cell &cell : sheet.cells()) {
            if (cell.isFormula() || cell.type != CellType::Text) continue;
            ++m_references;
            if (cell.ref < shared) {
                used[cell.ref] = true;
            } else if (cell.ref - shared < seen.size() && !seen[cell.ref - shared]) {
                seen[cell.ref - shared] = true;
                added.push_back(cell.ref);
            }
        }
    }

    // New texts: an equal plain SST string first, then one entry per distinct text.
    // Equal new texts are found by their hashes: no table of the texts themselves,
    // which for a whole translated sheet is as large as the SST. The SST's plain
    // strings (no formatting runs, no phonetic data) are hashed on a second thread
    // while the new texts are compared among themselves; then each such string is
    // looked for among the distinct new texts, through a bit per new text first:
    // a translation's texts are mostly in no SST string.
    constexpr std::uint32_t kNewSlot = 0x80000000u;
    IndexList firstEqual(added.size());  // position of the first equal text in added
    IndexList addedTo(added.size(), kDropped);  // SST index as read, or new slot | kNewSlot
    std::optional<TextTable> distinct;  // made on its thread: megabytes to fill
    HashBits distinctBits(added.size());
    IndexList sstHashes;
    std::vector<bool> plainSst;
    runSideBySide(
        [&] {
            if (added.empty()) return;
            sstHashes.resize(shared);
            plainSst.resize(shared);
            for (std::uint32_t i = 0; i < shared; ++i) {
                plainSst[i] = !m_book.sstFormatting(i);
                if (plainSst[i]) sstHashes[i] = textHash(m_book, i);
            }
        },
        [&] {
            // A new text's hash is kept with it in the pool: read, not worked out.
            distinct.emplace(added.size());
            for (std::uint32_t k = 0; k < added.size(); ++k) {
                if (k + kPrefetchAhead < added.size()) distinct->prefetch(textHash(m_book, added[k + kPrefetchAhead]));
                const std::uint32_t hash = textHash(m_book, added[k]);
                const std::uint32_t equal =
                    distinct->find(hash, [&](std::uint32_t j) { return m_book.sameString(added[j], added[k]); });
                firstEqual[k] = equal == TextTable::kEmpty ? k : equal;
                if (equal != TextTable::kEmpty) continue;
                distinct->add(hash, k);
                distinctBits.add(hash);
            }
        });
    // The plain SST strings that may hold a new text, then for each distinct new
    // text the first of them that does.
    IndexList candidates;
    for (std::uint32_t i = 0; i < sstHashes.size(); ++i)
        if (plainSst[i] && distinctBits.mayHold(sstHashes[i])) candidates.push_back(i);
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        if (c + kPrefetchAhead < candidates.size()) distinct->prefetch(sstHashes[candidates[c + kPrefetchAhead]]);
        const std::uint32_t i = candidates[c];
        const std::uint32_t k =
            distinct->find(sstHashes[i], [&](std::uint32_t j) { return m_book.sameString(added[j], i); });
        if (k == TextTable::kEmpty || addedTo[k] != kDropped) continue;
        addedTo[k] = i;
        used[i] = true;
    }
    m_newSstStrings.reserve(added.size());
    for (std::uint32_t k = 0; k < added.size(); ++k) {
        if (firstEqual[k] != k) {
            addedTo[k] = addedTo[firstEqual[k]];
        } else if (addedTo[k] == kDropped) {
            addedTo[k] = std::uint32_t(m_newSstStrings.size()) | kNewSlot;
            m_newSstStrings.push_back(added[k]);
        }
    }

    m_sstIndex.assign(shared, kDropped);
    m_keptStrings.reserve(shared);
    for (std::uint32_t i = 0; i < shared; ++i) {
        if (!used[i]) continue;
        m_sstIndex[i] = std::uint32_t(m_keptStrings.size());
        m_keptStrings.push_back(i);
    }
    const auto kept = std::uint32_t(m_keptStrings.size());
    m_newSstIndex.assign(seen.size(), kDropped);
    for (std::uint32_t k = 0; k < added.size(); ++k) {
        const std::uint32_t to = addedTo[k];
        m_newSstIndex[added[k] - shared] = (to & kNewSlot) ? kept + (to & ~kNewSlot) : m_sstIndex[to];
    }
    m_rebuildSst = kept != shared || !m_newSstStrings.empty();
}

std::uint32_t Biff8Writer::sstIndexOf(std::uint32_t stringIndex) const {
    if (stringIndex < m_sstIndex.size()) return m_sstIndex[stringIndex];
    const std::size_t added = stringIndex - m_sstIndex.size();
    return added < m_newSstIndex.size() && m_newSstIndex[added] != kDropped ? m_newSstIndex[added] : stringIndex;
}

Status Biff8Writer::write(std::vector<QByteArray> &pieces) {
    if (m_book.biffVersion() != 8)
        return Status::failure(QStringLiteral("Arbeitsmappen im Format von Excel 95 können nicht gespeichert werden"));
    planStrings();
    // Room for the globals as read and an eighth more: translated texts are often
    // longer, and room never written is never touched.
    const auto &globals = m_book.globalRecords();
    const qint64 globalsAsRead = globals.empty() ? 0 : globals.back().offset + globals.back().length - globals.front().offset;
    QByteArray out;
    out.reserve(globalsAsRead + globalsAsRead / 8 + 4096);
    std::vector<qint64> boundSheets;
    // The sheets are written on a second thread while the globals are, each as
    // if it began the stream; moved to its place, its stream offsets move with it.
    std::vector<SheetPart> parts(std::size_t(m_book.sheetCount()));
    runSideBySide(
        [&] {
            for (int n = 1; n <= m_book.sheetCount(); ++n) {
                SheetPart &part = parts[std::size_t(n - 1)];
                const auto &records = m_book.sheet(n)->records();
                if (!records.empty()) {
                    // Room for the sheet as read and half as much again: cells taken
                    // out of MULRK and MULBLANK records grow; room never written is
                    // never touched, and growing would copy the sheet.
                    const qint64 asRead = records.back().offset + records.back().length - records.front().offset;
                    part.bytes.reserve(asRead + asRead / 2 + 4096);
                }
                writeSheet(*m_book.sheet(n), part.bytes, part.offsetFields);
            }
        },
        [&] { writeGlobals(out, boundSheets); });
    // Each sheet follows the one before: its offsets move by all that precedes it.
    qint64 base = out.size();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i < boundSheets.size()) set32(out, boundSheets[i], std::uint32_t(base));
        QByteArray &bytes = parts[i].bytes;
        for (const qint64 at : parts[i].offsetFields) set32(bytes, at, get32(bytes, at) + std::uint32_t(base));
        base += bytes.size();
    }
    pieces.clear();
    pieces.reserve(parts.size() + 1);
    pieces.push_back(std::move(out));
    for (SheetPart &part : parts)
        if (!part.bytes.isEmpty()) pieces.push_back(std::move(part.bytes));
    return Status::success();
}

void Biff8Writer::writeGlobals(QByteArray &out, std::vector<qint64> &boundSheets) {
    const auto &records = m_book.globalRecords();
    const bool rebuildSst = m_rebuildSst;
    int lastXf = -1;
    bool hasSst = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].id == kXf) lastXf = int(i);
        if (records[i].id == kSst) hasSst = true;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const RawRecord &r = records[i];
        if (r.id == kEof && rebuildSst && !hasSst) writeSharedStrings(out);
        if (r.id == kSst && rebuildSst) {
            writeSharedStrings(out);
        } else if (r.id == kExtSst && rebuildSst) {
            // written with the SST
        } else if (r.id == kBoundSheet) {
            boundSheets.push_back(out.size() + 4);
            out.append(raw(r.offset, r.length));
        } else {
            out.append(raw(r.offset, r.length));
        }
        if (int(i) == lastXf)
            for (const QByteArray &xf : m_book.addedXfRecords()) putRecord(out, kXf, xf);
    }
}

// The SST: the strings that cells still use, in their order as read, then the new
// ones; and EXTSST, its index into the stream.
void Biff8Writer::writeSharedStrings(QByteArray &out) {
    const auto kept = std::uint32_t(m_keptStrings.size());
    const std::uint32_t count = kept + std::uint32_t(m_newSstStrings.size());
    const std::uint32_t perBucket = std::max<std::uint32_t>(8, (count + 127) / 128);
    QByteArray extSst;
    put16(extSst, perBucket);
    {
        ContinuedRecord sst(out, kSst);
        QByteArray head;
        put32(head, m_references);
        put32(head, count);
        sst.append(head);
        const QByteArray none;  // for strings without runs or phonetic data
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t stringIndex = i < kept ? m_keptStrings[i] : m_newSstStrings[i - kept];
            // Written from where the string lies: no copy of each of a million strings.
            const Chars text = m_book.stringChars(stringIndex);
            const SstFormatting *formatting = i < kept ? m_book.sstFormatting(stringIndex) : nullptr;
            const bool wide = isWide(text);
            SmallBody header;
            header.put16(unsigned(text.count));
            std::uint8_t flags = wide ? 0x01 : 0x00;
            if (formatting && formatting->runCount) flags |= 0x08;
            if (formatting && !formatting->phonetic.isEmpty()) flags |= 0x04;
            header.append(reinterpret_cast<const char *>(&flags), 1);
            if (flags & 0x08) header.put16(formatting->runCount);
            if (flags & 0x04) header.put32(std::uint32_t(formatting->phonetic.size()));
            // A string whose header would not fit starts the next record: note it first.
            if (sst.room() < header.view().size() + (text.count == 0 ? 0 : (wide ? 2 : 1))) sst.next();
            if (i % perBucket == 0) {
                put32(extSst, std::uint32_t(sst.position()));
                put16(extSst, unsigned(sst.position() - sst.recordStart()));
                put16(extSst, 0);
            }
            sst.appendString(header.view(), text, wide, formatting ? formatting->runs : none,
                             formatting ? formatting->phonetic : none);
        }
    }
    putRecord(out, kExtSst, extSst);
}

void Biff8Writer::writeSheet(const Worksheet &sheet, QByteArray &out, std::vector<qint64> &offsetFields) {
    const auto &records = sheet.records();
    if (records.empty()) return;
    const qint64 start = records.front().offset;
    const qint64 end = records.back().offset + records.back().length;
    if (!sheet.isModified()) {
        // Copied whole; only INDEX holds stream offsets, which move with the sheet.
        const qint64 base = out.size();
        out.append(raw(start, end - start));
        const qint64 delta = base - start;
        for (const RawRecord &r : records) {
            if (r.id != kIndex || r.length < 20) continue;
            const qint64 at = base + (r.offset - start) + 4;
            // The DEFCOLWIDTH position, then one DBCELL position per block.
            for (qint64 p = at + 12; p + 4 <= at + r.length - 4; p += 4) {
                set32(out, p, std::uint32_t(get32(out, p) + delta));
                offsetFields.push_back(p);
            }
        }
        if (m_rebuildSst) {
            const auto shared = std::uint32_t(m_sstIndex.size());
            forEachLabelSst(out, base, out.size(), [&](qint64 at) {
                if (const std::uint32_t i = get32(out, at); i < shared) set32(out, at, m_sstIndex[i]);
            });
        }
        return;
    }
    std::map<int, int> changedText;  // TXO record index -> comment index
    for (int c : sheet.changedComments())
        if (sheet.comments()[std::size_t(c)].textRecord >= 0) changedText[sheet.comments()[std::size_t(c)].textRecord] = c;
    qint64 indexAt = -1, dimensionsAt = -1, defColWidthAt = -1;
    std::vector<qint64> dbCells;
    int firstRow = 0, lastRow = -1;
    // INDEX comes before the cells but lists their DBCELLs: count the blocks first.
    const std::size_t blocks = (rowsInUse(sheet).size() + 31) / 32;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (int(i) == sheet.cellBlockPosition()) writeCellBlock(sheet, out, dbCells, firstRow, lastRow);
        const RawRecord &r = records[i];
        if (r.id == kIndex) {
            indexAt = out.size() + 4;
            putRecord(out, kIndex, QByteArray(16 + 4 * int(blocks), 0));
        } else if (r.id == kDimensions) {
            dimensionsAt = out.size() + 4;
            putRecord(out, kDimensions, QByteArray(14, 0));
        } else if (r.id == biff::kTxo && changedText.count(int(i))) {
            writeTextObject(sheet, changedText[int(i)], out);
        } else {
            if (r.id == kDefColWidth) defColWidthAt = out.size();
            out.append(raw(r.offset, r.length));
        }
    }
    if (dimensionsAt >= 0 && !sheet.cells().empty()) {
        int minCol = 255, maxCol = 0;
        for (const Cell &c : sheet.cells()) minCol = std::min<int>(minCol, c.column0), maxCol = std::max<int>(maxCol, c.column0);
        set32(out, dimensionsAt, sheet.cells().front().row0);
        set32(out, dimensionsAt + 4, std::uint32_t(sheet.cells().back().row0 + 1));
        set16(out, dimensionsAt + 8, unsigned(minCol));
        set16(out, dimensionsAt + 10, unsigned(maxCol + 1));
    }
    if (indexAt >= 0) {
        if (lastRow >= firstRow) {
            set32(out, indexAt + 4, std::uint32_t(firstRow));
            set32(out, indexAt + 8, std::uint32_t(lastRow + 1));
        }
        set32(out, indexAt + 12, std::uint32_t(std::max<qint64>(defColWidthAt, 0)));
        if (defColWidthAt >= 0) offsetFields.push_back(indexAt + 12);
        for (std::size_t b = 0; b < dbCells.size() && b < blocks; ++b) {
            set32(out, indexAt + 16 + qint64(4 * b), std::uint32_t(dbCells[b]));
            offsetFields.push_back(indexAt + 16 + qint64(4 * b));
        }
    }
}

// ROW records and cells in blocks of 32 rows, each block closed by a DBCELL that
// points back to its rows and cells.
void Biff8Writer::writeCellBlock(const Worksheet &sheet, QByteArray &out, std::vector<qint64> &dbCells,
                                 int &firstRow, int &lastRow) {
    const auto &cells = sheet.cells();
    const std::vector<int> rows = rowsInUse(sheet);
    if (rows.empty()) return;
    firstRow = rows.front();
    lastRow = rows.back();
    // The ROW record each row had, by row: the last one read counts.
    std::vector<const RowInfo *> rowInfo(std::size_t(std::max(lastRow, 0)) + 1, nullptr);
    for (const RowInfo &r : sheet.rowInfos())
        if (r.row >= 1 && r.row - 1 <= lastRow) rowInfo[std::size_t(r.row - 1)] = &r;
    // A row that gets its first cell is a row as the sheet's default has it: its
    // height (in twips), and hidden when the sheet hides rows by default (fDyZero,
    // the height then being the one the row gets when shown).
    unsigned newRowHeight = 0x80FF;  // without a sheet default: flagged as the default height
    std::uint32_t newRowFlags = 0x000F0100u;  // fGhostDirty off, reserved bit, XF 15
    for (const RawRecord &r : sheet.records()) {
        if (r.id != kDefaultRowHeight || r.length < 8) continue;
        const QByteArray body = raw(r.offset + 4, 4);
        newRowHeight = (quint8(body[2]) | (quint8(body[3]) << 8)) & 0x7FFF;
        if (quint8(body[0]) & 0x02) newRowFlags |= 0x20;
    }
    FormulaBlockPlan blocks(sheet);
    // Cells are in row order: both passes over a block walk them front to back.
    std::size_t rowCellAt = 0;
    std::size_t cellAt = 0;
    std::vector<qint64> rowStarts;
    for (std::size_t blockStart = 0; blockStart < rows.size(); blockStart += 32) {
        const std::size_t blockEnd = std::min(rows.size(), blockStart + 32);
        const qint64 firstRowAt = out.size();
        for (std::size_t i = blockStart; i < blockEnd; ++i) {
            const int row = rows[i];
            while (rowCellAt < cells.size() && cells[rowCellAt].row0 < row) ++rowCellAt;
            std::size_t rowCellEnd = rowCellAt;
            while (rowCellEnd < cells.size() && cells[rowCellEnd].row0 == row) ++rowCellEnd;
            const RowInfo *info = row >= 0 && std::size_t(row) < rowInfo.size() ? rowInfo[std::size_t(row)] : nullptr;
            SmallBody body;
            if (info && info->hasRecord) {
                body.append(info->record.data(), int(info->record.size()));
            } else {
                body.put16(unsigned(row));
                body.put16(0);
                body.put16(0);
                body.put16(newRowHeight);
                body.put16(0);
                body.put16(0);
                body.put32(newRowFlags);
            }
            if (rowCellEnd != rowCellAt) {
                body.set16(2, cells[rowCellAt].column0);
                body.set16(4, unsigned(cells[rowCellEnd - 1].column0 + 1));
            }
            putRecord(out, kRow, body.view());
            rowCellAt = rowCellEnd;
        }
        rowStarts.clear();
        for (std::size_t i = blockStart; i < blockEnd; ++i) {
            const int row = rows[i];
            while (cellAt < cells.size() && cells[cellAt].row0 < row) ++cellAt;
            rowStarts.push_back(cellAt < cells.size() && cells[cellAt].row0 == row ? out.size() : -1);
            std::size_t rowEnd = cellAt;
            while (rowEnd < cells.size() && cells[rowEnd].row0 == row) ++rowEnd;
            while (cellAt < rowEnd) {
                const std::size_t next = multipleRunEnd(cells, cellAt, rowEnd);
                if (next - cellAt > 1) writeMultiple(cells, cellAt, next, out);
                else writeCell(sheet, cells[cellAt], out, blocks);
                cellAt = next;
            }
        }
        dbCells.push_back(out.size());
        QByteArray db;
        put32(db, std::uint32_t(out.size() - firstRowAt));
        qint64 reference = firstRowAt + 20;  // the record after the first ROW
        for (qint64 startAt : rowStarts) {
            if (startAt < 0) {
                put16(db, 0);
                continue;
            }
            put16(db, unsigned(startAt - reference));
            reference = startAt;
        }
        putRecord(out, kDbCell, db);
    }
}

void Biff8Writer::writeCell(const Worksheet &sheet, const Cell &cell, QByteArray &out, FormulaBlockPlan &blocks) {
    SmallBody body;
    body.put16(cell.row0);
    body.put16(cell.column0);
    body.put16(cell.xf);
    if (cell.isFormula() && cell.ref < sheet.formulas().size()) {
        const FormulaCell &formula = sheet.formulas()[cell.ref];
        for (const auto &[id, record] : blocks.recordsFor(cell)) putRecord(out, id, record);
        if (cell.type == CellType::Text && !formula.stringRecord.isEmpty()) {
            if (formula.stringRecord.size() <= kMaxRecordData) {
                putRecord(out, kString, formula.stringRecord);
            } else {
                const QString text = m_book.string(formula.textIndex);
                const bool wide = isWide(text);
                QByteArray header;
                put16(header, unsigned(text.size()));
                header.append(char(wide ? 1 : 0));
                ContinuedRecord string(out, kString);
                string.appendString(header, charsOf(text), wide);
            }
        }
        return;
    }
    switch (cell.type) {
    case CellType::Blank: putRecord(out, kBlank, body.view()); return;
    case CellType::Number: {
        if (storedAsRk(cell)) {
            body.put32(cell.ref);
            putRecord(out, kRk, body.view());
        } else {
            const double number = sheet.numberOf(cell);
            body.append(reinterpret_cast<const char *>(&number), 8);
            putRecord(out, kNumber, body.view());
        }
        return;
    }
    case CellType::Text: {
        body.put32(sstIndexOf(cell.ref));
        putRecord(out, kLabelSst, body.view());
        return;
    }
    case CellType::Bool:
    case CellType::Error:
        const char value[2] = {char(std::uint8_t(cell.ref)), char(cell.type == CellType::Error ? 1 : 0)};
        body.append(value, 2);
        putRecord(out, kBoolErr, body.view());
        return;
    }
}

// Neighbouring blank or RK cells of one row in a MULBLANK or MULRK record.
void Biff8Writer::writeMultiple(const CellList &cells, std::size_t first, std::size_t end, QByteArray &out) {
    const bool blank = cells[first].type == CellType::Blank;
    QByteArray body;
    put16(body, cells[first].row0);
    put16(body, cells[first].column0);
    for (std::size_t i = first; i < end; ++i) {
        put16(body, cells[i].xf);
        if (!blank) put32(body, cells[i].ref);
    }
    put16(body, cells[end - 1].column0);
    putRecord(out, blank ? kMulBlank : kMulRk, body);
}

// A comment's TXO with its new text: the record as it was with the new lengths, the
// text in CONTINUE records, and two formatting runs keeping the first run's font.
void Biff8Writer::writeTextObject(const Worksheet &sheet, int commentIndex, QByteArray &out) {
    const Comment &comment = sheet.comments()[std::size_t(commentIndex)];
    const RawRecord &group = sheet.records()[std::size_t(comment.textRecord)];
    const QByteArray bytes = raw(group.offset, group.length);
    BiffRecordReader reader(bytes, 0, false);
    BiffRecord r;
    QByteArray txo, lastContinue;
    while (reader.next(r)) {
        if (r.id == biff::kTxo) txo = QByteArray(r.body.constData(), r.body.size());
        else lastContinue = QByteArray(r.body.constData(), r.body.size());
    }
    if (txo.size() < 14) {
        out.append(bytes);
        return;
    }
    const QString text = comment.text;
    std::uint16_t font = 0;
    if (lastContinue.size() >= 16) font = std::uint16_t(quint8(lastContinue[2]) | (quint8(lastContinue[3]) << 8));
    set16(txo, 10, unsigned(text.size()));
    set16(txo, 12, text.isEmpty() ? 0 : 16);
    putRecord(out, biff::kTxo, txo);
    if (text.isEmpty()) return;
    const bool wide = isWide(text);
    const qsizetype perRecord = (kMaxRecordData - 1) / (wide ? 2 : 1);
    for (qsizetype done = 0; done < text.size(); done += perRecord) {
        QByteArray chunk(1, char(wide ? 1 : 0));
        putChars(chunk, QStringView(text).mid(done, perRecord), wide);
        putRecord(out, kContinue, chunk);
    }
    QByteArray runs;
    put16(runs, 0);
    put16(runs, font);
    put32(runs, 0);
    put16(runs, unsigned(text.size()));
    put16(runs, 0);
    put32(runs, 0);
    putRecord(out, kContinue, runs);
}

}  // namespace office::sheet
