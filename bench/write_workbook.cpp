// Sets every non-empty cell of a workbook to a new text and saves it, printing the
// time of setting and saving and the peak resident memory.
//   bench_write_workbook IN.xls OUT.xls

#include "office/sheet/Workbook.h"

#include <QElapsedTimer>

#include <sys/resource.h>

#include <cstdio>

using office::sheet::Workbook;

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN.xls OUT.xls\n", argv[0]);
        return 2;
    }
    const QLocale locale(QLocale::German, QLocale::Germany);
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<Workbook> book;
    office::Status st = Workbook::open(QString::fromLocal8Bit(argv[1]), book);
    if (!st) {
        std::fprintf(stderr, "%s\n", qPrintable(st.message));
        return 1;
    }
    const double opened = double(timer.nsecsElapsed()) / 1e9;
    qint64 cells = 0;
    for (int n = 1; n <= book->worksheetCount(); ++n) {
        auto &sheet = *book->worksheet(n);
        std::vector<std::pair<int, int>> targets;
        for (const auto &cell : sheet.cells()) targets.emplace_back(cell.row(), cell.column());
        for (const auto &[row, column] : targets) {
            sheet.setValue(row, column, QStringLiteral("Übersetzung %1/%2").arg(row).arg(column), locale);
            ++cells;
        }
    }
    const double set = double(timer.nsecsElapsed()) / 1e9 - opened;
    st = book->saveAs(QString::fromLocal8Bit(argv[2]));
    if (!st) {
        std::fprintf(stderr, "%s\n", qPrintable(st.message));
        return 1;
    }
    const double total = double(timer.nsecsElapsed()) / 1e9;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("cells set       %lld\n", static_cast<long long>(cells));
    std::printf("open            %.3f s\n", opened);
    std::printf("set values      %.3f s\n", set);
    std::printf("save            %.3f s\n", total - opened - set);
    std::printf("total wall      %.3f s, CPU %.3f s\n", total,
                double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6);
    std::printf("peak memory     %.1f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
