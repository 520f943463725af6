#pragma once

#include "shell/InterfaceText.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QTreeWidget;
class QStackedWidget;

namespace celltrove::run {
class SettingsStore;
}

namespace celltrove::shell {

/// The options dialog (object name "frmOptions"): the prices and the line length that the
/// counting report uses, kept in the "Count" group of the settings.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(run::SettingsStore &settings, const InterfaceText &text, QWidget *parent = nullptr);

    /// The currencies in list order; index 2 is the empty entry.
    static QStringList currencies();

    /// Writes the four values and the currency's index, then closes.
    void accept() override;
    /// Closes without writing.
    void reject() override;

private:
    /// Fills the fields from the store; a stored value the field cannot read keeps its value.
    void loadStoredValues();

    run::SettingsStore &m_settings;
    QTreeWidget *m_bar;
    QStackedWidget *m_pages;
    QDoubleSpinBox *m_linePrice;
    QDoubleSpinBox *m_wordPrice;
    QSpinBox *m_charactersPerLine;
    QComboBox *m_currency;
};

}  // namespace celltrove::shell
