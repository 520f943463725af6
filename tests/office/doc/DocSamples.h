#pragma once

#include "DocTestHelpers.h"

#include "office/doc/Application.h"

#include <QList>
#include <QStringList>

namespace doctest {

/// Cell texts that stress a Word file: umlauts, CJK, emoji (surrogate pairs),
/// line breaks, empty and long cells.
inline QList<QStringList> mixedGrid() {
    return {
        {QStringLiteral("Name"), QStringLiteral("Wert"), QStringLiteral("Anmerkung")},
        {QStringLiteral("Grüße aus Köln"), QStringLiteral("\u65E5\u672C\u8A9E"), QString()},
        {QStringLiteral("zwei\nZeilen"), QStringLiteral("\U0001F600 Emoji"), QStringLiteral("€ 1.234,50")},
        {QString(), QStringLiteral("x").repeated(600), QStringLiteral("Ende")},
    };
}

/// A tagged list document as the export types it, with the two character styles.
inline office::doc::Document *taggedDocument(office::doc::Application &app, const QList<QStringList> &cells) {
    using namespace office::doc;
    Document *doc = app.documents().add();
    addTaggedStyles(*doc);
    Selection &sel = doc->selection();
    sel.typeText(QStringLiteral("<!-- cellTrove für Excel 1.0 Build: 13 -->\r<!-- ExcelsheetName: -->Übersicht\r\r"));
    (void)doc->range(0, doc->paragraphs(2).end() - 1).setStyle(QStringLiteral("tw4winExternal"));
    for (int r = 0; r < cells.size(); ++r)
        for (int c = 0; c < cells[r].size(); ++c)
            if (!cells[r][c].isEmpty()) typeCellBlock(sel, r + 1, c + 1, cells[r][c]);
    sel.insertAfter(QStringLiteral("<!-- CellIDs-Gesamt:>>3"));
    (void)sel.range().setStyle(QStringLiteral("tw4winExternal"));
    return doc;
}

/// A table form: a header paragraph and the grid pasted as a table.
inline office::doc::Document *tableDocument(office::doc::Application &app, const QList<QStringList> &grid,
                                            bool autoFit = true) {
    using namespace office::doc;
    Document *doc = app.documents().add();
    addTaggedStyles(*doc);
    doc->selection().typeText(QStringLiteral("<!-- ExcelsheetNr.: -->1\r\r"));
    (void)doc->range(0, 23).setStyle(QStringLiteral("tw4winExternal"));
    app.clipboard()->setGrid(grid);
    doc->selection().paste();
    doc->tables().item(1).autoFitBehavior(autoFit ? 1 : 0);
    return doc;
}

}  // namespace doctest
