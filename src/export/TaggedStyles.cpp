#include "export/TaggedStyles.h"

#include "export/TaggedDocumentFormat.h"

namespace celltrove::exporting {

namespace {
constexpr int kGreyColorIndex = 15;
constexpr int kRedColorIndex = 6;
constexpr int kNoProofing = 1024;
}  // namespace

void EnsureTaggedStyle(office::doc::Styles &styles, const QString &styleName) {
    for (int i = 0; i < styles.count(); ++i)
        if (styles.at(i)->nameLocal() == styleName) return;
    office::doc::Style *style = styles.add(styleName, office::doc::StyleType::Character);
    style->font().setName(QStringLiteral("Courier New"));
    style->font().setColorIndex(styleName == tagged::kInternalStyle ? kRedColorIndex : kGreyColorIndex);
    style->setLanguageId(kNoProofing);
}

}  // namespace celltrove::exporting
