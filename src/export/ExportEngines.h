#pragma once

#include "office/doc/Application.h"
#include "office/ole/CellGridClipboard.h"

namespace celltrove::exporting {

/// What an export run holds from its start to its end: the document engine
/// with the clipboard that the worksheets copy their ranges to.
struct ExportEngines {
    ExportEngines() = default;
    ExportEngines(const ExportEngines &) = delete;
    ExportEngines &operator=(const ExportEngines &) = delete;

    office::CellGridClipboard clipboard;
    office::doc::Application word{&clipboard};
};

}  // namespace celltrove::exporting
