#include "shell/ExportTab.h"

#include "run/ColumnLetters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace celltrove::shell {

namespace {

constexpr int kHintMilliseconds = 8000;

template <typename W>
W *named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

QStringList ExportTab::exportFormats() {
    return {QStringLiteral("Excel --> Word (*.RTF)"),          QStringLiteral("Excel --> Word (*.RTF) - Tables"),
            QStringLiteral("Excel --> Text (*.TXT)"),          QStringLiteral("Excel --> Internet (*.HTML)"),
            QStringLiteral("Excel --> Word (*.DOC)"),          QStringLiteral("Excel --> UnicodeText (*uni.TXT)"),
            QStringLiteral("Excel --> XLIFF (*.xlf)")};
}

ExportTab::ExportTab(QWidget *parent)
    : QWidget(parent),
      m_formatCaption(named(new QLabel(this), "lblExportformat")),
      m_format(named(new QComboBox(this), "comboSelect")),
      m_numbers(named(new QCheckBox(this), "chkZahlen")),
      m_formulas(named(new QCheckBox(this), "chkFormeln")),
      m_allLevels(named(new QCheckBox(this), "chkSpalten")),
      m_comments(named(new QCheckBox(this), "chkcomments")),
      m_range(named(new QCheckBox(this), "chkBereich")),
      m_firstCaption(named(new QLabel(this), "sevSpalte1Caption")),
      m_lastCaption(named(new QLabel(this), "sevSpalte2Caption")),
      m_firstColumn(named(new QSpinBox(this), "sevSpalte1")),
      m_lastColumn(named(new QSpinBox(this), "sevSpalte2")),
      m_firstLetters(named(new QLabel(this), "labA")),
      m_lastLetters(named(new QLabel(this), "labB")),
      m_export(named(new QPushButton(this), "cmdExport")),
      m_import(named(new QPushButton(this), "cmdImport")),
      m_hint(named(new QLabel(QStringLiteral(">>>"), this), "labHinw1")),
      m_hintTimer(named(new QTimer(this), "Timer1")) {
    for (QSpinBox *field : {m_firstColumn, m_lastColumn}) {
        field->setRange(1, 256);
        field->setValue(1);
    }
    m_firstLetters->setText(run::columnLetters(1));
    m_lastLetters->setText(run::columnLetters(1));
    m_firstCaption->setBuddy(m_firstColumn);
    m_lastCaption->setBuddy(m_lastColumn);
    m_hint->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0); font-weight: bold;"));
    m_hint->hide();
    m_hintTimer->setInterval(kHintMilliseconds);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_formatCaption);
    layout->addWidget(m_format);
    layout->addSpacing(8);
    for (QCheckBox *box : {m_numbers, m_formulas, m_allLevels, m_comments, m_range}) layout->addWidget(box);
    auto *range = new QGridLayout;
    range->addWidget(m_firstCaption, 0, 0);
    range->addWidget(m_firstColumn, 0, 1);
    range->addWidget(m_firstLetters, 0, 2);
    range->addWidget(m_lastCaption, 1, 0);
    range->addWidget(m_lastColumn, 1, 1);
    range->addWidget(m_lastLetters, 1, 2);
    range->setColumnStretch(3, 1);
    layout->addLayout(range);
    layout->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_hint);
    buttons->addWidget(m_export);
    buttons->addWidget(m_import);
    layout->addLayout(buttons);
    setRangeVisible(false);

    connect(m_format, &QComboBox::currentIndexChanged, this, &ExportTab::onFormatChanged);
    connect(m_range, &QCheckBox::toggled, this, &ExportTab::setRangeVisible);
    connect(m_firstColumn, &QSpinBox::valueChanged, this, &ExportTab::onFirstColumnChanged);
    connect(m_lastColumn, &QSpinBox::valueChanged, this, &ExportTab::onLastColumnChanged);
    connect(m_hintTimer, &QTimer::timeout, m_hint, &QWidget::hide);
    connect(m_export, &QPushButton::clicked, this, &ExportTab::exportClicked);
    connect(m_import, &QPushButton::clicked, this, &ExportTab::importClicked);
}

void ExportTab::applyTexts(const InterfaceText &text) {
    m_formatCaption->setText(text(QStringLiteral("Exportformat auswählen:")));
    m_import->setText(text(QStringLiteral("Importiere Text")));
    m_export->setText(text(QStringLiteral("Exportiere Text")));
    m_numbers->setText(text(QStringLiteral("Zahlen exportieren")));
    m_formulas->setText(text(QStringLiteral("Formeln exportieren")));
    m_allLevels->setText(text(QStringLiteral("Alle Ebenen/Spalten")));
    m_allLevels->setToolTip(text(QStringLiteral("Exportiert Texte sämtlicher Gliederungsebenen und versteckte Spalten.")));
    m_range->setText(text(QStringLiteral("Spaltenbereich: ")));
    m_firstCaption->setText(text(QStringLiteral("von")));
    m_lastCaption->setText(text(QStringLiteral("bis ")));
    m_comments->setText(text(QStringLiteral("Kommentare exportieren")));
    // Refilling the list always lands on the first format, whose option settings then apply.
    const QSignalBlocker block(m_format);
    m_format->clear();
    m_format->addItems(exportFormats());
    m_format->setCurrentIndex(0);
    onFormatChanged();
}

void ExportTab::onFormatChanged() {
    const QString format = m_format->currentText();
    const QStringList formats = exportFormats();
    // XLIFF takes the tagged export's cells, so it offers the same options.
    if (format == formats.at(0) || format == formats.at(6)) {
        m_formulas->setEnabled(true);
        m_formulas->setChecked(false);
        m_allLevels->setEnabled(false);
        m_allLevels->setChecked(true);
        m_numbers->setEnabled(true);
        m_numbers->setChecked(false);
        m_comments->setEnabled(true);
        m_comments->setChecked(true);
        m_range->setEnabled(true);
        m_hintTimer->start();
    } else if (format == formats.at(1)) {
        m_formulas->setEnabled(true);
        m_formulas->setChecked(true);
        m_allLevels->setEnabled(true);
        m_numbers->setEnabled(false);
        m_numbers->setChecked(true);
        m_comments->setEnabled(false);
        m_comments->setChecked(false);
        m_range->setEnabled(false);
        m_range->setChecked(false);
        setRangeVisible(false);
        m_hintTimer->start();
    } else {
        m_formulas->setChecked(false);
        m_allLevels->setEnabled(false);
        m_numbers->setEnabled(false);
        m_comments->setEnabled(false);
        m_range->setEnabled(false);
        m_range->setChecked(false);
        setRangeVisible(false);
    }
}

void ExportTab::setRangeVisible(bool visible) {
    for (QWidget *w : std::initializer_list<QWidget *>{m_firstCaption, m_lastCaption, m_firstColumn, m_lastColumn,
                                                       m_firstLetters, m_lastLetters})
        w->setVisible(visible);
}

void ExportTab::onFirstColumnChanged(int value) {
    if (m_lastColumn->value() < value) m_lastColumn->setValue(value);
    m_firstLetters->setText(run::columnLetters(value));
}

void ExportTab::onLastColumnChanged(int value) { m_lastLetters->setText(run::columnLetters(value)); }

void ExportTab::correctColumnRange() {
    if (m_lastColumn->value() >= m_firstColumn->value()) return;
    m_firstColumn->setValue(1);
    m_lastColumn->setValue(256);
}

ExportChoices ExportTab::choices() const {
    ExportChoices c;
    c.format = m_format->currentText();
    c.numbers = m_numbers->isChecked();
    c.formulas = m_formulas->isChecked();
    c.allLevels = m_allLevels->isChecked();
    c.comments = m_comments->isChecked();
    c.columnRange = m_range->isChecked();
    c.firstColumn = m_firstColumn->value();
    c.lastColumn = m_lastColumn->value();
    c.firstLetters = m_firstLetters->text();
    c.lastLetters = m_lastLetters->text();
    return c;
}

void ExportTab::showHint() {
    m_hint->show();
    m_hintTimer->start();
}

void ExportTab::hideHint() {
    m_hint->hide();
    m_hintTimer->stop();
}

}  // namespace celltrove::shell
