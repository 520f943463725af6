#include "office/doc/Style.h"

namespace office::doc {

Styles::Styles() {
    add(QStringLiteral("Normal"), StyleType::Paragraph);
    add(QStringLiteral("Default Paragraph Font"), StyleType::Character);
}

int Styles::indexOf(const QString &name) const {
    for (size_t i = 0; i < m_styles.size(); ++i)
        if (m_styles[i]->nameLocal().compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

Style *Styles::add(const QString &name, StyleType type) {
    if (Style *existing = item(name)) return existing;
    m_styles.push_back(std::make_unique<Style>(name, type, &m_revision));
    ++m_revision;
    return m_styles.back().get();
}

}  // namespace office::doc
