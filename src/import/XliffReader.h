#pragma once

#include "office/ole/OfficeStatus.h"

#include <QIODevice>
#include <QString>

#include <vector>

namespace celltrove::importing {

/// One `<trans-unit>` as the import needs it.
struct XliffUnit {
    QString id;
    /// The target's text when the unit has a target, else the source's; line
    /// breaks and character codes turned back. Empty when `tooLong`.
    QString text;
    bool hasTarget = false;
    bool changed = false;  ///< the target's text differs from the source's
    bool tooLong = false;  ///< source or target longer than a cell holds
    qint64 line = 0;       ///< line of the unit's start tag, 1-based
};

/// One `<file>`: the worksheet it came from and its units in document order.
struct XliffFile {
    QString original;  ///< "workbook#sheet index" as the export writes it
    qint64 line = 0;
    std::vector<XliffUnit> units;
};

struct XliffDocument {
    std::vector<XliffFile> files;
};

/// Reads a whole XLIFF 1.2 document from `device` in chunks. A document type
/// declaration is refused (no entity is ever declared, expanded or fetched);
/// unit texts are kept only up to the longest cell text. On failure the status
/// says why with line and column, its offset is the character offset, and
/// `document` must not be used.
office::Status ReadXliff(QIODevice &device, XliffDocument &document);
/// The same for a file.
office::Status ReadXliffFile(const QString &path, XliffDocument &document);

}  // namespace celltrove::importing
