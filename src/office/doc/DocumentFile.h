#pragma once

#include "office/doc/DocTypes.h"
#include "office/ole/OfficeStatus.h"

#include <QString>

namespace office::doc {

class Document;

/// Reads an RTF or Word 97-2003 file into `into`, telling them apart by their
/// first bytes (an OLE2 compound file is read as a Word document). `format`,
/// when given, receives the format read.
Status readDocumentFile(const QString &path, Document &into, SaveFormat *format = nullptr);

}  // namespace office::doc
