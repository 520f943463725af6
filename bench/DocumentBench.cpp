// Writes and reads tagged-style documents of 50,000 and 200,000 paragraphs and
// prints the time, throughput and peak memory of each step, so that linear
// growth can be checked (four times the paragraphs should take about four times
// as long). Usage: doc_bench [paragraphs...] [--keep FOLDER]

#include "office/doc/Application.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace office::doc;

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void addTaggedStyle(Document &doc, const QString &name, int colorIndex) {
    Style *style = doc.styles().add(name, StyleType::Character);
    style->font().setName(QStringLiteral("Courier New"));
    style->font().setColorIndex(colorIndex);
    style->setLanguageId(1024);
}

// One cell block as the export types it: marker, empty, text, empty (four paragraphs).
void typeCell(Selection &sel, int row, int column) {
    sel.insertAfter(QStringLiteral("<!-- CellID: %1,%2-->\r\r").arg(row).arg(column));
    (void)sel.range().setStyle(QStringLiteral("tw4winExternal"));
    sel.moveRight(Unit::Character, 1);
    sel.typeText(QStringLiteral("Umsatz Q%1 Köln \u20AC %2\r\r").arg(column).arg(row * 17));
    sel.moveRight(Unit::Character, 1);
}

struct Figures {
    double typeSeconds, saveSeconds, fullWriteSeconds, readSeconds;
    qint64 bytes;
};

Figures run(int paragraphs, const QString &folder) {
    const QString path = folder + QStringLiteral("/Text_bench.xls-1.rtf");
    Figures f{};
    Application app;
    Document *doc = app.documents().add();
    (void)doc->saveAs(path, SaveFormat::Rtf);
    addTaggedStyle(*doc, QStringLiteral("tw4winExternal"), 15);
    addTaggedStyle(*doc, QStringLiteral("tw4winInternal"), 6);
    QElapsedTimer timer;
    timer.start();
    qint64 saveNs = 0;
    Selection &sel = doc->selection();
    const int cells = paragraphs / 4;
    for (int i = 0; i < cells; ++i) {
        typeCell(sel, i / 10 + 1, i % 10 + 1);
        if ((i + 1) % 375 == 0) {  // the export's periodic save
            QElapsedTimer save;
            save.start();
            (void)doc->save();
            saveNs += save.nsecsElapsed();
        }
    }
    sel.insertAfter(QStringLiteral("<!-- CellIDs-Gesamt:>>%1").arg(cells));
    (void)sel.range().setStyle(QStringLiteral("tw4winExternal"));
    QElapsedTimer save;
    save.start();
    (void)doc->save();
    saveNs += save.nsecsElapsed();
    f.typeSeconds = (timer.nsecsElapsed() - saveNs) / 1e9;
    f.saveSeconds = saveNs / 1e9;
    f.bytes = QFileInfo(path).size();
    QElapsedTimer full;
    full.start();
    (void)doc->saveAs(folder + QStringLiteral("/full-write.rtf"), SaveFormat::Rtf);
    f.fullWriteSeconds = full.nsecsElapsed() / 1e9;
    doc->close();

    timer.restart();
    office::Status status;
    Document *read = app.documents().open(path, &status);
    f.readSeconds = timer.nsecsElapsed() / 1e9;
    if (!read) std::fprintf(stderr, "read failed: %s\n", qPrintable(status.message));
    return f;
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication qapp(argc, argv);
    QList<int> sizes;
    QString keep;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--keep") && i + 1 < args.size()) keep = args[++i];
        else sizes.append(args[i].toInt());
    }
    if (sizes.isEmpty()) sizes = {50000, 200000};
    QTemporaryDir temp;
    const QString folder = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(folder);
    // type: building the document through the selection; periodic: every save of the
    // export's rhythm (after each 375 cells) added up; write: one full SaveAs; read: Open.
    std::printf("%10s %10s %8s %10s %8s %10s %8s %10s %8s\n", "paragraphs", "bytes", "type s", "periodic s",
                "write s", "write MB/s", "read s", "read MB/s", "peak MB");
    for (int n : sizes) {
        const Figures f = run(n, folder);
        const double mb = f.bytes / 1e6;
        std::printf("%10d %10lld %8.3f %10.3f %8.3f %10.1f %8.3f %10.1f %8.1f\n", n, static_cast<long long>(f.bytes),
                    f.typeSeconds, f.saveSeconds, f.fullWriteSeconds, mb / f.fullWriteSeconds, f.readSeconds,
                    mb / f.readSeconds, peakKilobytes() / 1024.0);
    }
    return 0;
}
