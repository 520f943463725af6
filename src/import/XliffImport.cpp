#include "import/XliffImport.h"

#include "import/ImportTarget.h"
#include "import/XliffReader.h"
#include "import/XliffVocabulary.h"
#include "run/PathLengthCheck.h"

namespace celltrove::importing {

namespace {

constexpr int kPathLimit = 251;

void refuse(run::RunContext &run, const QString &line) {
    run.WriteLog(line);
    run.runError = true;
}

// The workbooks of one XLIFF file: the one open now, saved before the next opens.
struct OpenBooks {
    ImportTarget target;
    QString workbookName;
    QStringList failedNames;  // refused once, not opened again for each sheet
};

void closeBook(run::RunContext &run, OpenBooks &books) {
    SaveImportTarget(run, books.target);
    books.target = ImportTarget{};
    books.workbookName.clear();
}

// The sheet a <file> names, opening its workbook when another one is open.
ImportSheet *sheetFor(run::RunContext &run, ImportEngines &engines, OpenBooks &books, const QString &folder,
                      const QString &workbookName, const QString &sheetNumber, const QString &path) {
    if (books.failedNames.contains(workbookName)) return nullptr;
    if (books.target.book && workbookName == books.workbookName) {
        bool isNumber = false;
        const int index = sheetNumber.toInt(&isNumber);
        ImportSheet *sheet = isNumber ? books.target.book->worksheetByIndex(index) : nullptr;
        if (!sheet)
            refuse(run, run.T(QStringLiteral("Error: Keine Tabelle mit der Nummer im Dokument: ")) + u'"' +
                            sheetNumber + QStringLiteral("\" ") + books.target.workbookPath);
        return sheet;
    }
    closeBook(run, books);
    DocumentHeader header;
    header.workbookName = workbookName;
    header.sheetNumber = sheetNumber;
    header.workbookMarkerFound = true;
    header.sheetMarkerFound = true;
    books.target = OpenImportTarget(run, engines, folder, header, path);
    if (books.target.book) books.workbookName = workbookName;
    // A workbook that could not be opened or whose name is refused is not tried again.
    if (!books.target.book) books.failedNames << workbookName;
    return books.target.sheet;
}

void importUnit(run::RunContext &run, ImportSheet &sheet, const XliffUnit &unit, int &unchanged,
                const QString &fileName) {
    const QString where = QStringLiteral(" (") + fileName + QStringLiteral(", ") + run.T(QStringLiteral("Zeile ")) +
                          QString::number(unit.line) + u')';
    if (unit.tooLong) {
        refuse(run, run.T(QStringLiteral("Error: Text zu lang: ")) + unit.id + where);
        return;
    }
    run.counter().CountText(unit.text, false, 1);
    const bool isComment = unit.id.startsWith(xliff::kCommentIdPrefix);
    int row = 0, column = 0;
    if (!xliff::ParseCellUnitId(QStringView(unit.id).mid(isComment ? xliff::kCommentIdPrefix.size() : 0), row,
                                column)) {
        refuse(run, run.T(QStringLiteral("Error: Unbekannte Einheit: ")) + unit.id + where);
        return;
    }
    const int comment = isComment ? sheet.commentIndexAt(row, column) : 0;
    if (isComment && comment == 0) {
        refuse(run, run.T(QStringLiteral("Error: Unbekannte Einheit: ")) + unit.id + where);
        return;
    }
    // A cell is written only with a new text, so a number or formula is never retyped for nothing.
    if (!unit.changed) {
        ++unchanged;
        return;
    }
    const office::Status status =
        isComment ? sheet.setCommentText(comment, unit.text) : sheet.setCellText(row, column, unit.text);
    if (!status)
        refuse(run, run.T(isComment ? QStringLiteral("Error: Kommentar nicht geschrieben: ")
                                    : QStringLiteral("Error: Zelle nicht geschrieben: ")) +
                        unit.id + QStringLiteral(" (") + status.message + u')');
}

}  // namespace

bool IsXliffPath(const QString &path) {
    return path.endsWith(QLatin1String(".xlf"), Qt::CaseInsensitive);
}

void ImportXliffDocument(run::RunContext &run, ImportEngines &engines, const QString &path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = path.left(slash + 1);
    const QString fileName = path.mid(slash + 1);
    if (!run::PathLengthCheck(run, folder, fileName, kPathLimit)) {
        run.runError = true;
        return;
    }
    run::RunUi &ui = run.ui();
    ui.SetProgressCaption(run.T(QStringLiteral("Celltrove für Excel")) + QStringLiteral(" - ") +
                          run.T(QStringLiteral("Importiere Texte...")));
    ui.ShowProgress(run::ProgressBar::Run, 1, run.selectedFileCount);
    ui.SetFileText(fileName + QStringLiteral(" -->"));
    ui.Yield();

    XliffDocument document;
    const office::Status read = ReadXliffFile(path, document);
    if (!read) {
        refuse(run, run.T(QStringLiteral("Error: XLIFF-Datei fehlerhaft: ")) + path + QStringLiteral(" (") +
                        read.message + u')');
        return;
    }
    run.tableFlag = false;

    OpenBooks books;
    for (const XliffFile &file : document.files) {
        // "workbook#index": the workbook's own name may hold a "#".
        const qsizetype hash = file.original.lastIndexOf(u'#');
        const QString workbookName = hash > 0 ? file.original.left(hash) : QString();
        const QString sheetNumber = hash > 0 ? file.original.mid(hash + 1) : QString();
        if (workbookName.isEmpty() || sheetNumber.isEmpty()) {
            refuse(run, run.T(QStringLiteral("Error: Ungültiger Name der Excel-Datei im Dokument: ")) + u'"' +
                            file.original + QStringLiteral("\" ") + path);
            continue;
        }
        ImportSheet *sheet = sheetFor(run, engines, books, folder, workbookName, sheetNumber, path);
        if (!sheet) continue;
        ui.SetSheetText(sheet->name());

        int unchanged = 0;
        int met = 0;
        const int total = std::max<int>(1, int(file.units.size()));
        for (const XliffUnit &unit : file.units) {
            ++met;
            ui.ShowProgress(run::ProgressBar::Sheet, met, total);
            ui.Yield();
            importUnit(run, *sheet, unit, unchanged, fileName);
        }
        run.WriteLog(QStringLiteral("-- ") + sheet->name() + QStringLiteral(" (") + sheetNumber +
                     QStringLiteral(") -- ") + QString::number(met) + run.T(QStringLiteral(" Zellen importiert")));
        if (unchanged > 0)
            run.WriteLog(run.T(QStringLiteral("   Unverändert (ohne Übersetzung): ")) + QString::number(unchanged));
        run.counter().CountText(QString(), true, 1);
    }

    for (const QString &line : run.report().FileReport(run.counter())) run.WriteLog(line);
    closeBook(run, books);
    ui.Yield();
}

}  // namespace celltrove::importing
