#include "office/ole/CompoundFile.h"

#include "office/ole/DiskStream.h"

#include "office/memory/BackgroundPrefault.h"

#include <QFile>

#include <fcntl.h>
#include <gsf/gsf.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace office::ole {
namespace {

// Stream data goes to the sink in stretches of this size, each announced to
// the caller of writeTo.
constexpr qsizetype kPassedChunk = qsizetype(4) << 20;

struct GObjectUnref {
    void operator()(void *object) const {
        if (object) g_object_unref(object);
    }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

void ensureGsfInitialised() {
    // libgsf registers its GObject types on first use; gsf_init is idempotent.
    static const bool done = [] {
        gsf_init();
        return true;
    }();
    (void)done;
}

QString takeGError(GError *error, const QString &fallback) {
    if (!error) return fallback;
    QString text = QString::fromUtf8(error->message);
    g_error_free(error);
    return text;
}

// Reads a stream through in bounded steps, keeping nothing: a stream left on
// disk is refused when cut short just as one read whole would be.
bool readsThrough(GsfInput *stream, gsf_off_t size) {
    constexpr gsf_off_t kStep = gsf_off_t(1) << 20;
    std::vector<guint8> scratch(size_t(std::min(size, kStep)));
    for (gsf_off_t at = 0; at < size; at += kStep)
        if (!gsf_input_read(stream, size_t(std::min(size - at, kStep)), scratch.data())) return false;
    return true;
}

// The stream to leave on disk while collecting, and where its handle goes.
struct LeaveOnDisk {
    QString path;
    GsfInput *found = nullptr;  // a reference of our own once found
};

// Walks one storage depth-first, in the order libgsf lists the children.
Status collect(GsfInfile *storage, const QString &prefix, std::vector<Entry> &out, int depth,
               LeaveOnDisk *leave = nullptr) {
    if (depth > 64) return Status::failure(QStringLiteral("Speicherbaum zu tief verschachtelt"));
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char *rawName = gsf_infile_name_by_index(storage, i);
        GPtr<GsfInput> child(gsf_infile_child_by_index(storage, i));
        if (!child || !rawName) return Status::failure(QStringLiteral("Eintrag %1 nicht lesbar").arg(i));
        Entry entry;
        entry.path = prefix + QString::fromUtf8(rawName);
        const bool isStorage = GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0;
        entry.isStorage = isStorage;
        if (isStorage) {
            if (GSF_IS_INFILE_MSOLE(child.get()))
                gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.get()), entry.classId.data());
            out.push_back(entry);
            Status st = collect(GSF_INFILE(child.get()), entry.path + QLatin1Char('/'), out, depth + 1, leave);
            if (!st) return st;
            continue;
        }
        const gsf_off_t size = gsf_input_size(child.get());
        if (size < 0 || size > CompoundFile::kMaxStreamSize)
            return Status::failure(QStringLiteral("Datenstrom %1 hat eine ungültige Größe").arg(entry.path));
        if (leave && !leave->found && entry.path.compare(leave->path, Qt::CaseInsensitive) == 0) {
            if (!readsThrough(child.get(), size))
                return Status::failure(QStringLiteral("Datenstrom %1 ist abgeschnitten").arg(entry.path));
            leave->found = GSF_INPUT(g_object_ref(child.get()));
            out.push_back(std::move(entry));
            continue;
        }
        entry.data.resize(qsizetype(size));
        memory::BackgroundPrefault prefault(entry.data.data(), size_t(size));
        auto *into = reinterpret_cast<guint8 *>(entry.data.data());
        const bool read = size == 0 || gsf_input_read(child.get(), size_t(size), into);
        prefault.stop();
        if (!read) return Status::failure(QStringLiteral("Datenstrom %1 ist abgeschnitten").arg(entry.path));
        out.push_back(std::move(entry));
    }
    return Status::success();
}

Status readFrom(GsfInput *input, CompoundFile &out) {
    GError *error = nullptr;
    GPtr<GsfInfile> root(gsf_infile_msole_new(input, &error));
    if (!root) return Status::failure(takeGError(error, QStringLiteral("Keine OLE2-Verbunddatei")));
    CompoundFile result;
    gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(root.get()), result.rootClassId.data());
    Status st = collect(root.get(), QString(), result.entries(), 0);
    if (!st) return st;
    out = std::move(result);
    return Status::success();
}

bool allZero(const std::array<unsigned char, 16> &id) {
    for (unsigned char c : id)
        if (c) return false;
    return true;
}

}  // namespace

bool hasOle2Signature(const QByteArray &head) {
    static const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    return head.size() >= 8 && memcmp(head.constData(), kSignature, 8) == 0;
}

Status CompoundFile::read(const QString &path, CompoundFile &out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Datei nicht lesbar: %1").arg(file.errorString()));
    if (file.size() > kMaxStreamSize * 2) return Status::failure(QStringLiteral("Datei zu groß"));
    // Mapping the file spares a copy of it; where that fails, read it whole.
    ensureGsfInitialised();
    const QByteArray head = file.peek(8);
    if (hasOle2Signature(head)) {
        GPtr<GsfInput> mapped(gsf_input_mmap_new(QFile::encodeName(path).constData(), nullptr));
        if (mapped) return readFrom(mapped.get(), out);
    }
    const QByteArray bytes = file.readAll();
    return readBytes(bytes, out);
}

struct DiskStream::Handle {
    GPtr<GsfInput> source;  // the file, read with stdio: a mapping would count the whole file as resident
    GPtr<GsfInfile> root;
    GPtr<GsfInput> stream;
};

DiskStream::DiskStream() = default;
DiskStream::DiskStream(DiskStream &&) noexcept = default;
DiskStream &DiskStream::operator=(DiskStream &&) noexcept = default;
DiskStream::~DiskStream() = default;

bool DiskStream::isOpen() const {
    return m_handle && m_handle->stream;
}

qint64 DiskStream::size() const {
    return isOpen() ? qint64(gsf_input_size(m_handle->stream.get())) : 0;
}

bool DiskStream::read(qint64 offset, qint64 n, char *into) const {
    if (!isOpen() || offset < 0 || n < 0 || offset > size() || n > size() - offset) return false;
    if (n == 0) return true;
    GsfInput *stream = m_handle->stream.get();
    return !gsf_input_seek(stream, gsf_off_t(offset), G_SEEK_SET) &&
           gsf_input_read(stream, size_t(n), reinterpret_cast<guint8 *>(into)) != nullptr;
}

Status CompoundFile::read(const QString &path, CompoundFile &out, const QString &leaveOnDisk, DiskStream &stream) {
    stream = DiskStream();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Datei nicht lesbar: %1").arg(file.errorString()));
    if (file.size() > kMaxStreamSize * 2) return Status::failure(QStringLiteral("Datei zu groß"));
    if (!hasOle2Signature(file.peek(8))) return Status::failure(QStringLiteral("Keine OLE2-Verbunddatei"), 0);
    file.close();
    ensureGsfInitialised();
    GError *error = nullptr;
    auto handle = std::make_unique<DiskStream::Handle>();
    handle->source.reset(gsf_input_stdio_new(QFile::encodeName(path).constData(), &error));
    if (!handle->source) return Status::failure(takeGError(error, QStringLiteral("Datei nicht lesbar")));
    handle->root.reset(gsf_infile_msole_new(handle->source.get(), &error));
    if (!handle->root) return Status::failure(takeGError(error, QStringLiteral("Keine OLE2-Verbunddatei")));
    CompoundFile result;
    gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(handle->root.get()), result.rootClassId.data());
    LeaveOnDisk leave{leaveOnDisk};
    Status st = collect(handle->root.get(), QString(), result.entries(), 0, &leave);
    handle->stream.reset(leave.found);
    if (!st) return st;
    out = std::move(result);
    if (handle->stream) stream.m_handle = std::move(handle);
    return Status::success();
}

Status CompoundFile::readBytes(const QByteArray &bytes, CompoundFile &out) {
    ensureGsfInitialised();
    if (!hasOle2Signature(bytes)) return Status::failure(QStringLiteral("Keine OLE2-Verbunddatei"), 0);
    GPtr<GsfInput> input(
        gsf_input_memory_new(reinterpret_cast<const guint8 *>(bytes.constData()), bytes.size(), FALSE));
    if (!input) return Status::failure(QStringLiteral("Speicher erschöpft"));
    return readFrom(input.get(), out);
}

Status CompoundFile::writeBytes(QByteArray &out) const {
    ensureGsfInitialised();
    GPtr<GsfOutput> sink(gsf_output_memory_new());
    if (const Status s = writeTo(sink.get()); !s) return s;
    const guint8 *data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    out = QByteArray(reinterpret_cast<const char *>(data), qsizetype(gsf_output_size(sink.get())));
    return Status::success();
}

Status CompoundFile::writeFile(const QString &path) const {
    ensureGsfInitialised();
    GError *error = nullptr;
    // libgsf writes a temporary file beside the target and renames it when closed.
    GPtr<GsfOutput> sink(gsf_output_stdio_new(QFile::encodeName(path).constData(), &error));
    if (!sink) return Status::failure(QStringLiteral("Cannot write %1: %2").arg(path, takeGError(error, QString())));
    const Status written = writeTo(sink.get());
    if (!written && !gsf_output_is_closed(sink.get()))
        gsf_output_set_error(sink.get(), 0, "%s", written.message.toUtf8().constData());  // the close drops the temporary file
    // Closing the compound file closes the file under it, which renames it into place.
    const bool closed = gsf_output_is_closed(sink.get()) || gsf_output_close(sink.get());
    if (!written) return written;
    if (const GError *failure = gsf_output_error(sink.get()); failure || !closed)
        return Status::failure(QStringLiteral("Cannot write %1: %2").arg(path, failure ? QString::fromUtf8(failure->message) : QString()));
    return Status::success();
}

Status CompoundFile::writeToDescriptor(int fd) const {
    ensureGsfInitialised();
    auto systemFailure = [](int error) { return Status::failure(QString::fromLocal8Bit(std::strerror(error))); };
    // libgsf closes the stream it is given: it gets a copy of the descriptor.
    const int own = ::dup(fd);
    if (own < 0) return systemFailure(errno);
    FILE *file = ::fdopen(own, "wb");
    if (!file) {
        const int error = errno;
        ::close(own);
        return systemFailure(error);
    }
    GPtr<GsfOutput> sink(gsf_output_stdio_new_FILE("workbook", file, FALSE));
    if (!sink) {
        std::fclose(file);
        return Status::failure(QStringLiteral("OLE2-Ausgabe nicht möglich"));
    }
    // The disk starts on what has been written while the rest is still being
    // copied: the sync that ends the save then waits for the last stretch only.
    const Status written = writeTo(sink.get(), [file, own] {
        if (std::fflush(file) == 0) (void)::sync_file_range(own, 0, 0, SYNC_FILE_RANGE_WRITE);
    });
    // A write the file refused (a full disk, say) leaves its reason on the sink:
    // that says more than what the compound file made of it.
    const GError *refused = gsf_output_error(sink.get());
    const QString reason = refused ? QString::fromUtf8(refused->message) : QString();
    const bool closed = gsf_output_is_closed(sink.get()) || gsf_output_close(sink.get());
    if (!written) return reason.isEmpty() ? written : Status::failure(reason);
    if (const GError *failure = gsf_output_error(sink.get()); failure || !closed)
        return Status::failure(failure ? QString::fromUtf8(failure->message) : QStringLiteral("not all bytes were written"));
    return Status::success();
}

Status CompoundFile::writeTo(GsfOutput *sink, const std::function<void()> &passed) const {
    {
        GPtr<GsfOutfile> root(gsf_outfile_msole_new(sink));
        if (!root) return Status::failure(QStringLiteral("OLE2-Ausgabe nicht möglich"));
        if (!allZero(rootClassId))
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(root.get()), rootClassId.data());

        // Open storages stay referenced until everything below them is written.
        std::vector<std::pair<QString, GPtr<GsfOutfile>>> storages;
        auto parentOf = [&](const QString &path) -> GsfOutfile * {
            const int slash = path.lastIndexOf(QLatin1Char('/'));
            if (slash < 0) return root.get();
            const QString parent = path.left(slash);
            for (auto &s : storages)
                if (s.first == parent) return s.second.get();
            return nullptr;
        };
        for (const Entry &entry : m_entries) {
            GsfOutfile *parent = parentOf(entry.path);
            if (!parent) return Status::failure(QStringLiteral("Übergeordneter Speicher fehlt: %1").arg(entry.path));
            const QByteArray name = entry.path.mid(entry.path.lastIndexOf(QLatin1Char('/')) + 1).toUtf8();
            GsfOutput *child = gsf_outfile_new_child(parent, name.constData(), entry.isStorage);
            if (!child) return Status::failure(QStringLiteral("Eintrag nicht schreibbar: %1").arg(entry.path));
            if (entry.isStorage) {
                if (!allZero(entry.classId))
                    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(child), entry.classId.data());
                storages.emplace_back(entry.path, GPtr<GsfOutfile>(GSF_OUTFILE(child)));
                continue;
            }
            GPtr<GsfOutput> stream(child);
            const auto write = [&](const QByteArray &bytes) {
                const auto *data = reinterpret_cast<const guint8 *>(bytes.constData());
                for (qsizetype at = 0; at < bytes.size(); at += kPassedChunk) {
                    const qsizetype n = std::min(kPassedChunk, bytes.size() - at);
                    if (!gsf_output_write(stream.get(), size_t(n), data + at)) return false;
                    if (passed && n == kPassedChunk) passed();
                }
                return true;
            };
            bool written = write(entry.data);
            for (const QByteArray &piece : entry.pieces) written = written && write(piece);
            if (!written) return Status::failure(QStringLiteral("Datenstrom nicht schreibbar: %1").arg(entry.path));
            gsf_output_close(stream.get());
        }
        // Close the deepest storages first, then the root.
        for (auto it = storages.rbegin(); it != storages.rend(); ++it) gsf_output_close(GSF_OUTPUT(it->second.get()));
        storages.clear();
        if (!gsf_output_close(GSF_OUTPUT(root.get())))
            return Status::failure(QStringLiteral("OLE2-Ausgabe konnte nicht abgeschlossen werden"));
    }
    return Status::success();
}

const Entry *CompoundFile::find(const QString &path) const {
    for (const Entry &e : m_entries)
        if (e.path.compare(path, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

Entry *CompoundFile::find(const QString &path) {
    return const_cast<Entry *>(static_cast<const CompoundFile *>(this)->find(path));
}

void CompoundFile::setStream(const QString &path, const QByteArray &data) {
    if (Entry *e = find(path)) {
        e->data = data;
        e->pieces.clear();
        return;
    }
    Entry entry;
    entry.path = path;
    entry.data = data;
    m_entries.push_back(std::move(entry));
}

void CompoundFile::setStream(const QString &path, std::vector<QByteArray> pieces) {
    setStream(path, QByteArray());
    find(path)->pieces = std::move(pieces);
}

}  // namespace office::ole
