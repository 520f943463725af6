// Reads an RTF file's story as text front to back, as the import's reading thread
// does, and prints the best CPU time of several readings and the throughput: the
// import of a large tagged document waits for this reader.
// Usage: text_reader_bench FILE.rtf [READINGS]

#include "office/doc/RtfTextReader.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: text_reader_bench FILE.rtf [READINGS]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int readings = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    double best = 0;
    qint64 characters = 0;
    for (int n = 0; n < readings; ++n) {
        const double start = threadSeconds();
        office::doc::RtfTextReader reader;
        if (const office::Status opened = reader.open(path); !opened) {
            std::fprintf(stderr, "%s\n", qPrintable(opened.message));
            return 1;
        }
        QString piece;
        characters = 0;
        for (bool more = true; more;) {
            more = reader.readMore(piece, 256 * 1024);
            characters += piece.size();
            piece.truncate(0);
        }
        const double seconds = threadSeconds() - start;
        if (n == 0 || seconds < best) best = seconds;
    }
    const double megabytes = double(QFileInfo(path).size()) / (1 << 20);
    std::printf("characters\tcpu_s\tMiB_per_s\n%lld\t%.3f\t%.0f\n", static_cast<long long>(characters), best,
                megabytes / best);
    return 0;
}
