#include "export/TaggedSheetWriter.h"

#include "export/TaggedDocumentFormat.h"
#include "export/TaggedStyles.h"

namespace celltrove::exporting {

using office::doc::MoveMode;
using office::doc::Unit;

namespace {
constexpr int kSaveThreshold = 2 * TaggedSheetWriter::kCellsPerSave;
const QString kTwoMarks = QStringLiteral("\r\r");
}  // namespace

TaggedSheetWriter::TaggedSheetWriter(run::RunContext &run, office::doc::Application &application, int &writeCounter)
    : m_run(run), m_application(application), m_writeCounter(writeCounter) {}

office::Status TaggedSheetWriter::begin(const QString &path, const QString &productLabel,
                                        const QString &workbookFileName, int sheetIndex, const QString &sheetName) {
    m_document = m_application.documents().add();
    if (!m_document) return office::Status::failure(QStringLiteral("no document"));
    office::Status status = m_document->saveAs(path, office::doc::SaveFormat::Rtf);
    if (!status) return status;
    EnsureTaggedStyle(*m_document, tagged::kExternalStyle);
    EnsureTaggedStyle(*m_document, tagged::kInternalStyle);

    office::doc::Selection &selection = m_document->selection();
    selection.typeText(HeaderLine(productLabel) + u'\r');
    selection.typeText(tagged::kWorkbookName + workbookFileName + u'\r');
    selection.typeText(tagged::kSheetNumber + QString::number(sheetIndex) + u'\r');
    selection.typeText(tagged::kSheetName + sheetName + kTwoMarks);
    // The header lines carry the external style, the fourth line's mark excepted.
    // Styled now rather than at the end, so every checkpoint save already shows it.
    m_document->range(m_document->paragraphs(1).start(), m_document->paragraphs(4).end()).select();
    selection.moveLeft(Unit::Character, 1, MoveMode::Extend);
    selection.range().setStyle(tagged::kExternalStyle);
    selection.endKey(Unit::Story);
    return office::Status::success();
}

void TaggedSheetWriter::insertStructure(const QString &text) {
    office::doc::Selection &selection = m_document->selection();
    selection.insertAfter(text);
    selection.range().setStyle(tagged::kExternalStyle);
    selection.moveRight(Unit::Character, 1);
}

void TaggedSheetWriter::typeContent(const QString &text) {
    office::doc::Selection &selection = m_document->selection();
    selection.typeText(text);
    selection.moveRight(Unit::Character, 1);
}

void TaggedSheetWriter::writeComment(const QString &commentText) {
    m_run.counter().CountText(commentText, false, 1);
    insertStructure(tagged::kCommentOpen + kTwoMarks);
    typeContent(commentText + kTwoMarks);
    insertStructure(tagged::kCommentClose + kTwoMarks);
}

void TaggedSheetWriter::WriteCellBlock(int row, int column, const QString &cellText) {
    m_run.counter().CountText(cellText, false, 1);
    ++m_cellsWritten;
    m_run.ui().Yield();
    insertStructure(CellMarker(row, column) + kTwoMarks);
    typeContent(CellParagraphText(cellText) + kTwoMarks);

    if (++m_writeCounter < kSaveThreshold) return;
    m_run.ui().SetProcessText(m_run.T(QStringLiteral("speichern...")));
    // The document only grew at its end since the last save, so this appends.
    const office::Status status = m_document->save();
    if (!status && m_checkpointStatus) m_checkpointStatus = status;
    m_document->selection().endKey(Unit::Story);
    m_writeCounter = 1;
}

office::Status TaggedSheetWriter::finish() {
    office::doc::Selection &selection = m_document->selection();
    selection.endKey(Unit::Story);
    selection.insertAfter(tagged::kTotalLine + QString::number(m_cellsWritten));
    selection.range().setStyle(tagged::kExternalStyle);
    office::Status status = m_document->save();
    if (status && !m_checkpointStatus) status = m_checkpointStatus;
    m_document->close();
    m_document = nullptr;
    return status;
}

void TaggedSheetWriter::abandon() {
    if (m_document) m_document->close();
    m_document = nullptr;
}

}  // namespace celltrove::exporting
