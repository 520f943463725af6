#include "office/sheet/NumberFormat.h"

#include "office/sheet/CellValue.h"
#include "office/sheet/GeneralNumberText.h"
#include "office/sheet/SectionText.h"

#include <cmath>

namespace office::sheet {

namespace {

// What the spreadsheet shows where a date cannot be shown (negative or too large).
const QString kHashes = QStringLiteral("########");

bool isTextSection(const FormatSection &s) { return s.hasTextValue && !s.hasDigits && !s.isDateTime; }

/// A condition that only negative numbers meet: that section shows them without a sign.
bool isNegativeCondition(const FormatSection &s) {
    using C = FormatSection::Compare;
    return (s.compare == C::Less && s.compareValue <= 0) || (s.compare == C::LessEqual && s.compareValue < 0);
}

bool isPlainGeneral(const FormatSection &s) {
    return s.tokens.size() == 1 && s.tokens.front().kind == FormatToken::Kind::General;
}

}  // namespace

NumberFormat::NumberFormat(const QString &code) : m_code(code), m_parsed(parseFormatCode(code)) {}

bool NumberFormat::isDateTime() const {
    return !m_parsed.sections.empty() && m_parsed.sections.front().isDateTime;
}

QString NumberFormat::displayText(const FormatValue &value, const DisplaySettings &settings) const {
    switch (value.kind) {
    case FormatValue::Kind::Number: return numberText(value.number, settings);
    case FormatValue::Kind::Text: return textValueText(value.text);
    case FormatValue::Kind::Boolean: return value.boolean ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case FormatValue::Kind::Error: return errorText(value.error);
    }
    return QString();
}

QString NumberFormat::numberText(double v, const DisplaySettings &settings) const {
    if (!std::isfinite(v)) return QStringLiteral("#NUM!");
    // The sections that numbers use: a trailing text section ("0;@") is not one of them.
    std::vector<const FormatSection *> sections;
    for (const FormatSection &s : m_parsed.sections) sections.push_back(&s);
    if (sections.size() == 4 || (sections.size() > 1 && isTextSection(*sections.back()))) sections.pop_back();
    if (sections.size() > 3) sections.resize(3);
    if (m_code.isEmpty() || sections.empty()) return generalNumberText(v, settings.locale);

    const FormatSection *chosen = nullptr;
    bool signShown = true;
    const bool conditional = sections[0]->compare != FormatSection::Compare::None ||
                             (sections.size() > 1 && sections[1]->compare != FormatSection::Compare::None);
    if (conditional) {
        if (sections[0]->matches(v)) {
            chosen = sections[0];
        } else if (sections.size() > 1 && sections[1]->compare == FormatSection::Compare::None) {
            chosen = sections[1];
        } else if (sections.size() > 1 && sections[1]->matches(v)) {
            chosen = sections[1];
        } else if (sections.size() > 2) {
            chosen = sections[2];
        }
        if (!chosen) return generalNumberText(v, settings.locale);
        signShown = !isNegativeCondition(*chosen);
    } else if (sections.size() == 1 || v > 0 || (v == 0 && sections.size() == 2)) {
        chosen = sections[0];
    } else if (v < 0) {
        chosen = sections[1];
        signShown = false;  // the negative section writes its own sign, if any
    } else {
        chosen = sections[2];
    }

    const FormatSection &s = *chosen;
    if (s.isDateTime) {
        const double serial = signShown ? v : std::fabs(v);
        const QString text = dateSectionText(s, serial, settings);
        return text.isNull() ? kHashes : text;
    }
    const QString sign = signShown && v < 0 ? QStringLiteral("-") : QString();
    if (isPlainGeneral(s)) return sign + generalNumberText(std::fabs(v), settings.locale);
    return sign + numberSectionText(s, std::fabs(v), settings.locale);
}

QString NumberFormat::textValueText(const QString &text) const {
    const auto &sections = m_parsed.sections;
    if (sections.size() == 4) return textSectionText(sections[3], text);
    if (!sections.empty() && sections.back().hasTextValue && (sections.size() == 1 || isTextSection(sections.back())))
        return textSectionText(sections.back(), text);
    return text;
}

}  // namespace office::sheet
