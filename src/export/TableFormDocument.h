#pragma once

#include "export/ExportEngines.h"
#include "office/ole/OfficeStatus.h"
#include "run/RunContext.h"

namespace celltrove::exporting {

/// One sheet's table-form document.
struct TableFormSheet {
    QString path;               ///< folder + "Tab_….rtf" or "Doc_….doc"
    bool wordDocument = false;  ///< true for the DOC form, saved in Word document format at the end
    QString workbookFileName;
    int sheetIndex = 1;
    QString sheetName;
};

/// Writes the table form of one sheet from the grid on the engines' clipboard:
/// the document is saved as RTF at once (so an unwritable path shows before any
/// work), gets both tagged character styles and the five header paragraphs, the
/// grid is pasted as a table fitted to its contents (the clipboard is emptied),
/// and the header is styled "tw4winExternal". The RTF form then turns line breaks
/// into "<<lf>>" in "tw4winInternal" and paragraph marks of the table into plain
/// "<<lf>>", empties cells holding one blank, fixes the fitted column widths and
/// is saved. The DOC form is saved again in Word document format under the same
/// name. A failure leaves no file of this name behind.
office::Status WriteTableFormDocument(run::RunContext &run, ExportEngines &engines, const TableFormSheet &sheet);

}  // namespace celltrove::exporting
