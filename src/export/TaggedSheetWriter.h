#pragma once

#include "office/doc/StreamDocument.h"
#include "office/ole/OfficeStatus.h"
#include "run/RunContext.h"

#include <memory>

namespace celltrove::exporting {

/// Writes the tagged document of one worksheet, typing at its end as a word
/// processor would, and saves it at every checkpoint of the periodic save. The
/// checkpoint saves run in the background while typing goes on; each is on disk
/// before the next begins. The document keeps only what was typed since the last
/// checkpoint, so a sheet of any size is written in little memory.
class TaggedSheetWriter {
public:
    /// Saved every this many written cells of a workbook.
    static constexpr int kCellsPerSave = 375;

    /// `writeCounter` is the workbook's counter of the periodic save; it goes
    /// up by 2 per written cell and the document is saved when it reaches 750.
    TaggedSheetWriter(run::RunContext &run, int &writeCounter);

    /// Creates the document at `path` (saved at once, so a failure shows before
    /// any cell is written), adds both character styles and types the header.
    office::Status begin(const QString &path, const QString &productLabel, const QString &workbookFileName,
                         int sheetIndex, const QString &sheetName);
    /// One comment block: "<comm>", the comment text, "</comm>".
    void writeComment(const QString &commentText);
    /// "WriteCellBlock": the marker of (row, column) and the cell text, counted,
    /// followed by the periodic save.
    void WriteCellBlock(int row, int column, const QString &cellText);
    /// Types the total line, saves and closes the document.
    office::Status finish();
    /// Closes the document without saving (after a failure).
    void abandon();
    /// Waits until the last checkpoint is on disk; its outcome.
    office::Status waitForCheckpoint();

    /// Cell markers written so far.
    int cellsWritten() const { return m_cellsWritten; }

private:
    // Types structure (markers, headers, brackets) in the external style.
    void typeStructure(const QString &text);

    run::RunContext &m_run;
    std::unique_ptr<office::doc::StreamDocument> m_document;
    quint32 m_externalFormat = 0;
    int &m_writeCounter;
    int m_cellsWritten = 0;
    office::Status m_checkpointStatus;
    QString m_block;  // the block being typed, its storage reused
};

}  // namespace celltrove::exporting
