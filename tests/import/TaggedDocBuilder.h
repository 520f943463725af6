#pragma once

// Builds tagged documents through the document engine, paragraph by paragraph
// in the layout the export writes, so that single paragraphs can be changed
// the way a translator or a tool might change them.

#include "office/doc/Application.h"
#include "office/doc/Document.h"
#include "office/doc/DocTestHelpers.h"
#include "office/ole/CellGridClipboard.h"

#include <QString>

namespace importtest {

class TaggedDocBuilder {
public:
    TaggedDocBuilder(const QString &workbookName, const QString &sheetNumber, const QString &sheetName = QStringLiteral("Tabelle1")) {
        m_doc = m_word.documents().add();
        doctest::addTaggedStyles(*m_doc);
        structure(QStringLiteral("<!-- cellTrove für Excel 1.0 Build: 13 -->\r"));
        structure(QStringLiteral("<!-- Excel-Dateiname: -->") + workbookName + u'\r');
        structure(QStringLiteral("<!-- ExcelsheetNr.: -->") + sheetNumber + u'\r');
        structure(QStringLiteral("<!-- ExcelsheetName: -->") + sheetName);
        plain(QStringLiteral("\r\r"));
    }

    /// A comment block; `text` as it stands between the brackets' paragraphs.
    TaggedDocBuilder &comment(const QString &text) {
        structure(QStringLiteral("<comm>\r\r"));
        plain(text + QStringLiteral("\r\r"));
        structure(QStringLiteral("</comm>\r\r"));
        return *this;
    }
    /// A cell block; a line feed in `text` becomes a manual line break.
    TaggedDocBuilder &cell(int row, int column, const QString &text) {
        return marker(QStringLiteral("%1,%2").arg(row).arg(column)).text(QString(text).replace(u'\n', QChar(11)) +
                                                                         QStringLiteral("\r\r"));
    }
    TaggedDocBuilder &marker(const QString &identifier) {
        structure(QStringLiteral("<!-- CellID: ") + identifier + QStringLiteral("-->\r\r"));
        return *this;
    }
    /// Paragraphs exactly as given, without style.
    TaggedDocBuilder &text(const QString &raw) {
        plain(raw);
        return *this;
    }
    TaggedDocBuilder &total(int count) {
        structure(QStringLiteral("<!-- CellIDs-Gesamt:>>") + QString::number(count));
        return *this;
    }
    /// A table pasted from a grid of cell texts.
    TaggedDocBuilder &table(const QList<QStringList> &grid) {
        m_clipboard.setGrid(grid);
        office::doc::Selection &s = m_doc->selection();
        s.endKey(office::doc::Unit::Story);
        s.paste();
        return *this;
    }
    /// Saves as RTF; false when the engine could not write it.
    bool saveAs(const QString &path) { return bool(m_doc->saveAs(path, office::doc::SaveFormat::Rtf)); }
    office::doc::Document &document() { return *m_doc; }

private:
    void structure(const QString &t) {
        office::doc::Selection &s = m_doc->selection();
        s.endKey(office::doc::Unit::Story);
        s.insertAfter(t);
        (void)s.range().setStyle(QStringLiteral("tw4winExternal"));
    }
    void plain(const QString &t) {
        office::doc::Selection &s = m_doc->selection();
        s.endKey(office::doc::Unit::Story);
        s.insertAfter(t);
    }

    office::CellGridClipboard m_clipboard;
    office::doc::Application m_word{&m_clipboard};
    office::doc::Document *m_doc = nullptr;
};

}  // namespace importtest
