#pragma once

#include "import/DocumentHeader.h"
#include "import/ImportEngines.h"
#include "import/ImportTarget.h"
#include "run/RunContext.h"

#include <functional>

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

/// Where the lines a cell or comment write has for the run log go.
using LogLine = std::function<void(const QString &)>;

/// Writes one cell marker's text, as the document holds it between the
/// marker's paragraph and the next marker (paragraph marks trimmed from its
/// ends), into the cell `identifier` names, and counts it. Texts that stand
/// for an empty cell leave the cell alone; a bad identifier or a failed write
/// is logged and sets the run error flag.
void WriteMarkedCell(run::RunContext &run, ImportSheet &sheet, const QString &identifier, const QString &text,
                     const LogLine &log);

/// Writes the text of the `index`-th comment block (1-based) into the sheet's
/// comment of that number, and counts it.
void WriteCommentBlock(run::RunContext &run, ImportSheet &sheet, int index, const QString &text, const LogLine &log);

/// The cell a marker's identifier ("12,3") names, when it is one: row 1 … 65536,
/// column 1 … 256.
bool ParseCellIdentifier(const QString &identifier, int &row, int &column);

}  // namespace celltrove::importing
