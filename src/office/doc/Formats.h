#pragma once

#include "office/doc/WordColor.h"

#include <QHash>
#include <QString>

#include <vector>

namespace office::doc {

/// Character formatting of one character: its character style and the direct
/// formatting laid over it. Every field has an "inherit" value, so a run that
/// carries only a style writes and reads back as only that style.
struct CharFormat {
    int style = -1;          ///< index into the document's Styles, -1 = no character style
    QString fontName;        ///< empty = inherit
    int halfPoints = 0;      ///< font size in half points, 0 = inherit
    qint8 bold = -1;         ///< -1 inherit, 0 off, 1 on
    qint8 italic = -1;
    qint8 underline = -1;
    int color = kColorAutomatic;  ///< 0x00BBGGRR, automatic = inherit
    int language = -1;            ///< LCID, -1 = inherit; 1024 = no proofing

    bool operator==(const CharFormat &) const = default;
};
size_t qHash(const CharFormat &f, size_t seed = 0);

/// Formatting carried by a paragraph mark (character 13) or a table mark (character 7).
struct ParaFormat {
    int style = 0;          ///< paragraph style index, 0 = Normal
    bool inTable = false;   ///< the paragraph lies in a table cell (always true for marks 7)
    bool rowEnd = false;    ///< a character 7 that ends a table row rather than a cell
    bool autoFit = false;   ///< on a row end: the row's column widths follow the contents

    bool operator==(const ParaFormat &) const = default;
};
size_t qHash(const ParaFormat &f, size_t seed = 0);

/// Interns formats so that the story stores one small number per character.
template <typename Format>
class FormatTable {
public:
    FormatTable() { id(Format{}); }
    /// The number of a format, adding it when new. Number 0 is the default format.
    quint32 id(const Format &f) {
        auto it = m_ids.constFind(f);
        if (it != m_ids.constEnd()) return *it;
        const quint32 n = quint32(m_formats.size());
        m_formats.push_back(f);
        m_ids.insert(f, n);
        return n;
    }
    const Format &at(quint32 id) const { return id < m_formats.size() ? m_formats[id] : m_formats[0]; }
    size_t size() const { return m_formats.size(); }

private:
    std::vector<Format> m_formats;
    QHash<Format, quint32> m_ids;
};

}  // namespace office::doc
