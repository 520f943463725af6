#pragma once

#include "office/doc/Application.h"
#include "office/doc/Document.h"

#include <QString>
#include <QStringList>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toUtf8().replace('\r', "\\r").replace('\x0b', "\\v").toStdString() << '"';
}

namespace doctest {

/// The paragraphs of a document as the text dump shows them, without numbers.
inline QStringList paragraphTexts(office::doc::Document &doc) {
    QString text = doc.content().text();
    if (text.endsWith(QChar(u'\r'))) text.chop(1);
    return text.split(QChar(u'\r'));
}

/// Adds the two tagged character styles as the export does.
inline void addTaggedStyles(office::doc::Document &doc) {
    using namespace office::doc;
    Style *external = doc.styles().add(QStringLiteral("tw4winExternal"), StyleType::Character);
    external->font().setName(QStringLiteral("Courier New"));
    external->font().setColorIndex(15);
    external->setLanguageId(1024);
    Style *internal = doc.styles().add(QStringLiteral("tw4winInternal"), StyleType::Character);
    internal->font().setName(QStringLiteral("Courier New"));
    internal->font().setColorIndex(6);
    internal->setLanguageId(1024);
}

/// Types one marker block and one cell text block as the export does.
inline void typeCellBlock(office::doc::Selection &sel, int row, int column, const QString &text) {
    using namespace office::doc;
    sel.insertAfter(QStringLiteral("<!-- CellID: %1,%2-->\r\r").arg(row).arg(column));
    (void)sel.range().setStyle(QStringLiteral("tw4winExternal"));
    sel.moveRight(Unit::Character, 1);
    QString cell = text;
    cell.replace(QChar(u'\n'), QChar(11));
    sel.typeText(cell + QStringLiteral("\r\r"));
    sel.moveRight(Unit::Character, 1);
}

}  // namespace doctest
