#pragma once

#include "office/sheet/NumberFormat.h"

#include <QHash>
#include <QString>

#include <memory>

namespace office::sheet {

/// Parsed number formats by code, so that each code is parsed once per
/// workbook. Owned by whoever shows the cells (the workbook); not thread-safe.
class NumberFormatCache {
public:
    /// The parsed format of `code`; the reference stays valid as long as the cache.
    const NumberFormat &format(const QString &code);

private:
    QHash<QString, std::shared_ptr<const NumberFormat>> m_formats;
};

}  // namespace office::sheet
