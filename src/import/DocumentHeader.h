#pragma once

#include "office/doc/Application.h"

#include <QString>

namespace celltrove::importing {

/// What the header of a tagged document names: the workbook (file name in the
/// document's folder) and the sheet (its Index, as text).
struct DocumentHeader {
    QString workbookName;  ///< text after "<!-- Excel-Dateiname: -->", blanks trimmed
    QString sheetNumber;   ///< text after "<!-- ExcelsheetNr.: -->", blanks trimmed
    bool workbookMarkerFound = false;
    bool sheetMarkerFound = false;
};

/// Reads the first workbook-name and sheet-number markers of the active
/// document with the selection and find, each up to the end of its paragraph;
/// the sheet-number marker is looked for after the workbook-name marker.
DocumentHeader ReadDocumentHeader(office::doc::Application &word);

/// `text` without leading and trailing blanks (only blanks, as the header and
/// cell identifiers are trimmed; line ends stay).
QString TrimBlanks(const QString &text);

}  // namespace celltrove::importing
