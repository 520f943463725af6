#pragma once

#include "run/RunOutcome.h"
#include "run/RunUi.h"
#include "run/SettingsStore.h"
#include "run/TextLookup.h"
#include "tool/ToolRunState.h"

#include <QStringList>

namespace celltrove::tool {

/// Most entries a tool run works on: the list is walked with a 16-bit index.
inline constexpr int kMaxToolFiles = 32767;

/// The log of a concatenation: folder + "bindle/" + joined name + ".log".
QString CatLogPath(const QString &folder, const QString &joinedName);
/// The log of a split: folder + "split" + the joined-name box's text + ".log".
QString SplitLogPath(const QString &folder, const QString &joinedName);

/// The tool's "Cat" button: joins the files of `fileList` (names in `folder`, in
/// list order) into `folder` + "bindle/" + `joinedName`, with the run log beside
/// it, and stores the folder as the most recent project. `fileList` ends without
/// repeated entries. `joinedName` is a plain file name ending in ".rtf".
run::RunOutcome RunCat(const QString &folder, const QString &joinedName, QStringList &fileList,
                       const run::TextLookup &texts, run::SettingsStore &settings, run::RunUi &ui);

/// The tool's "Split" button: splits every joined document of `fileList` into its
/// parts in `folder`, appending the part names to `fileList` (repeated entries
/// removed at the end), with the run log `SplitLogPath(folder, joinedName)`.
run::RunOutcome RunSplit(const QString &folder, const QString &joinedName, QStringList &fileList,
                         const run::TextLookup &texts, run::SettingsStore &settings, run::RunUi &ui);

/// The run itself, with the log open: walks the file list and concatenates
/// (`concatenate` true) or splits, then writes the summary and closes the log.
/// `folder` ends with "/". False when the list was empty and nothing ran.
bool BindleCmd(ToolRunState &state, bool concatenate, const QString &folder, const QString &joinedName);

/// Starts the tool's own document engine and logs its version; true when it runs.
bool StartToolWord(ToolRunState &state);

}  // namespace celltrove::tool
