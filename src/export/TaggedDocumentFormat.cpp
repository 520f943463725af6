#include "export/TaggedDocumentFormat.h"

#include <celltrove/Version.h>

namespace celltrove::exporting {

QString CellMarker(int row, int column) {
    // Built in one buffer: the export writes one marker per cell.
    QString marker;
    marker.reserve(tagged::kCellMarkerStart.size() + tagged::kCellMarkerEnd.size() + 12);
    marker.append(tagged::kCellMarkerStart).append(QString::number(row)).append(u',');
    marker.append(QString::number(column)).append(tagged::kCellMarkerEnd);
    return marker;
}

QString HeaderLine(const QString &productLabel) {
    return tagged::kHeaderStart + productLabel + QString::number(kVersionMajor) + u'.' + QString::number(kVersionMinor) +
           QStringLiteral(" Build: ") + QString::number(kBuildNumber) + QStringLiteral(" -->");
}

QString TaggedFileName(const QString &workbookFileName, int sheetIndex) {
    return QStringLiteral("Text_") + workbookFileName + u'-' + QString::number(sheetIndex) + QStringLiteral(".rtf");
}

QString CellParagraphText(const QString &cellText) {
    if (!cellText.contains(u'\r') && !cellText.contains(u'\n')) return cellText;
    QString text = cellText;
    // A CR would end the paragraph and split the cell in two; CR LF is one line end.
    text.replace(QStringLiteral("\r\n"), QString(tagged::kLineBreak));
    text.replace(u'\r', tagged::kLineBreak);
    text.replace(u'\n', tagged::kLineBreak);
    return text;
}

}  // namespace celltrove::exporting
