#pragma once

#include <cstdint>

namespace office::sheet {

/// A worksheet function of the BIFF8 function table.
struct FormulaFunction {
    std::uint16_t index;  ///< iftab of PtgFunc / PtgFuncVar
    const char *name;     ///< English name as the formula text shows it
    int fixedArgs;        ///< argument count for PtgFunc; -1 when it takes a variable count
};

/// Function by its iftab; nullptr for indexes the table does not know (macro-sheet
/// commands and unassigned numbers).
const FormulaFunction *formulaFunction(int index);

/// iftab of calls to add-in and user-defined functions: the function's name is the first argument.
constexpr int kExternalFunctionIndex = 255;

}  // namespace office::sheet
