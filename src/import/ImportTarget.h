#pragma once

#include "import/DocumentHeader.h"
#include "import/ImportEngines.h"
#include "run/RunContext.h"

#include <QStringList>

#include <memory>

namespace celltrove::importing {

/// The workbook and worksheet a tagged document goes back into.
struct ImportTarget {
    std::unique_ptr<ImportWorkbook> book;
    ImportSheet *sheet = nullptr;
    QString workbookPath;

    explicit operator bool() const { return sheet != nullptr; }
};

/// Opens the workbook that `header` names in `folder` and finds its sheet.
/// Refuses, with a log line and the run error flag and without opening or
/// touching anything, a workbook name that is missing, empty or could address
/// a file outside the folder, and a sheet number that names no worksheet.
/// A workbook that cannot be opened is logged, shown as a critical message
/// and sets the run error flag. The result is empty on every refusal.
ImportTarget OpenImportTarget(run::RunContext &run, ImportEngines &engines, const QString &folder,
                              const DocumentHeader &header, const QString &documentPath);

/// What refusing a target tells the user: log lines, perhaps a critical
/// message; the run error flag is always set.
struct TargetRefusal {
    QStringList logLines;
    QString message;  ///< shown as a critical message unless empty
    QString title;
    /// Tells it now.
    void report(run::RunContext &run) const;
};

/// OpenImportTarget, but on refusal `refusal` gets what would be told and
/// nothing is logged, shown or flagged.
ImportTarget OpenImportTargetSilently(run::RunContext &run, ImportEngines &engines, const QString &folder,
                                      const DocumentHeader &header, const QString &documentPath,
                                      TargetRefusal &refusal);

/// Saves the target's workbook; a failure is logged and sets the run error flag.
void SaveImportTarget(run::RunContext &run, ImportTarget &target);

}  // namespace celltrove::importing
