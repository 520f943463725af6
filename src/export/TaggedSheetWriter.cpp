#include "export/TaggedSheetWriter.h"

#include "export/TaggedDocumentFormat.h"
#include "export/TaggedStyles.h"

namespace celltrove::exporting {

namespace {
constexpr int kSaveThreshold = 2 * TaggedSheetWriter::kCellsPerSave;
const QString kTwoMarks = QStringLiteral("\r\r");
}  // namespace

TaggedSheetWriter::TaggedSheetWriter(run::RunContext &run, int &writeCounter)
    : m_run(run), m_writeCounter(writeCounter) {}

office::Status TaggedSheetWriter::begin(const QString &path, const QString &productLabel,
                                        const QString &workbookFileName, int sheetIndex, const QString &sheetName) {
    m_document = std::make_unique<office::doc::StreamDocument>();
    office::Status status = m_document->saveAs(path);
    if (!status) return status;
    EnsureTaggedStyle(m_document->styles(), tagged::kExternalStyle);
    EnsureTaggedStyle(m_document->styles(), tagged::kInternalStyle);
    m_externalFormat = m_document->characterStyleFormat(tagged::kExternalStyle).value_or(0);

    // The header lines carry the external style, the fourth line's mark excepted.
    typeStructure(HeaderLine(productLabel) + u'\r');
    typeStructure(tagged::kWorkbookName + workbookFileName + u'\r');
    typeStructure(tagged::kSheetNumber + QString::number(sheetIndex) + u'\r');
    typeStructure(tagged::kSheetName + sheetName);
    m_document->typeText(kTwoMarks);
    return office::Status::success();
}

void TaggedSheetWriter::typeStructure(const QString &text) { m_document->typeText(text, m_externalFormat); }

void TaggedSheetWriter::writeComment(const QString &commentText) {
    m_run.counter().CountText(commentText, false, 1);
    typeStructure(tagged::kCommentOpen + kTwoMarks);
    m_document->typeText(commentText + kTwoMarks);
    typeStructure(tagged::kCommentClose + kTwoMarks);
}

void TaggedSheetWriter::WriteCellBlock(int row, int column, const QString &cellText) {
    m_run.counter().CountText(cellText, false, 1);
    ++m_cellsWritten;
    m_run.ui().Yield();
    // Both blocks are built in one reused buffer: this runs once per exported cell.
    m_block.resize(0);
    AppendCellMarker(m_block, row, column);
    m_block.append(kTwoMarks);
    typeStructure(m_block);
    m_block.resize(0);
    AppendCellParagraphText(m_block, cellText);
    m_block.append(kTwoMarks);
    m_document->typeText(m_block);

    if (++m_writeCounter < kSaveThreshold) return;
    m_run.ui().SetProcessText(m_run.T(QStringLiteral("speichern...")));
    // The file is written while the next cells are typed; a failure shows at the
    // next checkpoint or at the end.
    const office::Status status = m_document->save(office::doc::SaveTiming::Background);
    if (!status && m_checkpointStatus) m_checkpointStatus = status;
    m_writeCounter = 1;
}

office::Status TaggedSheetWriter::finish() {
    typeStructure(tagged::kTotalLine + QString::number(m_cellsWritten));
    office::Status status = m_document->save();
    // A failed checkpoint is the cause: every later save fails because the file lacks its part.
    if (!m_checkpointStatus) status = m_checkpointStatus;
    m_document.reset();
    return status;
}

void TaggedSheetWriter::abandon() { m_document.reset(); }

office::Status TaggedSheetWriter::waitForCheckpoint() {
    return m_document ? m_document->waitForSave() : office::Status::success();
}

}  // namespace celltrove::exporting
