#pragma once

#include <QByteArray>

namespace office::doc {

/// The document's one section: A4 portrait with the margins the RTF writer uses.
namespace DocSection {

/// The section's property list as stored in the WordDocument stream (Sepx).
QByteArray sepx();
/// The section table (PlcfSed) for one section over characters [0, ccpText)
/// whose Sepx lies at fcSepx of the WordDocument stream.
QByteArray plcfSed(qint32 ccpText, quint32 fcSepx);

}  // namespace DocSection

}  // namespace office::doc
