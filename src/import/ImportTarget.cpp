#include "import/ImportTarget.h"

namespace celltrove::importing {

namespace {

// A name taken from the document decides which file is written: it must name
// a file in the document's own folder and nothing else. Without a separator,
// only "." and ".." themselves leave the folder.
bool isPlainFileName(const QString &name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

void refuse(run::RunContext &run, const QString &line) {
    run.WriteLog(line);
    run.runError = true;
}

}  // namespace

void TargetRefusal::report(run::RunContext &run) const {
    for (const QString &line : logLines) run.WriteLog(line);
    if (!message.isEmpty()) run.ui().ShowCritical(message, title);
    run.runError = true;
}

ImportTarget OpenImportTarget(run::RunContext &run, ImportEngines &engines, const QString &folder,
                              const DocumentHeader &header, const QString &documentPath) {
    TargetRefusal refusal;
    ImportTarget target = OpenImportTargetSilently(run, engines, folder, header, documentPath, refusal);
    if (!target) refusal.report(run);
    return target;
}

ImportTarget OpenImportTargetSilently(run::RunContext &run, ImportEngines &engines, const QString &folder,
                                      const DocumentHeader &header, const QString &documentPath,
                                      TargetRefusal &refusal) {
    ImportTarget target;
    if (!header.workbookMarkerFound || !isPlainFileName(header.workbookName)) {
        refusal.logLines << (run.T(QStringLiteral("Error: Ungültiger Name der Excel-Datei im Dokument: ")) + u'"' +
                        header.workbookName + QStringLiteral("\" ") + documentPath);
        return target;
    }
    target.workbookPath = folder + header.workbookName;
    run.ui().SetFileText(header.workbookName);

    office::Status status;
    std::unique_ptr<ImportWorkbook> book = engines.openWorkbook ? engines.openWorkbook(target.workbookPath, status)
                                                                : nullptr;
    if (!book) {
        const QString message = run.T(QStringLiteral("Kann Excel-Datei nicht öffnen: ")) + documentPath;
        refusal.logLines << message;
        if (!status.message.isEmpty()) refusal.logLines << target.workbookPath + QStringLiteral(": ") + status.message;
        refusal.message = message;
        refusal.title = run.T(QStringLiteral("Celltrove für Excel"));
        return target;
    }

    bool isNumber = false;
    const int index = header.sheetNumber.toInt(&isNumber);
    ImportSheet *sheet = header.sheetMarkerFound && isNumber ? book->worksheetByIndex(index) : nullptr;
    if (!sheet) {
        refusal.logLines << (run.T(QStringLiteral("Error: Keine Tabelle mit der Nummer im Dokument: ")) + u'"' +
                        header.sheetNumber + QStringLiteral("\" ") + target.workbookPath);
        return target;
    }
    run.ui().SetSheetText(sheet->name());
    target.book = std::move(book);
    target.sheet = sheet;
    return target;
}

void SaveImportTarget(run::RunContext &run, ImportTarget &target) {
    if (!target.book) return;
    const office::Status status = target.book->save();
    if (!status) {
        refuse(run, run.T(QStringLiteral("Error: Kann Excel-Datei nicht speichern: ")) + target.workbookPath +
                        QStringLiteral(" (") + status.message + u')');
    }
}

}  // namespace celltrove::importing
