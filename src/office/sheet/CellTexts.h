#pragma once

#include "office/ole/OfficeStatus.h"
#include "office/sheet/NumberFormatCache.h"
#include "office/sheet/SheetTypes.h"

#include <QLocale>
#include <QString>

#include <memory>

namespace office::sheet {

class Workbook;
class Worksheet;
class WorkbookFormulaContext;

/// The texts a workbook's cells show: the display text (the value through the
/// cell's number format) and the formula text. Holds what they need parsed once
/// per workbook: number formats and the names and sheets formulas refer to.
/// Owned by the workbook (Workbook::cellTexts()); not thread-safe.
class CellTexts {
public:
    explicit CellTexts(const Workbook &book);
    ~CellTexts();
    CellTexts(const CellTexts &) = delete;
    CellTexts &operator=(const CellTexts &) = delete;

    /// What the cell shows with formulas hidden (Range.Text); "" for blank cells.
    QString displayText(const Worksheet &sheet, const Cell &cell, const QLocale &locale = QLocale::system());

    /// The number format of an XF record (built-in ones under `locale`).
    const NumberFormat &numberFormat(int xf, const QLocale &locale = QLocale::system());

    /// The formula text of a formula cell ("=SUM(A1:A3)"), shared and array
    /// formulas resolved for this cell. Fails for other cells and for tokens that
    /// cannot be read (Excel 95 formulas with 3-D references or external names among them).
    Status formulaText(const Worksheet &sheet, const Cell &cell, QString &text);

private:
    const Workbook &m_book;
    NumberFormatCache m_formats;
    std::unique_ptr<WorkbookFormulaContext> m_context;  // built on first use
};

}  // namespace office::sheet
