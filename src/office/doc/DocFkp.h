#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

#include <functional>

#include <vector>

namespace office::doc {

/// Character (CHPX) or paragraph (PAPX) formatted disk pages.
enum class FkpKind { Chpx, Papx };

/// Builds the 512-byte formatted disk pages of one kind and their bin table.
/// Runs are added in stream order, each ending where the next starts; identical
/// property lists within a page are stored once.
class DocFkpWriter {
public:
    explicit DocFkpWriter(FkpKind kind) : m_kind(kind) {}
    /// Adds a run [fcStart, fcEnd) of the WordDocument stream. For CHPX `props`
    /// is a property list (empty = none); for PAPX it is the style index (2 bytes)
    /// followed by the paragraph's property list.
    void add(quint32 fcStart, quint32 fcEnd, const QByteArray &props);
    /// Appends the pages to `stream` (padded to a page boundary first) and returns
    /// the bin table (PlcBte) for the table stream.
    QByteArray finish(QByteArray &stream);

    /// Longest PAPX property list (style index included) that fits a page.
    static constexpr int kMaxPapx = 480;

private:
    struct Run {
        quint32 fcStart;
        quint32 fcEnd;
        int prop;  // index into m_props, -1 for none
    };
    int storedSize(const QByteArray &props) const;
    void flushPage();
    FkpKind m_kind;
    std::vector<Run> m_runs;          // runs of the page being filled
    std::vector<QByteArray> m_props;  // distinct property lists of that page
    QHash<QByteArray, int> m_propIndex;
    int m_used = 0;  // bytes the page being filled needs so far
    std::vector<QByteArray> m_pages;
    std::vector<quint32> m_pageFirstFc;
    quint32 m_lastFc = 0;
};

/// One run read from a formatted disk pages: stream bytes [fcStart, fcEnd) and
/// its property list (for PAPX with the style index in front), which points into
/// the property store the pages were read into.
struct DocFkpRun {
    quint32 fcStart = 0;
    quint32 fcEnd = 0;
    const char *props = nullptr;
    int size = 0;
    /// The property list as a byte array sharing the store's bytes.
    QByteArray propsView() const { return QByteArray::fromRawData(props ? props : "", size); }
};

/// The WordDocument stream as the page reader sees it: its size in bytes and a
/// reader of the 512 bytes at a byte offset (false when they cannot be read).
struct DocFkpPages {
    qint64 streamSize = 0;
    std::function<bool(qint64 offset, char *page)> read;
};

namespace DocFkpReader {

/// Reads every page that the bin table at [offset, offset + length) of the table
/// stream lists, in order, one page at a time. Neighbouring runs with the same
/// properties come back as one. Each distinct property list is kept once in
/// `propsStore`, which must outlive the runs.
Status read(FkpKind kind, const QByteArray &tableStream, quint32 offset, quint32 length, const DocFkpPages &pages,
            QSet<QByteArray> &propsStore, std::vector<DocFkpRun> &runs);

}  // namespace DocFkpReader

}  // namespace office::doc
