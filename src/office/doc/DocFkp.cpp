#include "office/doc/DocFkp.h"

#include "office/doc/DocBytes.h"

#include <cstring>

namespace office::doc {

namespace {

constexpr int kPageSize = 512;
constexpr int kChpxEntry = 4 + 1;   // rgfc entry and rgb byte
constexpr int kPapxEntry = 4 + 13;  // rgfc entry and BxPap (offset byte and 12 bytes of height info)
constexpr qint64 kMaxPages = qint64(1) << 22;

}  // namespace

int DocFkpWriter::storedSize(const QByteArray &props) const {
    // CHPX: count byte and list; PAPX: count byte (plus a second for even lengths) and list.
    // Both start at even offsets.
    const int n = int(props.size());
    const int size = m_kind == FkpKind::Chpx ? 1 + n : (n % 2 ? 1 + n : 2 + n);
    return (size + 1) & ~1;
}

void DocFkpWriter::add(quint32 fcStart, quint32 fcEnd, const QByteArray &props) {
    const bool none = m_kind == FkpKind::Chpx && props.isEmpty();
    const int entry = m_kind == FkpKind::Chpx ? kChpxEntry : kPapxEntry;
    // Neighbouring character runs with the same properties become one.
    if (m_kind == FkpKind::Chpx && !m_runs.empty() && m_runs.back().fcEnd == fcStart) {
        const int last = m_runs.back().prop;
        if ((none && last < 0) || (!none && last >= 0 && m_props[size_t(last)] == props)) {
            m_runs.back().fcEnd = fcEnd;
            m_lastFc = fcEnd;
            return;
        }
    }
    auto need = [&]() {
        int bytes = entry;
        if (!none && !m_propIndex.contains(props)) bytes += storedSize(props);
        return bytes;
    };
    // 4 bytes for the closing rgfc entry, 1 for the run count and 1 that the
    // even alignment of the property lists may cost.
    if (!m_runs.empty() && m_used + need() + 4 + 2 > kPageSize) flushPage();
    m_used += need();
    int prop = -1;
    if (!none) {
        auto it = m_propIndex.constFind(props);
        if (it == m_propIndex.constEnd()) {
            prop = int(m_props.size());
            m_props.push_back(props);
            m_propIndex.insert(props, prop);
        } else {
            prop = *it;
        }
    }
    m_runs.push_back({fcStart, fcEnd, prop});
    m_lastFc = fcEnd;
}

void DocFkpWriter::flushPage() {
    if (m_runs.empty()) return;
    QByteArray page(kPageSize, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) page[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    const int n = int(m_runs.size());
    for (int i = 0; i < n; ++i) put32(4 * i, m_runs[size_t(i)].fcStart);
    put32(4 * n, m_runs.back().fcEnd);
    // Property lists from the end of the page down, at even offsets.
    std::vector<int> offsets(m_props.size());
    int top = kPageSize - 1;
    for (size_t j = 0; j < m_props.size(); ++j) {
        const QByteArray &p = m_props[j];
        top = (top - storedSize(p)) & ~1;
        offsets[j] = top;
        int at = top;
        if (m_kind == FkpKind::Chpx) {
            page[at++] = char(p.size());
        } else if (p.size() % 2) {
            page[at++] = char((p.size() + 1) / 2);
        } else {
            page[at++] = 0;
            page[at++] = char(p.size() / 2);
        }
        std::memcpy(page.data() + at, p.constData(), size_t(p.size()));
    }
    const int entries = 4 * (n + 1);
    for (int i = 0; i < n; ++i) {
        const int prop = m_runs[size_t(i)].prop;
        const char word = char(prop < 0 ? 0 : offsets[size_t(prop)] / 2);
        if (m_kind == FkpKind::Chpx)
            page[entries + i] = word;
        else
            page[entries + 13 * i] = word;
    }
    page[kPageSize - 1] = char(n);
    m_pageFirstFc.push_back(m_runs.front().fcStart);
    m_pages.push_back(page);
    m_runs.clear();
    m_props.clear();
    m_propIndex.clear();
    m_used = 0;
}

QByteArray DocFkpWriter::finish(QByteArray &stream) {
    flushPage();
    if (const qsizetype rest = stream.size() % kPageSize) stream.append(kPageSize - rest, '\0');
    const quint32 firstPage = quint32(stream.size() / kPageSize);
    for (const QByteArray &page : m_pages) stream.append(page);
    DocBytesOut bte;
    for (quint32 fc : m_pageFirstFc) bte.u32(fc);
    bte.u32(m_lastFc);
    for (size_t i = 0; i < m_pages.size(); ++i) bte.u32(firstPage + quint32(i));
    return bte.take();
}

Status DocFkpReader::read(FkpKind kind, const QByteArray &table, quint32 offset, quint32 length,
                          const DocFkpPages &source, QSet<QByteArray> &propsStore, std::vector<DocFkpRun> &runs) {
    runs.clear();
    const char *what = kind == FkpKind::Chpx ? "character" : "paragraph";
    const DocBytesIn tin(table);
    if (length < 4 || (length - 4) % 8 != 0 || !tin.has(offset, length))
        return Status::failure(QStringLiteral("The %1 bin table lies outside the table stream or has a wrong length.")
                                   .arg(QLatin1String(what)),
                               offset);
    const qint64 pages = (length - 4) / 8;
    if (pages > kMaxPages || pages > source.streamSize / kPageSize + 1)
        return Status::failure(
            QStringLiteral("The %1 bin table lists more pages than the file holds.").arg(QLatin1String(what)), offset);
    QByteArray page(kPageSize, '\0');
    const DocBytesIn win(page);  // offsets within the page; reasons give them from the stream's start
    const qint64 pnBase = offset + 4 * (pages + 1);
    for (qint64 i = 0; i < pages; ++i) {
        const quint32 pn = tin.u32(pnBase + 4 * i) & 0x3FFFFF;
        const qint64 pageAt = qint64(pn) * kPageSize;
        if (pageAt > source.streamSize - kPageSize || !source.read(pageAt, page.data()))
            return Status::failure(
                QStringLiteral("A %1 property page (number %2) lies outside the WordDocument stream.")
                    .arg(QLatin1String(what))
                    .arg(pn),
                pnBase + 4 * i);
        const int n = int(win.u8(kPageSize - 1));
        const int entry = kind == FkpKind::Chpx ? 1 : 13;
        if (n == 0 || 4 * (n + 1) + entry * n > kPageSize - 1)
            return Status::failure(
                QStringLiteral("A %1 property page has a wrong run count (%2).").arg(QLatin1String(what)).arg(n),
                pageAt + kPageSize - 1);
        for (int r = 0; r < n; ++r) {
            DocFkpRun run;
            run.fcStart = win.u32(4 * r);
            run.fcEnd = win.u32(4 * (r + 1));
            if (run.fcEnd < run.fcStart || (!runs.empty() && run.fcStart < runs.back().fcEnd))
                return Status::failure(
                    QStringLiteral("The runs of a %1 property page are out of order.").arg(QLatin1String(what)),
                    pageAt + 4 * r);
            const int word = int(win.u8(4 * (n + 1) + entry * r));
            if (word != 0) {
                const qint64 at = 2 * word;
                int size = 0;
                qint64 start = 0;
                if (kind == FkpKind::Chpx) {
                    size = int(win.u8(at));
                    start = at + 1;
                } else if (const int cb = int(win.u8(at)); cb != 0) {
                    size = 2 * cb - 1;
                    start = at + 1;
                } else {
                    size = 2 * int(win.u8(at + 1));
                    start = at + 2;
                }
                if (start + size > kPageSize - 1)
                    return Status::failure(
                        QStringLiteral("A %1 property list runs past the end of its page.").arg(QLatin1String(what)),
                        pageAt + at);
                // The page buffer is reused: the run points at the store's copy of its list.
                auto stored = propsStore.constFind(QByteArray::fromRawData(win.at(start), size));
                if (stored == propsStore.constEnd()) stored = propsStore.insert(QByteArray(win.at(start), size));
                run.props = stored->constData();
                run.size = size;
            }
            if (!runs.empty() && runs.back().fcEnd == run.fcStart && runs.back().size == run.size &&
                runs.back().props == run.props) {
                runs.back().fcEnd = run.fcEnd;
                continue;
            }
            runs.push_back(run);
        }
    }
    return Status::success();
}

}  // namespace office::doc
