#pragma once

#include "office/ole/OfficeStatus.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace celltrove::importing {

/// One worksheet as the import reads and writes it. Rows and columns are
/// 1-based worksheet coordinates.
class ImportSheet {
public:
    virtual ~ImportSheet() = default;

    virtual QString name() const = 0;
    /// The cell's value as text ("" for an empty cell).
    virtual QString cellText(int row, int column) const = 0;
    /// True when the cell holds a formula.
    virtual bool holdsFormula(int row, int column) const = 0;
    /// Sets a cell as typing the text into it would.
    virtual office::Status setCellText(int row, int column, const QString &text) = 0;
    /// Number of comments, in the sheet's collection order.
    virtual int commentCount() const = 0;
    /// Sets the text of comment i (1-based); its author and box stay.
    virtual office::Status setCommentText(int i, const QString &text) = 0;
    /// The number (1-based, as for setCommentText) of the comment on the cell
    /// at (row, column); 0 when it has none.
    virtual int commentIndexAt(int /*row*/, int /*column*/) const { return 0; }
    /// Shows every hidden column and opens every outline level of rows and
    /// columns ("Alle Ebenen/Spalten").
    virtual void showAllColumnsAndLevels() = 0;
    /// Sets the cells of a grid of texts, its first cell at (row, column).
    virtual office::Status pasteGrid(int row, int column, const QList<QStringList> &grid) = 0;
    /// The used rectangle from A1: the last used row over all columns and the
    /// last used column over those rows (1 and 1 for an empty sheet).
    virtual void usedRange(int &rows, int &columns) const = 0;
};

/// A workbook opened for the import: its worksheets and its save.
class ImportWorkbook {
public:
    virtual ~ImportWorkbook() = default;

    /// The worksheet whose Index (1-based position among all sheets, chart
    /// sheets included) is `index`; nullptr when there is none or that sheet
    /// is no worksheet.
    virtual ImportSheet *worksheetByIndex(int index) = 0;
    /// Writes the workbook back to its file; on failure the file is as it was.
    virtual office::Status save() = 0;
};

/// Opens the workbook at a path; null with the reason in `status` on failure.
using WorkbookOpener = std::function<std::unique_ptr<ImportWorkbook>(const QString &path, office::Status &status)>;

}  // namespace celltrove::importing
