#pragma once

#include "office/doc/RtfBuffer.h"
#include "office/doc/RtfSaveMark.h"

#include <QByteArray>
#include <QHash>

#include <vector>

namespace office::doc {

class Document;
class Story;
class Styles;
struct CharFormat;
struct ParaFormat;
template <typename Format>
class FormatTable;

/// Writes a document as RTF the way Word writes it: \ansi\ansicpg1252, a font
/// table, a colour table whose first sixteen entries are the colour-index palette
/// (so \cf15 is grey 50 % and \cf6 red), a style sheet with character styles as
/// {\*\csN \additive ...}, runs carrying \csN together with the style's formatting,
/// \uN? for characters outside Windows-1252, \line, \tab, \par, and tables as
/// \trowd ... \cell ... \row. Each paragraph ends its own line of the file.
class RtfWriter {
public:
    explicit RtfWriter(const Document &document);
    /// A writer over the parts of a document: its style sheet, format tables and story.
    RtfWriter(const Styles &styles, const FormatTable<CharFormat> &charFormats,
              const FormatTable<ParaFormat> &paraFormats, const Story &story)
        : m_styles(styles), m_charFormats(charFormats), m_paraFormats(paraFormats), m_story(story) {}

    /// The whole file. The mark (when given) receives what an append needs.
    QByteArray write(RtfSaveMark *mark);
    /// The whole file written to `device` as it is made, a chunk at a time. False
    /// when a write to the device fell short.
    bool write(QIODevice &device, RtfSaveMark *mark);
    /// What replaces the file from mark.bodyEnd on, for a document that only grew
    /// behind mark.writtenEnd. False when the new text needs a font or colour the
    /// file's tables lack; then only a full write will do. finalMarkOffset gets the
    /// offset in `out` where the final paragraph mark's output starts.
    bool writeAppend(const RtfSaveMark &mark, QByteArray &out, qint64 *finalMarkOffset);

private:
    void buildTables();
    void writeWhole(RtfBuffer &out, RtfSaveMark *mark);
    void writeHeader(RtfBuffer &out) const;
    void writeStyleSheet(RtfBuffer &out) const;
    bool writeBody(int from, int to, RtfBuffer &out, qint64 *finalMarkOffset);
    template <typename Reader>
    bool writeBodyWith(const Reader &story, int from, int to, RtfBuffer &out, qint64 *finalMarkOffset);
    bool writeRowStart(int pos, RtfBuffer &out);
    bool writeCharProps(const CharFormat &f, RtfBuffer &out) const;
    const QByteArray &charProps(quint32 format, bool &ok);
    bool writeStyleProps(int styleIndex, RtfBuffer &out) const;
    void writeParagraphStart(const ParaFormat &pf, bool inTable, RtfBuffer &out) const;

    const Styles &m_styles;
    const FormatTable<CharFormat> &m_charFormats;
    const FormatTable<ParaFormat> &m_paraFormats;
    const Story &m_story;
    QHash<QString, int> m_fonts;
    QHash<int, int> m_colors;
    QList<QString> m_fontOrder;
    QList<int> m_colorOrder;
    struct CachedProps {
        QByteArray bytes;
        bool known = false;
        bool complete = true;  // false when a font or colour is missing from the tables
    };
    std::vector<CachedProps> m_charProps;  // by format number
    QString m_runText;  // the run being written, its storage reused
    // Column widths (twips) of the table being written, set at its first row.
    QList<int> m_columnWidths;
};

/// Appends text to RTF output: escapes \ { }, writes Windows-1252 characters as
/// \'hh and all others as \uN?.
void appendRtfText(RtfBuffer &out, QStringView text);

}  // namespace office::doc
