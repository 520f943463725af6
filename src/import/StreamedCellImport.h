#pragma once

#include "import/ImportEngines.h"
#include "import/ImportTarget.h"
#include "office/doc/RtfTextStream.h"
#include "run/RunContext.h"

namespace celltrove::importing {

/// What the front-to-back cell import did with a document.
struct StreamedImport {
    enum Outcome {
        Imported,      ///< done: `target` as ImportCells would return it (empty when refused)
        NoCellMarker,  ///< the document holds no cell marker: nothing opened, nothing logged
        ReadWhole,     ///< not done: read the document whole; the run is as it was
    };
    Outcome outcome = ReadWhole;
    ImportTarget target;
};

/// The cell way for a tagged RTF document read front to back in pieces,
/// without building the document: the same cells, comments, log lines, counts
/// and flags as ImportCells on the whole document, for a document whose header
/// comes first and whose markers each find the next one further on (a tagged
/// export as it was written or translated). Anything else, a table, a Word
/// document or a file that cannot be read gives ReadWhole, with the workbook
/// it may have opened dropped unsaved and the run's counters, error flag and
/// log untouched. `folder` ends with "/". `stream` has been opened on the
/// document (it may have read ahead already); one that failed to open gives ReadWhole.
StreamedImport ImportCellsStreamed(run::RunContext &run, ImportEngines &engines, const QString &folder,
                                   const QString &documentPath, office::doc::RtfTextStream &stream);

}  // namespace celltrove::importing
