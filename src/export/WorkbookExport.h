#pragma once

#include "run/RunContext.h"

namespace celltrove::exporting {

/// Longest folder + file name the tagged export accepts (characters).
inline constexpr int kTaggedExportPathLimit = 250;

/// Exports one workbook as tagged RTF documents, one per non-empty worksheet,
/// named "Text_<workbook>-<sheet index>.rtf" beside it. Writes the sheet lines
/// and the file analysis into the run log; a workbook that cannot be opened or
/// written, or whose path is too long, sets the run error flag. The workbook
/// itself is never changed.
void ExportWorkbook(run::RunContext &run, const QString &fullPath);

}  // namespace celltrove::exporting
