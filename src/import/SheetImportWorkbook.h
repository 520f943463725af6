#pragma once

#include "import/ImportWorkbook.h"

namespace celltrove::importing {

/// Opens a workbook file with the workbook engine for the import.
std::unique_ptr<ImportWorkbook> OpenSheetWorkbook(const QString &path, office::Status &status);

}  // namespace celltrove::importing
