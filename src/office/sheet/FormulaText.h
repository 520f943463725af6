#pragma once

#include "office/ole/OfficeStatus.h"
#include "office/sheet/FormulaContext.h"

#include <QByteArray>
#include <QString>

namespace office::sheet {

/// BIFF8 formula tokens of one cell: the token bytes (rgce) and the extra data
/// after them (rgcb: array constants and the like).
struct FormulaTokens {
    QByteArray tokens;
    QByteArray extra;
    /// Tokens of a shared formula (SHRFMLA): 3-D references hold offsets from the cell too.
    bool shared = false;
    /// Excel 95 (BIFF5) tokens: shorter references, 8-bit strings; 3-D references and
    /// external names are not read.
    bool biff5 = false;
};

/// Decompiles BIFF8 formula tokens into the text a cell's Formula property gives:
/// "=SUM(A1:B2)", A1 style, English function names, the parentheses and blanks
/// that were stored. `row0` and `column0` (0-based) are the cell the formula
/// belongs to; relative tokens of shared formulas (PtgRefN, PtgAreaN) count from it.
/// Every read is bounds-checked: truncated or malformed tokens, an unknown token or
/// function, or a name the context does not know give a failure whose offset is
/// the byte in `tokens` where decompiling stopped; `text` is then empty.
Status formulaText(const FormulaTokens &formula, int row0, int column0, const FormulaContext &context,
                   QString &text);

}  // namespace office::sheet
