// Times the tagged export of workbooks end to end (open, scan, write, log).
// Usage: export_bench WORKBOOK.xls...   Each workbook is copied into a fresh
// temporary folder and exported there; prints cells, seconds and peak memory.

#include "export/ExportRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList files = QCoreApplication::arguments().mid(1);
    if (files.isEmpty()) {
        out << "Usage: export_bench WORKBOOK.xls...\n";
        return 2;
    }
    out << "workbook\tcells\tseconds\tcells/s\tpeak_rss_MiB\n";
    for (const QString &file : files) {
        QTemporaryDir dir;
        const QString name = QFileInfo(file).fileName();
        if (!QFile::copy(file, dir.filePath(name))) {
            out << name << "\tcannot copy\n";
            continue;
        }
        run::TextLookup texts;
        run::SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
        run::SilentRunUi ui;
        run::RunRequest request;
        request.folder = run::WithTrailingSeparator(dir.path());
        request.selectedFiles = {name};

        QElapsedTimer timer;
        timer.start();
        const exporting::RunOutcome outcome = exporting::RunExport(request, texts, settings, ui);
        const double seconds = timer.nsecsElapsed() / 1e9;

        // The run log's total block names the cells written.
        const QStringList log = QString::fromUtf8([&] {
                                    QFile f(outcome.logPath);
                                    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                                }()).split(QStringLiteral("\r\n"));
        const qsizetype at = log.indexOf(QStringLiteral("Zellen Gesamt:"));
        const double cells = at >= 0 && at + 1 < log.size() ? log.at(at + 1).trimmed().toDouble() : 0;
        out << name << '\t' << qint64(cells) << '\t' << QString::number(seconds, 'f', 3) << '\t'
            << qint64(seconds > 0 ? cells / seconds : 0) << '\t' << QString::number(peakResidentKiB() / 1024.0, 'f', 1)
            << (outcome.runError ? "\tRUN ERROR" : "") << '\n';
        out.flush();
    }
    return 0;
}
