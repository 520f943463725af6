#include "office/doc/StreamDocument.h"

#include "office/doc/RtfFileSave.h"
#include "office/doc/TypedText.h"

#include <QFileInfo>

namespace office::doc {

StreamDocument::StreamDocument() {
    m_story.insert(0, QStringView(u"\r"), quint32(0), quint32(0));
    m_story.markClean();
}

std::optional<quint32> StreamDocument::characterStyleFormat(const QString &name) {
    const int index = m_styles.indexOf(name);
    const Style *style = m_styles.at(index);
    if (!style || style->type() != StyleType::Character) return std::nullopt;
    CharFormat format;
    format.style = index == Styles::kDefaultParagraphFont ? -1 : index;
    return m_charFormats.id(format);
}

void StreamDocument::typeText(QStringView text, quint32 charFormat) {
    // Nothing is ever typed into a table here, so every paragraph takes the final
    // mark's formatting, which is the default.
    const int end = m_story.length() - 1;
    if (!typingChanges(text)) {
        if (!text.isEmpty()) m_story.insert(end, text, charFormat, 0);
        return;
    }
    const QString typed = normalizeTypedText(text.toString());
    if (!typed.isEmpty()) m_story.insert(end, typed, charFormat, 0);
}

Status StreamDocument::saveAs(const QString &path) {
    if (path.isEmpty()) return Status::failure(QStringLiteral("No file name given."));
    if (m_released)
        return Status::failure(QStringLiteral("Cannot write %1: part of the document is only in %2.").arg(path, m_path));
    m_path = QFileInfo(path).absoluteFilePath();
    m_saveMark.valid = false;
    return save();
}

Status StreamDocument::save() {
    if (m_path.isEmpty()) return Status::failure(QStringLiteral("The document has no file name yet; use SaveAs."));
    const Status status = saveRtfFile(m_path, {m_styles, m_charFormats, m_paraFormats, m_story}, m_saveMark,
                                      m_released ? RtfRewrite::Refused : RtfRewrite::Allowed);
    if (status) releaseWrittenParagraphs();
    return status;
}

// Keeps the paragraph the final mark stands in: the next save goes on writing it
// from where this one stopped, which needs its start.
void StreamDocument::releaseWrittenParagraphs() {
    int keepFrom = m_saveMark.writtenEnd;
    while (keepFrom > 0 && m_story.at(keepFrom - 1) != kParagraphMark) --keepFrom;
    if (keepFrom == 0) return;
    m_story.remove(0, keepFrom);
    m_story.markClean();
    m_saveMark.writtenEnd -= keepFrom;
    m_released = true;
}

}  // namespace office::doc
