#pragma once

#include <QString>

#include <optional>

namespace office::sheet {

/// The sheets an EXTERNSHEET entry (XTI) refers to.
struct SheetSpan {
    QString workbook;    ///< file name of an external workbook; empty for this workbook
    QString firstSheet;  ///< empty for a reference to the workbook as a whole
    QString lastSheet;   ///< equal to firstSheet unless the reference spans sheets
    bool deleted = false; ///< the sheet no longer exists: the reference shows as #REF!
};

/// What formula tokens point to outside themselves. The workbook answers from its
/// EXTERNSHEET, SUPBOOK, EXTERNNAME and NAME records; tests answer from tables.
class FormulaContext {
public:
    virtual ~FormulaContext() = default;
    /// Sheets of XTI entry `xti` (0-based index into EXTERNSHEET); empty when unknown.
    virtual std::optional<SheetSpan> sheetSpan(int xti) const = 0;
    /// Name of defined name `index` (1-based, NAME record order); empty when unknown.
    virtual std::optional<QString> definedName(int index) const = 0;
    /// Text of external name `index` (1-based) of the SUPBOOK that XTI entry `xti`
    /// refers to, as a formula shows it: an add-in function's name ("EDATE"), or a
    /// name in another workbook ("[Book2.xls]!Rate"); empty when unknown.
    virtual std::optional<QString> externalName(int xti, int index) const = 0;
};

}  // namespace office::sheet
