#pragma once

#include "office/doc/Application.h"
#include "run/RunContext.h"

#include <QStringList>

#include <memory>

namespace celltrove::tool {

/// The state of one tool run, shared by the concatenation, the split and the
/// driver. The run context carries the log, the texts, the user interface and
/// the tool's error flag (`run.runError`), which every refused file sets.
struct ToolRunState {
    ToolRunState(run::RunContext &context, QStringList &files) : run(context), fileList(files) {}

    run::RunContext &run;
    /// The tool's file list ("lstFileListBox2"), in the user's order; the split
    /// appends the name of every part it writes.
    QStringList &fileList;
    /// The tool's own document engine, from StartToolWord to the end of the run.
    std::unique_ptr<office::doc::Application> word;
    /// The joined document being built; null outside CatBegin … CatEnd.
    office::doc::Document *joined = nullptr;
    /// Where the joined document is built in the working folder before it moves
    /// into "bindle": its own name, or a temporary name when a file of that name
    /// is already there (that file is the user's and is never overwritten).
    QString joinedWorkPath;
    /// Files inserted into the joined document (the list holds at most 32767).
    qint16 joinedFileCount = 0;
    /// Joined documents split to their end marker in this run.
    qint32 splitCount = 0;
    /// File name of the joined document being split.
    QString splitName;

    void setError() { run.runError = true; }
};

}  // namespace celltrove::tool
