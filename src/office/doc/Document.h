#pragma once

#include "office/doc/DocTypes.h"
#include "office/doc/Find.h"
#include "office/doc/Formats.h"
#include "office/doc/Range.h"
#include "office/doc/RtfSaveMark.h"
#include "office/doc/Selection.h"
#include "office/doc/Story.h"
#include "office/doc/Style.h"
#include "office/doc/Table.h"
#include "office/doc/TableLayout.h"
#include "office/ole/OfficeStatus.h"

#include <QString>

#include <optional>
#include <vector>

namespace office::doc {

class Application;

/// A document: its main story, style sheet, selection and file. Created and
/// owned by the Application's Documents; close() destroys it.
///
/// The story always ends with the final paragraph mark, which cannot be deleted.
class Document {
public:
    Document(Application *application, const QString &name);
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    Application *application() const { return m_application; }
    /// File name without folder ("Dokument1" for a new document never saved).
    QString name() const { return m_name; }
    /// Full path of the file, empty for a new document never saved.
    QString fullName() const { return m_path; }
    SaveFormat saveFormat() const { return m_format; }
    /// False after any change since the document was opened or saved.
    bool saved() const { return m_saved; }
    void setSaved(bool saved) { m_saved = saved; }

    Styles &styles() { return m_styles; }
    const Styles &styles() const { return m_styles; }
    Selection &selection() { return m_selection; }
    const Story &story() const { return m_story; }
    FormatTable<CharFormat> &charFormats() { return m_charFormats; }
    const FormatTable<CharFormat> &charFormats() const { return m_charFormats; }
    FormatTable<ParaFormat> &paraFormats() { return m_paraFormats; }
    const FormatTable<ParaFormat> &paraFormats() const { return m_paraFormats; }

    /// Range(start, end), clamped to the story.
    Range range(int start, int end);
    /// The whole story including the final paragraph mark.
    Range content();
    /// Number of paragraphs (each paragraph mark, cell mark and row-end mark ends one).
    int paragraphCount() const;
    /// Paragraph n (1-based) including its mark; an empty range at the end when n is too large.
    Range paragraphs(int n);
    /// Word n (1-based): a run of letters and digits, or one other character, with the blanks after it.
    Range words(int n);
    /// The document's tables in story order.
    Tables tables();
    /// Table layout of the story, rebuilt only after a change.
    const std::vector<TableSpan> &tableLayout() const;

    /// Writes the document to its file. A document that only grew at its end since
    /// its last RTF save appends to the file instead of writing it again.
    Status save();
    /// Writes the document under a new path and format (6 RTF, 0 Word 97-2003 document).
    Status saveAs(const QString &path, SaveFormat format);
    /// Closes the document without saving and destroys it: the pointer is dangling afterwards.
    void close();

    // --- Editing, used by Selection, Range and Find -------------------------------------------

    /// Replaces [start, end) with text (line feeds become paragraph marks, character 7
    /// is dropped). The new text takes charFormat when given, else the format at the
    /// insertion point. Returns the position just behind the new text.
    int replace(int start, int end, const QString &text, std::optional<quint32> charFormat = std::nullopt);
    /// Removes [start, end) but keeps the final paragraph mark and the marks of table
    /// rows that are only partly covered. Returns the number of characters removed.
    int remove(int start, int end);
    /// Inserts characters with their formats as they are (tables included); returns the end.
    int insertFormatted(int pos, const QString &text, const std::vector<quint32> &charFormats,
                        const std::vector<quint16> &paraFormats);
    /// Gives every character of [start, end) the format that edit makes of its own.
    template <typename Edit>
    void editCharFormat(int start, int end, Edit edit) {
        start = std::max(start, 0);
        end = std::min(end, m_story.length());
        // Neighbouring characters mostly share a format: edit each format number once.
        quint32 from = 0, to = 0;
        bool known = false;
        for (int p = start; p < end; ++p) {
            const quint32 current = m_story.charFormatAt(p);
            if (!known || current != from) {
                CharFormat f = m_charFormats.at(current);
                edit(f);
                from = current;
                to = m_charFormats.id(f);
                known = true;
            }
            m_story.setCharFormat(p, to);
        }
        if (start < end) m_saved = false;
    }
    /// Sets the paragraph style of every paragraph that [start, end) touches.
    void setParagraphStyle(int start, int end, int styleIndex);
    /// Sets or clears the automatic widths of every row of a table.
    void setTableAutoFit(int tableIndex, bool autoFit);
    /// Inserts a document's story (without its final paragraph mark) at pos, adding
    /// the styles it uses that this document lacks. Returns the end of the insert.
    int insertDocument(int pos, const Document &source);
    /// The same for the stretch [from, to) of the source's story (clamped to the
    /// text before its final paragraph mark).
    int insertDocument(int pos, const Document &source, int from, int to);
    /// Format number of text typed at pos: that of the character before it within
    /// the paragraph, else that of the character at pos.
    quint32 charFormatForInsert(int pos) const;

    /// Loads a story and style sheet built by a reader, replacing everything.
    /// Used by the readers only.
    void markLoaded(const QString &path, SaveFormat format);
    Story &mutableStory() { return m_story; }

private:
    int normalizeInsertPos(int pos) const;
    quint16 paraFormatForInsert(int pos) const;
    Status writeRtf();
    Status writeDoc();

    Application *m_application;
    QString m_name;
    QString m_path;
    SaveFormat m_format = SaveFormat::Rtf;
    bool m_saved = true;
    Styles m_styles;
    FormatTable<CharFormat> m_charFormats;
    FormatTable<ParaFormat> m_paraFormats;
    Story m_story;
    Selection m_selection;
    RtfSaveMark m_saveMark;
    mutable std::vector<TableSpan> m_tableCache;
    mutable quint64 m_tableCacheRevision = ~quint64(0);
};

}  // namespace office::doc
