#pragma once

#include "import/ImportEngines.h"
#include "run/RunContext.h"

namespace celltrove::importing {

/// Brings one translated tagged document back into the workbook it came from
/// and saves the workbook. Refuses, before anything is opened, a path longer
/// than 251 characters and a joined document that still holds the
/// concatenation tool's separators. A document with a table goes the table
/// way, any other the cell way. Ends with the file report.
void ImportDocument(run::RunContext &run, ImportEngines &engines, const QString &path);

}  // namespace celltrove::importing
