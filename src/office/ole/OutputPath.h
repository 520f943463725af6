#pragma once

#include "office/ole/OfficeStatus.h"

#include <QFileDevice>
#include <QString>

namespace office {

/// Refuses a save to `path` when `path` is a symbolic link that does not lead to a
/// file in its own folder (it points elsewhere, dangles or loops): a save through
/// it would replace a file the user never chose. Anything else is success.
Status checkOutputPath(const QString &path);

/// Why the last write or flush to `file` failed. A write cut short by a full disk
/// or a file size limit leaves Qt only "Unknown error"; the system's own reason
/// (errno, read right after the failing call) says what happened.
QString writeFailureReason(const QFileDevice &file);

}  // namespace office
