#pragma once

#include <QString>

namespace celltrove::exporting {

/// Fixed texts of the tagged document; readers find cells and headers by them.
/// They are never translated.
namespace tagged {
inline const QString kHeaderStart = QStringLiteral("<!-- ");
inline const QString kWorkbookName = QStringLiteral("<!-- Excel-Dateiname: -->");
inline const QString kSheetNumber = QStringLiteral("<!-- ExcelsheetNr.: -->");
inline const QString kSheetName = QStringLiteral("<!-- ExcelsheetName: -->");
inline const QString kCellMarkerStart = QStringLiteral("<!-- CellID: ");
inline const QString kCellMarkerEnd = QStringLiteral("-->");
inline const QString kTotalLine = QStringLiteral("<!-- CellIDs-Gesamt:>>");
inline const QString kCommentOpen = QStringLiteral("<comm>");
inline const QString kCommentClose = QStringLiteral("</comm>");
/// Character style of structure: markers, headers, comment brackets, total line.
inline const QString kExternalStyle = QStringLiteral("tw4winExternal");
/// Character style of inline tags inside translatable text (table form).
inline const QString kInternalStyle = QStringLiteral("tw4winInternal");
/// Word's paragraph mark and manual line break.
inline constexpr char16_t kParagraphMark = u'\r';
inline constexpr char16_t kLineBreak = u'\v';
}  // namespace tagged

/// Appends "<!-- CellID: 12,3-->" for row 12, column 3 (1-based worksheet
/// coordinates) to `out`.
void AppendCellMarker(QString &out, int row, int column);

/// "<!-- " + label + "1.0 Build: 13 -->" with the program's version; `label` is
/// the looked-up product label ("cellTrove für Excel ").
QString HeaderLine(const QString &productLabel);

/// "Text_" + workbook file name + "-" + sheet index + ".rtf".
QString TaggedFileName(const QString &workbookFileName, int sheetIndex);

/// Appends a cell's text as one paragraph to `out`: every line end (LF, CR LF
/// or a lone CR) becomes a manual line break.
void AppendCellParagraphText(QString &out, QStringView cellText);

}  // namespace celltrove::exporting
