#include "office/doc/RtfStretchSave.h"

#include "office/doc/Document.h"
#include "office/doc/RtfFileSave.h"

#include <QFileInfo>

namespace office::doc {

Status RtfStretchSaver::save(const Document &source, int from, int to, const QString &path) {
    const Story &story = source.story();
    to = std::clamp(to, 0, story.length() - 1);
    from = std::clamp(from, 0, to);
    // Format tables of their own, numbered in the order the stretch uses them, as
    // inserting the stretch into a new document numbers them: the font and colour
    // tables then list what the stretch uses, nothing of the rest of the document.
    FormatTable<CharFormat> charFormats;
    FormatTable<ParaFormat> paraFormats;
    m_story.removeAll();
    m_story.insertMapped(
        0, story, from, to, [&](quint32 f) { return charFormats.id(source.charFormats().at(f)); },
        [&](quint16 f) { return quint16(std::min<quint32>(paraFormats.id(source.paraFormats().at(f)), 0xFFFF)); });
    m_story.insert(m_story.length(), QStringView(u"\r"), quint32(0), quint32(0));
    RtfSaveMark mark;
    return saveRtfFile(QFileInfo(path).absoluteFilePath(), {source.styles(), charFormats, paraFormats, m_story},
                       mark, RtfRewrite::Allowed);
}

}  // namespace office::doc
