#pragma once

#include <QString>

namespace celltrove::importing::markers {

// The fixed texts of a tagged document that the import reads. Markers are
// found by their text alone, never by their character style, because a
// translation tool may have changed the styles.
inline const QString kMarkerStart = QStringLiteral("<!-- ");
inline const QString kWorkbookName = QStringLiteral("<!-- Excel-Dateiname: -->");
inline const QString kSheetNumber = QStringLiteral("<!-- ExcelsheetNr.: -->");
inline const QString kCellMarker = QStringLiteral("<!-- CellID: ");
inline const QString kTotalLine = QStringLiteral("<!-- CellIDs-Gesamt:>>");
inline const QString kCommentOpen = QStringLiteral("<comm>");
inline const QString kCommentClose = QStringLiteral("</comm>");
/// A line feed inside a cell, written as text where a paragraph mark cannot stand.
inline const QString kLineFeedTag = QStringLiteral("<<lf>>");
/// The concatenation tool's separators: a joined document must be split first.
inline const QString kBindleFileName = QStringLiteral("<!-- Bindle-Fn:");
inline const QString kBindleRtf = QStringLiteral("<BindleRTF>");
/// Character style of structure paragraphs (given to an appended totals line).
inline const QString kExternalStyle = QStringLiteral("tw4winExternal");

}  // namespace celltrove::importing::markers
