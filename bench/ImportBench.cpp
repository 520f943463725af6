// Times the import of large tagged documents end to end (separator check,
// opening the RTF, reading every marker, writing every cell, the reports).
// Usage: import_bench make ROWS FILE.rtf writes a document of ROWS x 10 cells
// with the document engine; import_bench run FILE.rtf imports it into an
// in-memory workbook and prints seconds, cells written and peak memory.

#include "import/ImportRun.h"
#include "office/doc/Application.h"
#include "office/doc/Document.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

using namespace celltrove;

namespace {

constexpr int kColumns = 10;

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The workbook the cells go to: values in a hash, nothing on disk.
class MemorySheet : public importing::ImportSheet {
public:
    QString name() const override { return QStringLiteral("Tabelle1"); }
    QString cellText(int row, int column) const override { return m_cells.value(key(row, column)); }
    bool holdsFormula(int, int) const override { return false; }
    office::Status setCellText(int row, int column, const QString &text) override {
        m_cells.insert(key(row, column), text);
        return {};
    }
    int commentCount() const override { return 0; }
    office::Status setCommentText(int, const QString &) override { return {}; }
    void showAllColumnsAndLevels() override {}
    office::Status pasteGrid(int, int, const QList<QStringList> &) override { return {}; }
    void usedRange(int &rows, int &columns) const override { rows = columns = 1; }
    qsizetype size() const { return m_cells.size(); }

private:
    static qint64 key(int row, int column) { return qint64(row) << 16 | column; }
    QHash<qint64, QString> m_cells;
};

class MemoryWorkbook : public importing::ImportWorkbook {
public:
    explicit MemoryWorkbook(qsizetype *written) : m_written(written) {}
    importing::ImportSheet *worksheetByIndex(int index) override { return index == 1 ? &m_sheet : nullptr; }
    office::Status save() override {
        *m_written = m_sheet.size();
        return {};
    }

private:
    MemorySheet m_sheet;
    qsizetype *m_written;
};

bool writeTaggedDocument(const QString &path, int rows) {
    office::doc::Application word;
    office::doc::Document *doc = word.documents().add();
    office::doc::Selection &s = doc->selection();
    QString text = QStringLiteral("<!-- cellTrove für Excel 1.0 Build: 13 -->\r<!-- Excel-Dateiname: -->Mappe.xls\r"
                                  "<!-- ExcelsheetNr.: -->1\r<!-- ExcelsheetName: -->Tabelle1\r\r");
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= kColumns; ++column)
            text += QStringLiteral("<!-- CellID: %1,%2-->\r\rÜbersetzter Text der Zelle %1/%2\r\r").arg(row).arg(column);
        if (text.size() > (1 << 20)) {
            s.endKey(office::doc::Unit::Story);
            s.insertAfter(text);
            text.clear();
        }
    }
    text += QStringLiteral("<!-- CellIDs-Gesamt:>>%1").arg(qint64(rows) * kColumns);
    s.endKey(office::doc::Unit::Story);
    s.insertAfter(text);
    return bool(doc->saveAs(path, office::doc::SaveFormat::Rtf));
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 3 && args.at(0) == QLatin1String("make")) {
        if (writeTaggedDocument(args.at(2), args.at(1).toInt())) return 0;
        out << "cannot write " << args.at(2) << "\n";
        return 1;
    }
    if (args.size() != 2 || args.at(0) != QLatin1String("run")) {
        out << "Usage: import_bench make ROWS FILE.rtf | import_bench run FILE.rtf\n";
        return 2;
    }
    // The document goes into a fresh folder, where the run writes its log.
    QTemporaryDir dir;
    const QString name = QFileInfo(args.at(1)).fileName();
    if (!QFile::copy(args.at(1), dir.filePath(name))) {
        out << "cannot copy " << args.at(1) << "\n";
        return 1;
    }
    run::TextLookup texts;
    run::SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    run::SilentRunUi ui;
    run::RunRequest request;
    request.folder = run::WithTrailingSeparator(dir.path());
    request.selectedFiles = {name};
    request.fileTypeFilter = run::FileTypeFilter::Rtf;
    qsizetype written = 0;
    const auto opener = [&written](const QString &, office::Status &) -> std::unique_ptr<importing::ImportWorkbook> {
        return std::make_unique<MemoryWorkbook>(&written);
    };

    QElapsedTimer timer;
    timer.start();
    const importing::ImportOutcome outcome = importing::RunImport(request, texts, settings, ui, opener);
    const double seconds = timer.nsecsElapsed() / 1e9;
    out << "document_MiB\tseconds\tcells_written\tcells/s\tpeak_rss_MiB\n";
    out << QString::number(QFileInfo(dir.filePath(name)).size() / 1048576.0, 'f', 1) << '\t'
        << QString::number(seconds, 'f', 3) << '\t' << written << '\t' << qint64(seconds > 0 ? written / seconds : 0)
        << '\t' << QString::number(peakResidentKiB() / 1024.0, 'f', 1) << (outcome.runError ? "\tRUN ERROR" : "")
        << '\n';
    return outcome.runError ? 1 : 0;
}
