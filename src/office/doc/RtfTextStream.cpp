#include "office/doc/RtfTextStream.h"

#include "office/doc/RtfTextReader.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

namespace office::doc {

struct RtfTextStream::Impl {
    // Pieces of about this many characters, at most kAhead of them waiting.
    static constexpr qsizetype kPiece = 256 * 1024;
    static constexpr std::size_t kAhead = 32;

    RtfTextReader reader;  // the reading thread's alone once it runs
    std::thread thread;
    std::mutex mutex;
    std::condition_variable changed;
    // Guarded by mutex:
    std::deque<QString> ready;
    std::vector<QString> spare;  // pieces handed over, emptied, their memory kept for new ones
    bool finished = false;   // the last piece is in `ready`
    bool readWhole = false;  // reading stopped short
    bool stopping = false;   // the stream goes away

    ~Impl() {
        if (!thread.joinable()) return;
        {
            const std::lock_guard lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        thread.join();
    }

    void readAhead() {
        try {
            readPieces();
        } catch (const std::exception &) {
            // Memory ran out (std::bad_alloc): the whole-document reader refuses
            // such a file in words of its own. What was read ahead is dropped.
            const std::lock_guard lock(mutex);
            ready.clear();
            finished = true;
            readWhole = true;
        }
        changed.notify_all();
    }

    void readPieces() {
        for (;;) {
            // A piece's memory is used again: fresh memory for every piece would
            // be faulted in page by page, on the thread that sets the import's pace.
            QString piece;
            {
                const std::lock_guard lock(mutex);
                if (!spare.empty()) {
                    piece = std::move(spare.back());
                    spare.pop_back();
                }
            }
            const bool more = reader.readMore(piece, kPiece);
            std::unique_lock lock(mutex);
            if (!piece.isEmpty()) ready.push_back(std::move(piece));
            if (!more) {
                finished = true;
                readWhole = reader.readWholeNeeded();
                return;
            }
            changed.notify_all();
            changed.wait(lock, [this] { return stopping || ready.size() < kAhead; });
            if (stopping) return;
        }
    }
};

RtfTextStream::RtfTextStream() : m(std::make_unique<Impl>()) {}
RtfTextStream::~RtfTextStream() = default;

Status RtfTextStream::open(const QString &path) {
    m = std::make_unique<Impl>();
    const Status status = m->reader.open(path);
    if (!status) return status;
    try {
        m->thread = std::thread([impl = m.get()] { impl->readAhead(); });
    } catch (const std::system_error &error) {
        // No thread to spare: the caller reads the document whole instead.
        m = std::make_unique<Impl>();
        return Status::failure(QStringLiteral("Cannot start the reading thread: %1").arg(QString::fromLocal8Bit(error.what())));
    }
    return status;
}

bool RtfTextStream::readMore(QString &text, qsizetype atLeast) {
    if (!m->thread.joinable()) return false;
    const qsizetype wanted = text.size() + std::max<qsizetype>(atLeast, 1);
    std::unique_lock lock(m->mutex);
    for (;;) {
        while (!m->ready.empty() && text.size() < wanted) {
            QString &piece = m->ready.front();
            text.append(piece);
            if (!piece.isDetached()) piece = QString();  // the text shares it: nothing to keep
            piece.resize(0);  // keeps its room
            if (m->spare.size() < Impl::kAhead) m->spare.push_back(std::move(piece));
            m->ready.pop_front();
            m->changed.notify_all();
        }
        if (text.size() >= wanted) return true;
        if (m->finished && m->ready.empty()) return false;
        m->changed.wait(lock, [this] { return !m->ready.empty() || m->finished; });
    }
}

void RtfTextStream::close() { m = std::make_unique<Impl>(); }

bool RtfTextStream::readWholeNeeded() const {
    const std::lock_guard lock(m->mutex);
    return m->finished && m->readWhole;
}

}  // namespace office::doc
