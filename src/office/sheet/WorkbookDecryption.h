#pragma once

#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QString>

namespace office::sheet {

/// The password Excel uses for workbooks that are only write-protected: it opens
/// them without asking.
inline const QString kDefaultWorkbookPassword = QStringLiteral("VelvetSweatshop");

/// Decrypts, in place, a workbook stream whose globals carry a FILEPASS record
/// (filePassOffset: stream offset of its header) with the password. RC4 and CryptoAPI
/// RC4 are supported; other schemes and wrong passwords are refused.
Status decryptWorkbookStream(QByteArray &stream, qint64 filePassOffset,
                             const QString &password = kDefaultWorkbookPassword);

}  // namespace office::sheet
