#include "count/AnalysisReport.h"

#include <cfenv>
#include <cmath>

namespace celltrove::count {

namespace {

const QString kRuleLine = QStringLiteral("_ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _ _");
const QString kStarLine = QStringLiteral("*******************************************");
constexpr int kPadColumn = 21;

// Rounds to two decimals with halves going to the even neighbour.
double roundToCents(double value) {
    const int oldMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value * 100.0) / 100.0;
    std::fesetround(oldMode);
    return rounded;
}

}  // namespace

QString NumberText(double value, const QLocale &locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return plain.toString(static_cast<qint64>(value));
    return plain.toString(value, 'g', 15);
}

AnalysisReport::AnalysisReport(ReportSettings settings, Translate translate, QLocale locale)
    : m_settings(std::move(settings)), m_translate(std::move(translate)), m_locale(std::move(locale)) {
    if (m_settings.charactersPerLine.isEmpty()) m_settings.charactersPerLine = QStringLiteral("53");
    if (m_settings.linePrice.isEmpty()) m_settings.linePrice = QStringLiteral("1");
    if (m_settings.wordPrice.isEmpty()) m_settings.wordPrice = NumberText(0.1, m_locale);
    if (m_settings.currency.isEmpty()) m_settings.currency = QStringLiteral("€");
}

QString AnalysisReport::PadNumber(double value) const {
    QString text = NumberText(value, m_locale);
    if (!text.isEmpty() && text.size() < kPadColumn + 1) text.prepend(QString(kPadColumn - text.size(), u' '));
    return QStringLiteral("\t\t") + text;
}

std::optional<double> AnalysisReport::number(const QString &stored) const {
    bool ok = false;
    const double value = m_locale.toDouble(stored.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> AnalysisReport::lines(qint64 characters) const {
    const auto perLine = number(m_settings.charactersPerLine);
    if (!perLine || *perLine == 0) return std::nullopt;
    return roundToCents(static_cast<double>(characters) / *perLine);
}

QString AnalysisReport::linesLabel() const {
    return m_translate(QStringLiteral("Zeilen-Gesamt: ")) + u'(' + m_settings.charactersPerLine +
           m_translate(QStringLiteral(" Zeichen")) + u')';
}

QString AnalysisReport::amountLabel(const char *germanStart) const {
    return m_translate(QString::fromUtf8(germanStart)) + m_settings.currency + u':';
}

QStringList AnalysisReport::FileReport(TextCounter &counter) const {
    QStringList out;
    out << m_translate(kRuleLine) << m_translate(QStringLiteral("                Dateianalyse"))
        << m_translate(kRuleLine) << linesLabel();
    if (const auto l = lines(counter.fileCharacters())) out << PadNumber(*l);
    out << m_translate(kRuleLine) << m_translate(QStringLiteral("Wörter Gesamtanzahl:"))
        << PadNumber(counter.fileWords()) << QStringLiteral(" ");
    counter.resetFile();
    return out;
}

QStringList AnalysisReport::TotalReport(TextCounter &counter, bool tableFlag, qint64 fileCount) const {
    const QString rule = m_translate(kRuleLine);
    QStringList out;
    out << QStringLiteral(" ") << m_translate(kStarLine) << m_translate(QStringLiteral("                Gesamtanalyse"))
        << m_translate(kStarLine) << m_translate(QStringLiteral("Zeichen-Gesamt:"))
        << PadNumber(counter.runCharacters()) << rule << linesLabel();
    const auto runLines = lines(counter.runCharacters());
    if (runLines) out << PadNumber(*runLines);
    out << rule << m_translate(QStringLiteral("Wörter Gesamtanzahl:")) << PadNumber(counter.runWords());
    if (!tableFlag) out << rule << m_translate(QStringLiteral("Zellen Gesamt:")) << PadNumber(counter.runCells());
    out << rule << m_translate(QStringLiteral("Tabellen Gesamt:")) << PadNumber(counter.runTables()) << rule
        << m_translate(QStringLiteral("Anzahl Dateien:")) << PadNumber(static_cast<double>(fileCount)) << rule
        << amountLabel("Gesamtbetrag (Zeilen) in ");
    const auto linePrice = number(m_settings.linePrice);
    if (runLines && linePrice) out << PadNumber(*runLines * *linePrice);
    out << rule << amountLabel("Gesamtbetrag (Wörter) in ");
    if (const auto wordPrice = number(m_settings.wordPrice)) out << PadNumber(counter.runWords() * *wordPrice);
    out << QStringLiteral(" ") << m_translate(kStarLine);
    counter.resetRun();
    return out;
}

}  // namespace celltrove::count
