#include "office/doc/StreamDocument.h"

#include "office/doc/TypedText.h"

#include <QFileInfo>

#include <new>

namespace office::doc {

StreamDocument::StreamDocument() {
    m_story.insert(0, QStringView(u"\r"), quint32(0), quint32(0));
    m_story.markClean();
}

StreamDocument::~StreamDocument() { m_job.wait(); }

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
    const Status pending = waitForSave();
    if (!pending) return pending;
    if (path.isEmpty()) return Status::failure(QStringLiteral("No file name given."));
    if (m_released)
        return Status::failure(QStringLiteral("Cannot write %1: part of the document is only in %2.").arg(path, m_path));
    m_path = QFileInfo(path).absoluteFilePath();
    m_saveMark.valid = false;
    return save();
}

Status StreamDocument::save(SaveTiming timing) {
    const Status pending = waitForSave();
    if (!pending) return pending;
    if (m_path.isEmpty()) return Status::failure(QStringLiteral("The document has no file name yet; use SaveAs."));
    if (timing == SaveTiming::Background) {
        startBackgroundSave();
        return Status::success();
    }
    const Status status = saveRtfFile(m_path, {m_styles, m_charFormats, m_paraFormats, m_story}, m_saveMark,
                                      m_released ? RtfRewrite::Refused : RtfRewrite::Allowed);
    if (status) releaseWrittenParagraphs();
    return status;
}

// The story goes to the background save as it is; typing goes on in the spare
// story, which starts with a copy of the final paragraph, the part the next save
// writes again.
void StreamDocument::startBackgroundSave() {
    BackgroundSave &b = m_background;
    const int keepFrom = finalParagraphStart();
    // The copies stay from one save to the next; both only ever grow.
    if (b.styles.revision() != m_styles.revision()) b.styles.copyFrom(m_styles);
    if (b.charFormats.size() != m_charFormats.size()) b.charFormats = m_charFormats;
    if (b.paraFormats.size() != m_paraFormats.size()) b.paraFormats = m_paraFormats;
    b.mark = m_saveMark;
    b.rewrite = m_released ? RtfRewrite::Refused : RtfRewrite::Allowed;
    b.keptFrom = keepFrom;
    std::swap(b.story, m_story);  // the previous save's story, which that save emptied
    m_story.append(b.story, keepFrom, b.story.length());
    m_story.markClean();
    if (keepFrom > 0) m_released = true;

    m_job.start([&b, path = m_path] {
        // An exception must not leave the thread: it would end the program.
        try {
            b.status = saveRtfFile(path, {b.styles, b.charFormats, b.paraFormats, b.story}, b.mark, b.rewrite);
        } catch (const std::bad_alloc &) {
            b.status = Status::failure(QStringLiteral("Cannot write %1: out of memory.").arg(path));
        }
        // The next save hands this story back for typing. Emptying it here rather than
        // on the typing thread took a tenth off a large export (measured).
        b.story.remove(0, b.story.length());
    });
}

Status StreamDocument::waitForSave() {
    if (!m_job.busy()) return Status::success();
    m_job.wait();
    const BackgroundSave &b = m_background;
    if (!b.status) {
        m_saveMark.valid = false;  // the file lacks that save's text: nothing may be appended to it
        return b.status;
    }
    m_saveMark = b.mark;
    m_saveMark.writtenEnd -= b.keptFrom;
    return b.status;
}

int StreamDocument::finalParagraphStart() const {
    int start = m_story.length() - 1;
    while (start > 0 && m_story.at(start - 1) != kParagraphMark) --start;
    return start;
}

// Keeps the paragraph the final mark stands in: the next save goes on writing it
// from where this one stopped (the final mark), which needs its start.
void StreamDocument::releaseWrittenParagraphs() {
    const int keepFrom = finalParagraphStart();
    if (keepFrom == 0) return;
    m_story.remove(0, keepFrom);
    m_story.markClean();
    m_saveMark.writtenEnd -= keepFrom;
    m_released = true;
}

}  // namespace office::doc
