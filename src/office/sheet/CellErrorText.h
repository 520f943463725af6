#pragma once

#include <QString>

#include <cstdint>

namespace office::sheet {

/// Excel's text of a BIFF8 error code ("#DIV/0!" for 0x07); "#N/A" for an unknown code.
QString cellErrorText(std::uint8_t code);

/// True when the code is one of the seven error values Excel knows.
bool isKnownCellError(std::uint8_t code);

}  // namespace office::sheet
