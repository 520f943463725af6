#pragma once

#include "office/ole/OfficeStatus.h"

#include <QString>

namespace office::sheet {

class Workbook;

/// Text with the characters that are markup in HTML written as references:
/// & < > " and the control characters other than tab, line feed and carriage return.
QString escapedHtmlText(QStringView text);

/// The workbook as one self-contained HTML5 page (SaveAs xlHtml), titled `title`:
/// one `<table>` per worksheet in sheet order, each headed by an `<h2>` with the
/// sheet name, over the rectangle from A1 to the lowest filled row and rightmost
/// filled column. Each cell holds its text() escaped; merged areas span with
/// colspan and rowspan; bold, italic, underline, font colour and horizontal
/// alignment come from the cell's format, numbers under General alignment lean
/// right; hidden rows, columns and sheets are written with the `hidden` attribute.
QString workbookHtml(const Workbook &book, const QString &title);

/// Writes workbookHtml() to `path` as UTF-8, atomically.
Status saveWorkbookAsHtml(const Workbook &book, const QString &path, const QString &title);

}  // namespace office::sheet
