#pragma once

#include "import/ImportEngines.h"
#include "run/RunContext.h"

namespace celltrove::importing {

/// Brings a translated XLIFF file ("Text_<workbook>.xlf") back into the
/// workbooks its `<file>` elements name and saves them. The whole file is read
/// before anything is written: a file that does not parse is logged with line
/// and column, sets the run error flag and changes nothing. A unit whose target
/// differs from its source is written into its cell or comment; one without a
/// target or with its source as target leaves it alone and is counted in the
/// log. Unknown ids, workbooks and sheets are logged and set the run error flag.
void ImportXliffDocument(run::RunContext &run, ImportEngines &engines, const QString &path);

/// True for a path the XLIFF import takes (".xlf", any case).
bool IsXliffPath(const QString &path);

}  // namespace celltrove::importing
