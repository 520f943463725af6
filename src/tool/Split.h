#pragma once

#include "tool/ToolRunState.h"

#include <QString>

namespace celltrove::tool {

/// Cuts the joined document at `path` into one RTF file per separator, named
/// after the separator, in the joined document's folder, and appends each name
/// to the tool's file list. `total` only feeds the progress bar.
///
/// The parts are cut from a working copy held in memory; the joined document on
/// disk is never changed. A part name that would not be a plain file name of
/// that folder is refused with a log line and the error flag, and the split goes
/// on with the next part; a part that exists in the folder is replaced.
void SplitFile(ToolRunState &state, const QString &path, int total);

/// Whether the document of `selection` holds `text` (searched from the
/// selection on, continuing at the start; case as the find options say).
bool MarkerPresent(office::doc::Selection &selection, const QString &text);

/// Searches forward from the selection for `text`, continuing at the start, with
/// every other find option reset; the match becomes the selection.
bool FindNext(office::doc::Selection &selection, const QString &text);

/// Where a part that occupies [start, end) of the working copy begins once the
/// paragraph marks it starts with are left out: the split writes each part straight
/// from the working copy, so it leaves them out instead of deleting them from a
/// document of the part's own.
int TrimLeadingBreaks(const office::doc::Document &working, int start, int end);

}  // namespace celltrove::tool
