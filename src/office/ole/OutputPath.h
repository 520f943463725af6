#pragma once

#include "office/ole/OfficeStatus.h"

#include <QString>

namespace office {

/// Refuses a save to `path` when `path` is a symbolic link that does not lead to a
/// file in its own folder (it points elsewhere, dangles or loops): a save through
/// it would replace a file the user never chose. Anything else is success.
Status checkOutputPath(const QString &path);

}  // namespace office
