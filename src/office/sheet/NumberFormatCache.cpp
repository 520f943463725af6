#include "office/sheet/NumberFormatCache.h"

namespace office::sheet {

const NumberFormat &NumberFormatCache::format(const QString &code) {
    auto it = m_formats.constFind(code);
    if (it == m_formats.constEnd()) it = m_formats.insert(code, std::make_shared<const NumberFormat>(code));
    return **it;
}

}  // namespace office::sheet
