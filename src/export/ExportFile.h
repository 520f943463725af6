#pragma once

#include "export/ExportEngines.h"
#include "run/RunContext.h"

namespace celltrove::exporting {

/// Longest folder + file name the formats other than the tagged one accept (characters).
inline constexpr int kFormatExportPathLimit = 251;

/// The export of one selected file in the request's format: the tagged RTF
/// export for "Excel --> Word (*.RTF)" and the XLIFF export (table flag false); otherwise (table flag
/// true) the table form as RTF or DOC, or text or Unicode text, one file per
/// non-empty worksheet, or one HTML file for the workbook, beside it. Logs the
/// sheets and the file analysis; a refused or unwritable file sets the run
/// error flag. The workbook itself is never changed.
void ExportFile(run::RunContext &run, ExportEngines &engines, const QString &fullPath);

}  // namespace celltrove::exporting
