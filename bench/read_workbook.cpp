// Reads a workbook with the engine and every cell's value as text, a few times, and
// prints cells per second, megabytes per second and the peak resident memory.
//   bench_read_workbook FILE.xls [ROUNDS]

#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdio>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

using office::sheet::Workbook;

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE.xls [ROUNDS]\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const double megabytes = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    const QLocale locale(QLocale::German, QLocale::Germany);
    // Reading (open and every cell's value, what the reference readers do) and the
    // display texts the export makes of the values are timed apart.
    double best = 1e30, bestCpu = 1e30, firstCpu = 0, bestTextCpu = 1e30;
    qint64 cells = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuSeconds();
        std::unique_ptr<Workbook> book;
        const office::Status st = Workbook::open(path, book);
        if (!st) {
            std::fprintf(stderr, "%s\n", qPrintable(st.message));
            return 1;
        }
        cells = 0;
        qint64 characters = 0;
        for (int n = 1; n <= book->worksheetCount(); ++n) {
            const auto &sheet = *book->worksheet(n);
            for (const auto &cell : sheet.cells()) {
                const auto value = sheet.value(cell.row(), cell.column());
                if (value.isEmpty()) continue;
                characters += int(value.kind());
                ++cells;
            }
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        const double cpu = cpuSeconds() - cpuStart;
        if (round == 0) firstCpu = cpu;
        best = std::min(best, seconds);
        bestCpu = std::min(bestCpu, cpu);
        const double textStart = cpuSeconds();
        for (int n = 1; n <= book->worksheetCount(); ++n) {
            const auto &sheet = *book->worksheet(n);
            for (const auto &cell : sheet.cells())
                characters += office::sheet::valueToText(sheet.value(cell.row(), cell.column()), locale).size();
        }
        bestTextCpu = std::min(bestTextCpu, cpuSeconds() - textStart);
        if (characters < 0) return 3;  // keeps the work from being optimised away
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("file            %.2f MB\n", megabytes);
    std::printf("cells           %lld\n", static_cast<long long>(cells));
    std::printf("first round     %.3f s CPU\n", firstCpu);
    std::printf("best of %d      %.3f s wall, %.3f s CPU\n", rounds, best, bestCpu);
    std::printf("every value again as display text  %.3f s CPU (best round)\n", bestTextCpu);
    std::printf("cells/s         %.0f\n", double(cells) / best);
    std::printf("MB/s            %.1f\n", megabytes / best);
    std::printf("peak memory     %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
