#pragma once

#include "import/DocumentHeader.h"
#include "import/ImportEngines.h"
#include "import/ImportTarget.h"
#include "run/RunContext.h"

namespace celltrove::importing {

/// The table way of the import: copies the first table of the open document,
/// closes the document unsaved, pastes the table over the sheet its header
/// names from A1, turns every "<<lf>>" of the used cells back into a line feed,
/// counts the used cells and one table. Returns the workbook, written but not
/// saved, or an empty target when it was refused (logged).
ImportTarget ImportTable(run::RunContext &run, ImportEngines &engines, office::doc::Document *document,
                         const QString &folder, const DocumentHeader &header, const QString &documentPath);

}  // namespace celltrove::importing
