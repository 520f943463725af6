// Word 97-2003 files of the two export forms, written and read back, with time
// and peak memory of each step. One step per process, so that each peak is its own:
//   doc_format_bench write table ROWS OUT   (ROWS x 10 table form; OUT.rtf and OUT.doc)
//   doc_format_bench write list PARAGRAPHS OUT   (tagged list form)
//   doc_format_bench read FILE.doc
// bench/doc_format_bench.sh runs them at two sizes next to soffice converting the RTF.

#include "office/doc/Application.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdio>

using namespace office::doc;

namespace {

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void addTaggedStyle(Document &doc, const QString &name, int colorIndex) {
    Style *style = doc.styles().add(name, StyleType::Character);
    style->font().setName(QStringLiteral("Courier New"));
    style->font().setColorIndex(colorIndex);
    style->setLanguageId(1024);
}

QString cellText(int row, int column) {
    return column % 3 == 0 ? QStringLiteral("Umsatz Q%1 Köln \u20AC %2").arg(column).arg(row * 17)
                           : QStringLiteral("Zeile %1 Spalte %2").arg(row).arg(column);
}

Document *tableForm(Application &app, office::CellGridClipboard &clipboard, int rows) {
    Document *doc = app.documents().add();
    addTaggedStyle(*doc, QStringLiteral("tw4winExternal"), 15);
    addTaggedStyle(*doc, QStringLiteral("tw4winInternal"), 6);
    doc->selection().typeText(QStringLiteral("<!-- ExcelsheetNr.: -->1\r\r"));
    QList<QStringList> grid;
    grid.reserve(rows);
    for (int r = 1; r <= rows; ++r) {
        QStringList row;
        for (int c = 1; c <= 10; ++c) row << cellText(r, c);
        grid << row;
    }
    clipboard.setGrid(grid);
    doc->selection().paste();
    doc->tables().item(1).autoFitBehavior(1);
    return doc;
}

Document *listForm(Application &app, int paragraphs) {
    Document *doc = app.documents().add();
    addTaggedStyle(*doc, QStringLiteral("tw4winExternal"), 15);
    addTaggedStyle(*doc, QStringLiteral("tw4winInternal"), 6);
    Selection &sel = doc->selection();
    for (int i = 0; i < paragraphs / 4; ++i) {
        sel.insertAfter(QStringLiteral("<!-- CellID: %1,%2-->\r\r").arg(i / 10 + 1).arg(i % 10 + 1));
        (void)sel.range().setStyle(QStringLiteral("tw4winExternal"));
        sel.moveRight(Unit::Character, 1);
        sel.typeText(cellText(i / 10 + 1, i % 10 + 1) + QStringLiteral("\r\r"));
        sel.moveRight(Unit::Character, 1);
    }
    return doc;
}

int write(const QString &form, int size, const QString &out) {
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    QElapsedTimer timer;
    timer.start();
    Document *doc = form == QLatin1String("table") ? tableForm(app, clipboard, size) : listForm(app, size);
    const double buildSeconds = timer.nsecsElapsed() / 1e9;
    if (!doc->saveAs(out + QStringLiteral(".rtf"), SaveFormat::Rtf).ok) return 1;
    const double peakBefore = peakMegabytes();
    timer.restart();
    const office::Status saved = doc->saveAs(out + QStringLiteral(".doc"), SaveFormat::Doc);
    const double writeSeconds = timer.nsecsElapsed() / 1e9;
    if (!saved) {
        std::fprintf(stderr, "%s\n", qPrintable(saved.message));
        return 1;
    }
    std::printf(
        "write %s %d: build %.3f s, doc write %.3f s, %lld bytes, %d characters, peak %.1f MB before the "
        "write, %.1f MB after\n",
        qPrintable(form), size, buildSeconds, writeSeconds,
        static_cast<long long>(QFileInfo(out + QStringLiteral(".doc")).size()), doc->story().length(), peakBefore,
        peakMegabytes());
    return 0;
}

int read(const QString &path) {
    Application app;
    const double peakBefore = peakMegabytes();
    QElapsedTimer timer;
    timer.start();
    office::Status status;
    Document *doc = app.documents().open(path, &status);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!doc) {
        std::fprintf(stderr, "%s\n", qPrintable(status.message));
        return 1;
    }
    std::printf("read %s: %.3f s, %lld bytes, %d paragraphs, %d tables, peak %.1f MB (%.1f MB before)\n",
                qPrintable(QFileInfo(path).fileName()), seconds, static_cast<long long>(QFileInfo(path).size()),
                doc->paragraphCount(), doc->tables().count(), peakMegabytes(), peakBefore);
    return 0;
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication qapp(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 4 && args[0] == QLatin1String("write")) return write(args[1], args[2].toInt(), args[3]);
    if (args.size() == 2 && args[0] == QLatin1String("read")) return read(args[1]);
    std::fprintf(stderr, "usage: doc_format_bench write table|list SIZE OUT | read FILE.doc\n");
    return 2;
}
