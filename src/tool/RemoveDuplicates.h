#pragma once

#include <QStringList>

namespace celltrove::tool {

/// Removes repeated entries, keeping the first occurrence of each text (exact,
/// case-sensitive comparison); the order is otherwise kept.
void RemoveDuplicates(QStringList &list);

}  // namespace celltrove::tool
