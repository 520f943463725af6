#pragma once

#include "import/DocumentHeader.h"
#include "import/ImportEngines.h"
#include "import/ImportTarget.h"
#include "run/RunContext.h"

namespace celltrove::importing {

/// The cell way of the import: writes the translated texts of the open tagged
/// document `document` into the sheet its header names, the comments first
/// (the k-th comment block into the sheet's k-th comment), then every cell
/// marker's text into the cell it addresses. Reads the document through the
/// selection and find, by the markers' text alone; edits the document while
/// reading and closes it unsaved. `folder` ends with "/".
///
/// Returns the workbook, written but not saved, or an empty target when the
/// document has no cell marker (nothing logged, no workbook opened) or the
/// workbook was refused (logged).
ImportTarget ImportCells(run::RunContext &run, ImportEngines &engines, office::doc::Document *document,
                         const QString &folder, const DocumentHeader &header, const QString &documentPath);

/// The cell a marker's identifier ("12,3") names, when it is one: row 1 … 65536,
/// column 1 … 256.
bool ParseCellIdentifier(const QString &identifier, int &row, int &column);

}  // namespace celltrove::importing
