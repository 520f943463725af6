#pragma once

#include "office/doc/Formats.h"
#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <vector>

namespace office::ole {
class CompoundFile;
}

namespace office::doc {

class Document;
class Story;
class Styles;

/// Writes a document as a Word 97-2003 file: an OLE2 compound file with the
/// WordDocument stream (FIB, the text in one piece, the character and paragraph
/// property pages, the section), the 1Table stream (style sheet, section table,
/// bin tables, font table, DOP, piece table), a Data stream for row definitions
/// too large for a property page, and the summary information.
///
/// The text is one piece of Windows-1252 bytes when every character has one,
/// else one piece of UTF-16. The output depends only on what the document holds,
/// so a document read back from it writes the same bytes again.
class DocWriter {
public:
    explicit DocWriter(const Document &document);
    DocWriter(const Styles &styles, const FormatTable<CharFormat> &charFormats,
              const FormatTable<ParaFormat> &paraFormats, const Story &story)
        : m_styles(styles), m_charFormats(charFormats), m_paraFormats(paraFormats), m_story(story) {}

    /// The compound file image.
    Status write(QByteArray &out);
    /// Writes the file atomically: a temporary file in the same folder, renamed
    /// over `path` only when complete.
    Status save(const QString &path);

private:
    Status build(ole::CompoundFile &file);
    void collectFonts();
    int fontIndex(const QString &name);
    const QByteArray &chpx(quint32 format);
    QByteArray papx(int mark, int rowStart, QByteArray &data);
    void writeText(QByteArray &stream, bool compressed) const;

    const Styles &m_styles;
    const FormatTable<CharFormat> &m_charFormats;
    const FormatTable<ParaFormat> &m_paraFormats;
    const Story &m_story;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    std::vector<QByteArray> m_chpx;  // by character format number
    std::vector<char> m_chpxKnown;
    std::vector<QByteArray> m_papx;  // by paragraph format number, for paragraphs that do not end a row
    std::vector<char> m_papxKnown;
    QList<int> m_columnWidths;  // of the table being written
};

}  // namespace office::doc
