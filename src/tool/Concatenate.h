#pragma once

#include "tool/ToolRunState.h"

#include <QString>

namespace celltrove::tool {

/// Creates the joined document in the tool's engine, saves it as `folder` +
/// `joinedName` (RTF), types its first three paragraphs and leaves the insertion
/// point at its end. `folder` ends with "/". When a file of the joined name is
/// already in the folder, the document is built under a temporary name beside
/// it instead, so that file is never lost.
void CatBegin(ToolRunState &state, const QString &folder, const QString &joinedName);

/// Checks one source file (path length, not the joined document itself, no tool
/// markers in its bytes) and, when it passes, appends its separator and its whole
/// content to the joined document. `position` (0-based) and `total` only feed the
/// progress bar. A refused or unreadable file is logged and sets the error flag;
/// the joined document then stays as it was.
void CatFile(ToolRunState &state, const QString &sourcePath, const QString &joinedName, int position, int total);

/// Styles the first two paragraphs as markers, appends the end marker, saves and
/// closes the joined document.
void CatEnd(ToolRunState &state);

/// Moves the joined document built in `folder` into `folder` + "bindle/" +
/// `joinedName`, replacing a file of that name there. A move that fails leaves the file where it is, with a log
/// line and the error flag.
void CatMove(ToolRunState &state, const QString &folder, const QString &joinedName);

/// Adds the character style "tw4winExternal" to the joined document unless it has one.
void EnsureExternalStyle(ToolRunState &state);

}  // namespace celltrove::tool
