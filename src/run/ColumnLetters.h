#pragma once

#include <QString>

namespace celltrove::run {

/// The spreadsheet's letters of a 1-based column: 1 "A", 26 "Z", 27 "AA", 53 "BA",
/// 256 "IV". Any column outside 1..256 gives "...".
QString columnLetters(int column);

}  // namespace celltrove::run
