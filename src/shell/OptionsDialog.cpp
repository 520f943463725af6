#include "shell/OptionsDialog.h"

#include "run/SettingsStore.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace celltrove::shell {

namespace {

const QString kGroup = QStringLiteral("Count");

// Stored numbers are in the user's locale ("0,13" on a German system); a store written
// under another locale still reads when it uses the plain C form.
bool readNumber(const QString &stored, double *value) {
    bool ok = false;
    double v = QLocale::system().toDouble(stored.trimmed(), &ok);
    if (!ok) v = QLocale::c().toDouble(stored.trimmed(), &ok);
    if (ok) *value = v;
    return ok;
}

QDoubleSpinBox *priceField(const char *name, double initial, QWidget *parent) {
    auto *field = new QDoubleSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    field->setDecimals(2);
    field->setRange(0.0, 999999.99);
    field->setValue(initial);
    return field;
}

// The locale's form without grouping, at most two decimals and no trailing zeros: "0,13", "1".
QString numberText(double value) {
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', 2);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(point)) text.chop(point.size());
    }
    return text;
}

}  // namespace

QStringList OptionsDialog::currencies() {
    return {QStringLiteral("€"),   QStringLiteral("$"),   QString(),           QStringLiteral("CAD"),
            QStringLiteral("GBP"), QStringLiteral("JPY"), QStringLiteral("CHF"), QStringLiteral("PEN"),
            QStringLiteral("RMB"), QStringLiteral("FJD")};
}

OptionsDialog::OptionsDialog(run::SettingsStore &settings, const InterfaceText &text, QWidget *parent)
    : QDialog(parent),
      m_settings(settings),
      m_bar(new QTreeWidget(this)),
      m_pages(new QStackedWidget(this)),
      m_linePrice(priceField("txtPreisZ", 1.0, this)),
      m_wordPrice(priceField("txtPreisW", 0.13, this)),
      m_charactersPerLine(new QSpinBox(this)),
      m_currency(new QComboBox(this)) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(text(QStringLiteral("Optionen")));
    m_bar->setObjectName(QStringLiteral("Outbar1"));
    m_pages->setObjectName(QStringLiteral("PicBox1"));
    m_charactersPerLine->setObjectName(QStringLiteral("txtZeichenProZeile"));
    m_currency->setObjectName(QStringLiteral("sevWaehrung"));
    m_charactersPerLine->setRange(1, 300);
    m_charactersPerLine->setValue(53);
    m_currency->addItems(currencies());

    m_bar->header()->hide();
    m_bar->setMaximumWidth(150);
    auto *group = new QTreeWidgetItem(m_bar, QStringList{text(QStringLiteral("Allgemein"))});
    auto *counting = new QTreeWidgetItem(group, QStringList{text(QStringLiteral("Zählung"))});
    m_bar->expandAll();
    m_bar->setCurrentItem(counting);
    connect(m_bar, &QTreeWidget::itemClicked, this, [this, counting](QTreeWidgetItem *item) {
        if (item == counting) m_pages->setCurrentIndex(0);
    });

    auto *frame = new QGroupBox(text(QStringLiteral("Werte für die Zählung")));
    frame->setObjectName(QStringLiteral("Frame4"));
    auto *fields = new QFormLayout(frame);
    fields->addRow(text(QStringLiteral("Zeilenpreis:")), m_linePrice);
    fields->addRow(text(QStringLiteral("Wortpreis:")), m_wordPrice);
    fields->addRow(text(QStringLiteral("Zeichen pro Zeile:")), m_charactersPerLine);
    fields->addRow(text(QStringLiteral("Währung:")), m_currency);
    auto *countPage = new QWidget;
    countPage->setObjectName(QStringLiteral("PicBox1_0"));
    (new QVBoxLayout(countPage))->addWidget(frame);
    auto *unusedPage = new QWidget;
    unusedPage->setObjectName(QStringLiteral("PicBox1_1"));
    m_pages->addWidget(countPage);
    m_pages->addWidget(unusedPage);
    m_pages->setCurrentIndex(0);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(text(QStringLiteral("Abbrechen")), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);

    auto *body = new QHBoxLayout;
    body->addWidget(m_bar);
    body->addWidget(m_pages, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);

    // Loaded once per opening: edits survive switching to another window and back.
    loadStoredValues();
}

void OptionsDialog::loadStoredValues() {
    bool ok = false;
    const int index = m_settings.value(kGroup, QStringLiteral("WaehrungLI")).trimmed().toInt(&ok);
    m_currency->setCurrentIndex(ok && index >= 0 && index < m_currency->count() ? index : 0);
    double value = 0;
    if (readNumber(m_settings.value(kGroup, QStringLiteral("Zeilenpreis")), &value)) m_linePrice->setValue(value);
    if (readNumber(m_settings.value(kGroup, QStringLiteral("Wortpreis")), &value)) m_wordPrice->setValue(value);
    if (readNumber(m_settings.value(kGroup, QStringLiteral("ZeichenProZeile")), &value))
        m_charactersPerLine->setValue(static_cast<int>(value));
}

void OptionsDialog::accept() {
    m_settings.setValue(kGroup, QStringLiteral("Zeilenpreis"), numberText(m_linePrice->value()));
    m_settings.setValue(kGroup, QStringLiteral("Wortpreis"), numberText(m_wordPrice->value()));
    m_settings.setValue(kGroup, QStringLiteral("ZeichenProZeile"), QString::number(m_charactersPerLine->value()));
    m_settings.setValue(kGroup, QStringLiteral("Waehrung"), m_currency->currentText());
    m_settings.setValue(kGroup, QStringLiteral("WaehrungLI"), QString::number(m_currency->currentIndex()));
    m_settings.sync();
    QDialog::accept();
}

void OptionsDialog::reject() { QDialog::reject(); }

}  // namespace celltrove::shell
