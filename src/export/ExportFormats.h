#pragma once

#include "run/RunRequest.h"

#include <QString>

namespace celltrove::exporting {

/// What "SelectExportFormat" gives a format: the output extension and the
/// word processor's file format value (6 RTF, 0 Word document; 2 and 7 for the
/// text formats are not used; -1 for HTML, which leaves it unset).
struct OutputFormat {
    QString extension;
    int wordFileFormat = 6;
};

/// The output extension and word-processor format of `format`. The tables
/// format has no case of its own: it gets the default, ".rtf" and 6.
OutputFormat SelectExportFormat(run::ExportFormat format);

/// The output file name (no folder) of sheet `sheetIndex` (1-based among all
/// sheets) of the workbook `workbookFileName` (with its extension):
/// "Tab_a.xls-2.rtf", "Doc_a.xls-2.doc", "a.xls2.txt", "a.xls2-uni.txt", and
/// "a.xls.html" for the whole workbook. The tagged format's is TaggedFileName.
QString OutputFileName(run::ExportFormat format, const QString &workbookFileName, int sheetIndex);

}  // namespace celltrove::exporting
