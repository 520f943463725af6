// Times joining copies of a tagged document and splitting the joined document.
// Usage: tool_bench TAGGED.rtf COUNT   COUNT copies of the document are joined in
// a fresh temporary folder, then the joined document is split in another; prints
// the cells, the seconds and CPU seconds of each step, the peak memory after the
// join and that of the whole process.

#include "tool/ToolRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

using namespace celltrove;

namespace {

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// User and system time of the process so far: on a shared machine the wall clock
// also counts the time other programs held the processors.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const int count = args.value(1).toInt();
    if (args.size() != 2 || count < 1) {
        out << "Usage: tool_bench TAGGED.rtf COUNT\n";
        return 2;
    }
    QFile tagged(args.at(0));
    if (!tagged.open(QIODevice::ReadOnly)) {
        out << args.at(0) << ": cannot read\n";
        return 1;
    }
    const QByteArray bytes = tagged.readAll();
    const qint64 cells = qint64(bytes.count("<!-- CellID: ")) * count;

    QTemporaryDir work;
    QTemporaryDir splitFolder;
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Text_%1.rtf").arg(i, 4, 10, QLatin1Char('0'));
        QFile copy(work.filePath(name));
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size()) return 1;
        files << name;
    }
    run::TextLookup texts;
    run::SettingsStore settings(work.filePath(QStringLiteral("settings.ini")));
    run::SilentRunUi ui;

    const double cpuAtStart = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    const run::RunOutcome joined = tool::RunCat(work.path(), QStringLiteral("joined.rtf"), files, texts, settings, ui);
    const double catSeconds = timer.nsecsElapsed() / 1e9;
    const double catCpu = cpuSeconds() - cpuAtStart;
    const long catPeak = peakResidentKiB();
    if (!QFile::rename(work.filePath(QStringLiteral("bindle/joined.rtf")),
                       splitFolder.filePath(QStringLiteral("joined.rtf"))))
        return 1;

    QStringList list = {QStringLiteral("joined.rtf")};
    timer.restart();
    const run::RunOutcome split = tool::RunSplit(splitFolder.path(), QString(), list, texts, settings, ui);
    const double splitSeconds = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuAtStart;

    out << "documents\tcells\tcat_s\tsplit_s\ttotal_s\tcat_cpu_s\tsplit_cpu_s\tcpu_s\tcat_peak_MiB\tpeak_rss_MiB\n";
    out << count << '\t' << cells << '\t' << QString::number(catSeconds, 'f', 3) << '\t'
        << QString::number(splitSeconds, 'f', 3) << '\t' << QString::number(catSeconds + splitSeconds, 'f', 3) << '\t'
        << QString::number(catCpu, 'f', 3) << '\t' << QString::number(cpu - catCpu, 'f', 3) << '\t'
        << QString::number(cpu, 'f', 3) << '\t' << QString::number(catPeak / 1024.0, 'f', 1) << '\t'
        << QString::number(peakResidentKiB() / 1024.0, 'f', 1)
        << (joined.runError || split.runError || list.size() != count + 1 ? "\tRUN ERROR" : "") << '\n';
    return 0;
}
