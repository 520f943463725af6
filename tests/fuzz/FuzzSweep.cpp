// The truncation and mutation sweep of a fuzz target: deterministic, so it runs as an
// ordinary test. Cuts fall where a reader changes state: before every RTF group
// brace, and at every 512-byte sector boundary of a compound file (the container's
// own structure). Inside a whole container, the workbook stream is cut at each of
// its BIFF record boundaries and a Word document stream at each of its 512-byte
// pages (where the FKPs lie) and where each piece of its text begins and ends, so
// the readers above the container see a stream that ends between two of their
// records. A child that dies of
// a signal, exits non-zero (a sanitizer report), outlives its CPU time or grows past
// 4 x the input size + 100 MB over what it started with is a failure; its input is
// written beside the test's working folder for replay.

#include "FuzzSweep.h"

#include "office/ole/CompoundFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

constexpr size_t kMaxCutsPerFile = 48;
constexpr size_t kMaxStreamCutsPerFile = 160;
constexpr int kChangesPerFile = 120;
constexpr rlim_t kCpuSeconds = 20;
constexpr std::uint64_t kMemoryAllowance = 100ull << 20;
#if defined(__SANITIZE_ADDRESS__)
// ASan keeps freed blocks in a quarantine of up to 256 MB before reusing them.
constexpr std::uint64_t kSanitizerAllowance = 256ull << 20;
#else
constexpr std::uint64_t kSanitizerAllowance = 0;
#endif

std::uint64_t residentBytes(pid_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * std::uint64_t(::sysconf(_SC_PAGESIZE));
}

bool isCompoundFile(const Bytes &bytes) {
    static const unsigned char magic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), magic, 8) == 0;
}

// At most `limit` of the points, spread evenly over them.
void sample(std::vector<size_t> &points, size_t limit) {
    if (points.size() <= limit) return;
    std::vector<size_t> sampled;
    for (size_t i = 0; i < limit; ++i) sampled.push_back(points[i * points.size() / limit]);
    points.swap(sampled);
}

// Where each BIFF record of a workbook stream ends (header: id u16, body size u16).
std::vector<size_t> biffRecordEnds(const QByteArray &stream) {
    std::vector<size_t> ends;
    const auto *d = reinterpret_cast<const unsigned char *>(stream.constData());
    size_t at = 0;
    while (at + 4 <= size_t(stream.size())) {
        at += 4 + size_t(d[at + 2] | d[at + 3] << 8);
        if (at < size_t(stream.size())) ends.push_back(at);
    }
    return ends;
}

// Where each piece of a Word document's text begins and ends in its WordDocument
// stream, from the piece table in the table stream (the FIB's fcClx/lcbClx); empty
// when the file does not say so plainly.
std::vector<size_t> pieceBounds(const office::ole::CompoundFile &file, const QByteArray &word) {
    const auto u8At = [](const QByteArray &b, qint64 at) -> qint64 {
        return at >= 0 && at < b.size() ? qint64(static_cast<unsigned char>(b[at])) : -1;
    };
    const auto u16At = [&](const QByteArray &b, qint64 at) -> qint64 {
        const qint64 lo = u8At(b, at), hi = u8At(b, at + 1);
        return lo < 0 || hi < 0 ? -1 : lo | hi << 8;
    };
    const auto u32At = [&](const QByteArray &b, qint64 at) -> qint64 {
        const qint64 lo = u16At(b, at), hi = u16At(b, at + 2);
        return lo < 0 || hi < 0 ? -1 : lo | hi << 16;
    };
    std::vector<size_t> bounds;
    const qint64 flags = u16At(word, 0x0A);
    qint64 at = 0x20;
    const qint64 csw = u16At(word, at);
    at += 2 + 2 * csw;
    const qint64 cslw = u16At(word, at);
    at += 2 + 4 * cslw + 2;
    const qint64 fcClx = u32At(word, at + 8 * 33), lcbClx = u32At(word, at + 8 * 33 + 4);
    const office::ole::Entry *tableEntry = file.find(flags & 0x0200 ? QStringLiteral("1Table") : QStringLiteral("0Table"));
    if (flags < 0 || csw < 0 || cslw < 0 || fcClx < 0 || lcbClx <= 0 || !tableEntry) return bounds;
    const QByteArray &table = tableEntry->data;
    at = fcClx;
    while (u8At(table, at) == 0x01) at += 3 + u16At(table, at + 1);  // property lists before the pieces
    if (u8At(table, at) != 0x02) return bounds;
    const qint64 lcb = u32At(table, at + 1), plc = at + 5;
    const qint64 pieces = lcb >= 4 ? (lcb - 4) / 12 : 0;
    for (qint64 i = 0; i < pieces; ++i) {
        const qint64 cpStart = u32At(table, plc + 4 * i), cpEnd = u32At(table, plc + 4 * (i + 1));
        const qint64 fc = u32At(table, plc + 4 * (pieces + 1) + 8 * i + 2);
        if (cpStart < 0 || cpEnd < cpStart || fc < 0) break;
        const bool compressed = fc & 0x40000000;
        const qint64 start = compressed ? (fc & 0x3FFFFFFF) / 2 : fc;
        for (const qint64 bound : {start, start + (cpEnd - cpStart) * (compressed ? 1 : 2)})
            if (bound > 0 && bound < word.size()) bounds.push_back(size_t(bound));
    }
    return bounds;
}

/// A stream of a compound file cut short, the rest of the container as it was.
struct StreamCut {
    QString stream;
    size_t at = 0;
};

std::vector<StreamCut> streamCuts(const office::ole::CompoundFile &file) {
    std::vector<StreamCut> cuts;
    for (const office::ole::Entry &entry : file.entries()) {
        if (entry.isStorage) continue;
        std::vector<size_t> points;
        if (entry.path.compare(QLatin1String("Workbook"), Qt::CaseInsensitive) == 0 ||
            entry.path.compare(QLatin1String("Book"), Qt::CaseInsensitive) == 0)
            points = biffRecordEnds(entry.data);
        else if (entry.path.compare(QLatin1String("WordDocument"), Qt::CaseInsensitive) == 0) {
            for (size_t at = 512; at < size_t(entry.data.size()); at += 512) points.push_back(at);
            const std::vector<size_t> pieces = pieceBounds(file, entry.data);
            points.insert(points.end(), pieces.begin(), pieces.end());
            std::sort(points.begin(), points.end());
            points.erase(std::unique(points.begin(), points.end()), points.end());
        }
        sample(points, kMaxStreamCutsPerFile);
        for (const size_t at : points) cuts.push_back({entry.path, at});
    }
    return cuts;
}

Bytes withStreamCut(office::ole::CompoundFile file, const StreamCut &cut) {
    office::ole::Entry *entry = file.find(cut.stream);
    entry->data.truncate(qsizetype(cut.at));
    QByteArray image;
    if (!file.writeBytes(image).ok) return {};
    return Bytes(image.begin(), image.end());
}

std::vector<size_t> cutPoints(const Bytes &bytes) {
    std::vector<size_t> cuts;
    if (isCompoundFile(bytes)) {
        for (size_t at = 512; at < bytes.size(); at += 512) cuts.push_back(at);
    } else {
        for (size_t at = 1; at < bytes.size(); ++at)
            if (bytes[at] == '{' || bytes[at] == '}') cuts.push_back(at);
    }
    cuts.push_back(0);
    sample(cuts, kMaxCutsPerFile);
    return cuts;
}

struct Sweep {
    int tried = 0;
    int failed = 0;

    void keepFailure(const Bytes &input, const std::string &what) {
        const std::string name = "sweep-failure-" + std::to_string(failed) + ".bin";
        std::ofstream(name, std::ios::binary).write(input.data(), std::streamsize(input.size()));
        std::fprintf(stderr, "FAILED %s (input kept as %s)\n", what.c_str(), name.c_str());
        ++failed;
    }

    void run(const Bytes &input, const std::string &what) {
        ++tried;
        // The child starts with the parent's pages, which grow as variants are built.
        const std::uint64_t parentResident = residentBytes(::getpid());
        const pid_t pid = ::fork();
        if (pid == 0) {
            const rlimit cpu{kCpuSeconds, kCpuSeconds};
            ::setrlimit(RLIMIT_CPU, &cpu);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.data()), input.size());
            ::_exit(0);
        }
        const std::uint64_t bound = parentResident + 4 * input.size() + kMemoryAllowance + kSanitizerAllowance;
        int status = 0;
        while (true) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) break;
            if (residentBytes(pid) > bound) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                keepFailure(input, what + ": more than 4 x size + 100 MB of memory");
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (WIFSIGNALED(status))
            keepFailure(input, what + ": " + (WTERMSIG(status) == SIGXCPU ? "hang (CPU limit)" : "signal " +
                                                                                  std::to_string(WTERMSIG(status))));
        else if (WEXITSTATUS(status) != 0)
            keepFailure(input, what + ": exit status " + std::to_string(WEXITSTATUS(status)));
    }

    void sweepFile(const fs::path &file) {
        std::ifstream in(file, std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.empty()) return;
        for (const size_t cut : cutPoints(bytes))
            run(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut)),
                file.filename().string() + " cut at " + std::to_string(cut));
        office::ole::CompoundFile container;
        if (isCompoundFile(bytes) &&
            office::ole::CompoundFile::readBytes(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())),
                                                 container)
                .ok) {
            for (const StreamCut &cut : streamCuts(container)) {
                const Bytes variant = withStreamCut(container, cut);
                if (!variant.empty())
                    run(variant, file.filename().string() + " stream " + cut.stream.toStdString() + " cut at " +
                                     std::to_string(cut.at));
            }
        }
        // Changes favour bytes that steer a reader: braces, backslashes, digits, the ends of a range.
        static const char steering[] = {'{', '}', '\\', '0', '9', '\0', '\x7f', '\x80', '\xff', ' '};
        std::mt19937 random(std::uint32_t(bytes.size()));
        for (int n = 0; n < kChangesPerFile; ++n) {
            Bytes changed = bytes;
            const size_t at = random() % changed.size();
            changed[at] = random() % 2 ? steering[random() % sizeof steering] : char(random());
            run(changed, file.filename().string() + " byte " + std::to_string(at) + " changed");
        }
    }
};

}  // namespace

int runFuzzSweep(int argc, char **argv) {
    Sweep sweep;
    for (int i = 0; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code ec;
        std::vector<fs::path> files;
        if (fs::is_directory(arg, ec)) {
            for (const auto &entry : fs::directory_iterator(arg, ec))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else if (fs::is_regular_file(arg, ec)) {
            files.push_back(arg);
        }
        std::sort(files.begin(), files.end());
        for (const auto &f : files) sweep.sweepFile(f);
    }
    std::printf("sweep: %d inputs tried, %d failed\n", sweep.tried, sweep.failed);
    return sweep.failed == 0 ? 0 : 1;
}
