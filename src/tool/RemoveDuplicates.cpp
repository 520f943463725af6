#include "tool/RemoveDuplicates.h"

#include <QSet>

namespace celltrove::tool {

void RemoveDuplicates(QStringList &list) {
    QSet<QString> seen;
    seen.reserve(list.size());
    QStringList kept;
    kept.reserve(list.size());
    for (const QString &entry : std::as_const(list))
        if (!seen.contains(entry)) {
            seen.insert(entry);
            kept.append(entry);
        }
    list = std::move(kept);
}

}  // namespace celltrove::tool
