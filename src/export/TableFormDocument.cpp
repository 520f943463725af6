#include "export/TableFormDocument.h"

#include "export/TaggedDocumentFormat.h"
#include "export/TaggedStyles.h"
#include "import/WordSearch.h"

#include <QFile>

namespace celltrove::exporting {

using office::Status;
using office::doc::Document;
using office::doc::SaveFormat;

namespace {

const QString kLineFeedTag = QStringLiteral("<<lf>>");

// The header paragraphs 1 to 5 of the tagged document, typed as the list form types them.
void typeHeader(run::RunContext &run, Document &document, const TableFormSheet &sheet) {
    office::doc::Selection &s = document.selection();
    s.typeText(HeaderLine(run.T(QStringLiteral("cellTrove für Excel "))) + u'\r');
    s.typeText(tagged::kWorkbookName + sheet.workbookFileName + u'\r');
    s.typeText(tagged::kSheetNumber + QString::number(sheet.sheetIndex) + u'\r');
    s.typeText(tagged::kSheetName + sheet.sheetName + QStringLiteral("\r\r"));
}

// Paragraphs 1 to 4 without the fourth paragraph mark.
void styleHeader(Document &document) {
    const int end = document.paragraphs(4).end() - 1;
    (void)document.range(document.paragraphs(1).start(), end).setStyle(tagged::kExternalStyle);
}

// The RTF form's replacements; then the widths the contents gave are fixed. (A word
// processor is told so only after saving, closing and reopening the file; this
// engine holds the same document still open, which spares writing and reading it twice.)
void finishRtfForm(run::RunContext &run, ExportEngines &engines, Document &document) {
    importing::ReplaceAllAsInternal(engines.word, QString(QChar(tagged::kLineBreak)), kLineFeedTag, &run.ui());
    importing::ReplaceInFirstTable(document, QString(QChar(tagged::kParagraphMark)), kLineFeedTag);
    importing::ClearBlankTableCells(document, &run.ui());
    if (document.selection().goToTable(1)) document.selection().tables().item(1).setAllowAutoFit(false);
}

}  // namespace

Status WriteTableFormDocument(run::RunContext &run, ExportEngines &engines, const TableFormSheet &sheet) {
    Document *document = engines.word.documents().add();
    Status status = document->saveAs(sheet.path, SaveFormat::Rtf);
    if (!status) {
        document->close();
        return status;
    }
    EnsureTaggedStyle(document->styles(), tagged::kExternalStyle);
    EnsureTaggedStyle(document->styles(), tagged::kInternalStyle);
    typeHeader(run, *document, sheet);
    document->selection().paste();
    // The grid is in the table now; a large sheet's copy need not stay beside it.
    engines.clipboard.clear();
    run.ui().Yield();
    if (document->selection().goToTable(1)) document->selection().tables().item(1).autoFitBehavior(1);
    styleHeader(*document);

    if (sheet.wordDocument)
        status = document->saveAs(sheet.path, SaveFormat::Document);
    else
        finishRtfForm(run, engines, *document);
    if (status && !document->saved()) status = document->save();
    document->close();
    // What stands under the name now is RTF at best, not the format it promises.
    if (!status) QFile::remove(sheet.path);
    return status;
}

}  // namespace celltrove::exporting
