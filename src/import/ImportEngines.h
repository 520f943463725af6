#pragma once

#include "import/ImportWorkbook.h"
#include "office/doc/Application.h"
#include "office/ole/CellGridClipboard.h"

namespace celltrove::importing {

/// The engines an import run holds from its start to its end: the document
/// engine with the clipboard it shares with the workbooks, and the way
/// workbooks are opened.
struct ImportEngines {
    explicit ImportEngines(WorkbookOpener opener) : openWorkbook(std::move(opener)) {}
    ImportEngines(const ImportEngines &) = delete;
    ImportEngines &operator=(const ImportEngines &) = delete;

    office::CellGridClipboard clipboard;
    office::doc::Application word{&clipboard};
    WorkbookOpener openWorkbook;
    /// Tagged RTF documents are imported while they are read, front to back;
    /// false reads every document whole first (tests compare the two).
    bool importWhileReading = true;
};

}  // namespace celltrove::importing
