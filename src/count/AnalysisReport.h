#pragma once

#include "count/TextCounter.h"

#include <QLocale>
#include <QStringList>

#include <functional>
#include <optional>

namespace celltrove::count {

/// Turns a German label into the text of the loaded language.
using Translate = std::function<QString(const QString &)>;

/// The "Count" settings as stored: text in the locale's number format.
/// Empty members mean "not stored" and take the report's defaults.
struct ReportSettings {
    QString charactersPerLine;  ///< "ZeichenProZeile", default 53
    QString linePrice;          ///< "Zeilenpreis", default 1
    QString wordPrice;          ///< "Wortpreis", default 0.1
    QString currency;           ///< "Waehrung", default "€"
};

/// Builds the analysis blocks of the run log from a counter.
class AnalysisReport {
public:
    AnalysisReport(ReportSettings settings, Translate translate, QLocale locale = QLocale::system());

    /// The file block; resets the file counters.
    QStringList FileReport(TextCounter &counter) const;
    /// The total block. `tableFlag` true leaves out the cells lines;
    /// `fileCount` is the number of files of the run. Resets the run counters.
    QStringList TotalReport(TextCounter &counter, bool tableFlag, qint64 fileCount) const;

    /// Two tabs, then `value` in the locale's number format right-aligned to column 21.
    QString PadNumber(double value) const;

    /// characters ÷ characters-per-line rounded to 2 decimals (halves to even);
    /// nothing when the setting is 0 or not a number.
    std::optional<double> lines(qint64 characters) const;

private:
    QString linesLabel() const;
    QString amountLabel(const char *germanStart) const;
    std::optional<double> number(const QString &stored) const;

    ReportSettings m_settings;
    Translate m_translate;
    QLocale m_locale;
};

/// `value` as the log writes it: whole numbers without decimals, fractions with
/// up to 15 significant digits, the locale's decimal separator, no grouping.
QString NumberText(double value, const QLocale &locale);

}  // namespace celltrove::count
