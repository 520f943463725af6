#pragma once

#include <QIcon>

namespace celltrove::shell {

/// Celltrove's own icon in every size it ships (16 … 256 pixels), for the windows, the
/// tray entry and the about box.
QIcon programIcon();

}  // namespace celltrove::shell
