#pragma once

#include "shell/InterfaceText.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace celltrove::shell {

/// What the export/import tab holds when a run starts.
struct ExportChoices {
    QString format;  ///< the chosen entry of comboSelect, exactly as listed
    bool numbers = false;
    bool formulas = false;
    bool allLevels = false;
    bool comments = false;
    bool columnRange = false;
    int firstColumn = 1;  ///< 1-based, 1..256
    int lastColumn = 1;   ///< 1-based, 1..256; may be below firstColumn
    QString firstLetters; ///< labA
    QString lastLetters;  ///< labB
};

/// The export/import tab: export format, option check boxes, column range, the two run
/// buttons and the red hint that a run shows. Object names are those the run code and
/// the tests look for (comboSelect, chkZahlen, sevSpalte1, labA, cmdExport, Timer1 ...).
class ExportTab : public QWidget {
    Q_OBJECT
public:
    explicit ExportTab(QWidget *parent = nullptr);

    /// The six export formats, in list order; they are never translated.
    static QStringList exportFormats();

    /// Sets every caption through the lookup and refills the format list (first entry chosen).
    void applyTexts(const InterfaceText &text);

    ExportChoices choices() const;

    /// Writes 1..256 into both range fields when the end lies below the start.
    void correctColumnRange();

    /// Shows the hint ">>>" and restarts the timer that hides it.
    void showHint();
    /// Hides the hint and stops its timer.
    void hideHint();

Q_SIGNALS:
    void exportClicked();
    void importClicked();

private:
    void onFormatChanged();
    void onFirstColumnChanged(int value);
    void onLastColumnChanged(int value);
    void setRangeVisible(bool visible);

    QLabel *m_formatCaption;
    QComboBox *m_format;
    QCheckBox *m_numbers;
    QCheckBox *m_formulas;
    QCheckBox *m_allLevels;
    QCheckBox *m_comments;
    QCheckBox *m_range;
    QLabel *m_firstCaption;
    QLabel *m_lastCaption;
    QSpinBox *m_firstColumn;
    QSpinBox *m_lastColumn;
    QLabel *m_firstLetters;
    QLabel *m_lastLetters;
    QPushButton *m_export;
    QPushButton *m_import;
    QLabel *m_hint;
    QTimer *m_hintTimer;
};

}  // namespace celltrove::shell
