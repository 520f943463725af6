#include "run/RunContext.h"

namespace celltrove::run {

count::AnalysisReport RunContext::report() const {
    const QString group = QStringLiteral("Count");
    count::ReportSettings s;
    s.charactersPerLine = m_settings.value(group, QStringLiteral("ZeichenProZeile"));
    s.linePrice = m_settings.value(group, QStringLiteral("Zeilenpreis"));
    s.wordPrice = m_settings.value(group, QStringLiteral("Wortpreis"));
    s.currency = m_settings.value(group, QStringLiteral("Waehrung"));
    const TextLookup &texts = m_texts;
    return count::AnalysisReport(s, [&texts](const QString &key) { return texts.LookupText(key); });
}

}  // namespace celltrove::run
