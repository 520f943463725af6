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

void Styles::copyFrom(const Styles &other) {
    if (this == &other) return;
    m_styles.clear();
    for (const auto &source : other.m_styles) {
        m_styles.push_back(std::make_unique<Style>(source->nameLocal(), source->type(), &m_revision));
        Style &copy = *m_styles.back();
        copy.font().setName(source->font().name());
        copy.font().setColor(source->font().color());
        copy.font().setHalfPoints(source->font().halfPoints());
        copy.font().setBold(source->font().bold());
        copy.font().setItalic(source->font().italic());
        copy.setLanguageId(source->languageId());
    }
    m_revision = other.m_revision;
}

}  // namespace office::doc
