#pragma once

#include "office/ole/OfficeStatus.h"

#include <QSaveFile>
#include <QXmlStreamWriter>

#include <memory>

namespace celltrove::exporting {

/// What the `<file>` element of one worksheet names.
struct XliffSheetHeader {
    QString workbookFileName;  ///< with its extension, no folder
    QString sheetName;
    int sheetIndex = 1;  ///< 1-based Index among all sheets
    QString sourceLanguage;
    QString targetLanguage;  ///< left out when empty
    QString toolName;
    QString toolVersion;
};

/// Writes one XLIFF 1.2 file (UTF-8): a `<file>` per worksheet, a
/// `<trans-unit>` per text with its source copied into a target. A line feed
/// in a text becomes `<x ctype="lb"/>`, a character XML 1.0 cannot hold a
/// `<ph ctype="x-char">U+XXXX</ph>`. The file appears under its name only when
/// `commit` succeeds; until then an older file of that name stays as it was.
class XliffWriter {
public:
    office::Status open(const QString &path);
    void beginFile(const XliffSheetHeader &header);
    /// One unit; `note` (when not empty) becomes its `<note>`.
    void writeUnit(const QString &id, const QString &resname, const QString &text, const QString &note = {});
    void endFile();
    /// Ends the document and puts the file in place.
    office::Status commit();

private:
    // The text of a <source> or <target>, with its inline codes.
    void writeInlineText(const QString &text);

    std::unique_ptr<QSaveFile> m_file;
    QXmlStreamWriter m_xml;
};

}  // namespace celltrove::exporting
