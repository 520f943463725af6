#include "shell/ToolTab.h"

#include "shell/FileFilter.h"
#include "tool/RemoveDuplicates.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace celltrove::shell {

namespace {

template <typename W>
W *named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

const QString kDefaultCatFileName = QStringLiteral("bindle.rtf");

}  // namespace

ToolTab::ToolTab(QWidget *parent)
    : QWidget(parent),
      m_list(named(new QListWidget(this), "lstFileListBox2")),
      m_right(named(new QPushButton(this), "cmdRight")),
      m_left(named(new QPushButton(this), "cmdLeft")),
      m_clear(named(new QPushButton(this), "cmdClearList")),
      m_top(named(new QPushButton(this), "cmdTop")),
      m_up(named(new QPushButton(this), "cmdUp")),
      m_down(named(new QPushButton(this), "cmddown")),
      m_bottom(named(new QPushButton(this), "cmdButtom")),
      m_nameCaption(named(new QLabel(this), "sevCatFileCaption")),
      m_name(named(new QLineEdit(kDefaultCatFileName, this), "sevCatFile")),
      m_cat(named(new QRadioButton(this), "Optcat2rtf")),
      m_split(named(new QRadioButton(this), "optRTFsplit")),
      m_run(named(new QPushButton(this), "cmdCatSplit")) {
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    m_list->viewport()->installEventFilter(this);
    // The characters a file name cannot hold are refused as they are typed.
    m_name->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^:?*/\\\\<>|\"]*")), m_name));
    m_nameCaption->setBuddy(m_name);
    m_right->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    m_left->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    m_up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    auto *modes = new QButtonGroup(this);
    modes->addButton(m_cat);
    modes->addButton(m_split);
    m_cat->setChecked(true);

    auto *moves = new QVBoxLayout;
    for (QPushButton *b : {m_top, m_up, m_down, m_bottom}) moves->addWidget(b);
    moves->addStretch(1);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(moves);
    auto *edits = new QHBoxLayout;
    for (QPushButton *b : {m_right, m_left, m_clear}) edits->addWidget(b);
    edits->addStretch(1);
    auto *name = new QHBoxLayout;
    name->addWidget(m_nameCaption);
    name->addWidget(m_name, 1);
    auto *run = new QHBoxLayout;
    run->addStretch(1);
    run->addWidget(m_run);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(listRow, 1);
    layout->addLayout(edits);
    layout->addLayout(name);
    layout->addWidget(m_cat);
    layout->addWidget(m_split);
    layout->addLayout(run);

    connect(m_right, &QPushButton::clicked, this, &ToolTab::addRequested);
    connect(m_left, &QPushButton::clicked, this, &ToolTab::removeSelected);
    connect(m_clear, &QPushButton::clicked, m_list, &QListWidget::clear);
    connect(m_top, &QPushButton::clicked, this, &ToolTab::moveCurrentToTop);
    connect(m_up, &QPushButton::clicked, this, &ToolTab::moveCurrentUp);
    connect(m_down, &QPushButton::clicked, this, &ToolTab::moveCurrentDown);
    connect(m_bottom, &QPushButton::clicked, this, &ToolTab::moveCurrentToBottom);
    connect(m_cat, &QRadioButton::toggled, this, &ToolTab::updateRunCaption);
    connect(m_run, &QPushButton::clicked, this, &ToolTab::runRequested);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { Q_EMIT fileActivated(item->text()); });
}

void ToolTab::applyTexts(const InterfaceText &text) {
    m_text = text;
    m_cat->setText(text(QStringLiteral("Cat RTF files to RTF file")));
    m_split->setText(text(QStringLiteral("Split RTF file to RTF files")));
    m_nameCaption->setText(text(QStringLiteral("Cat file name")));
    m_right->setText(text(QStringLiteral("Hinzufügen")));
    m_left->setText(text(QStringLiteral("Entfernen")));
    m_clear->setText(text(QStringLiteral("Liste leeren")));
    m_top->setText(text(QStringLiteral("Ganz nach oben")));
    m_up->setText(text(QStringLiteral("Nach oben")));
    m_down->setText(text(QStringLiteral("Nach unten")));
    m_bottom->setText(text(QStringLiteral("Ganz nach unten")));
    m_run->setText(text(QStringLiteral("Cat")));
}

void ToolTab::updateRunCaption() {
    if (m_cat->isChecked())
        m_run->setText(m_text(QStringLiteral("Cat")));
    else if (m_split->isChecked())
        m_run->setText(m_text(QStringLiteral("Split")));
}

void ToolTab::ShowToolControls(bool visible) {
    for (QWidget *w : std::initializer_list<QWidget *>{m_list, m_run, m_left, m_right, m_top, m_up, m_down, m_bottom,
                                                       m_clear, m_name, m_nameCaption})
        w->setVisible(visible);
}

void ToolTab::folderChanged(const QString &folder) {
    m_list->clear();
    m_name->setText(lastPathComponent(folder) + QStringLiteral(".rtf"));
}

void ToolTab::enterTab() {
    m_dragSet.clear();
    m_cat->setChecked(true);
}

void ToolTab::leaveTab() {
    auto *modes = m_cat->group();
    modes->setExclusive(false);
    m_cat->setChecked(false);
    m_split->setChecked(false);
    modes->setExclusive(true);
}

bool ToolTab::concatenate() const {
    return m_cat->isChecked();
}

QString ToolTab::catFileName() const {
    return m_name->text();
}

void ToolTab::setCatFileName(const QString &name) {
    m_name->setText(name);
}

QStringList ToolTab::entries() const {
    QStringList texts;
    for (int row = 0; row < m_list->count(); ++row) texts.append(m_list->item(row)->text());
    return texts;
}

void ToolTab::setEntries(const QStringList &entries) {
    m_list->clear();
    m_list->addItems(entries);
}

QStringList ToolTab::selectedEntries() const {
    QStringList texts;
    for (int row = 0; row < m_list->count(); ++row)
        if (m_list->item(row)->isSelected()) texts.append(m_list->item(row)->text());
    return texts;
}

void ToolTab::addEntries(const QStringList &names) {
    QStringList all = entries() + names;
    tool::RemoveDuplicates(all);
    for (int row = m_list->count(); row < all.size(); ++row) m_list->addItem(all.at(row));
}

void ToolTab::removeSelected() {
    for (int row = m_list->count() - 1; row >= 0; --row)
        if (m_list->item(row)->isSelected()) delete m_list->takeItem(row);
}

void ToolTab::swapEntries(int a, int b) {
    QListWidgetItem *first = m_list->item(a);
    QListWidgetItem *second = m_list->item(b);
    const QString text = first->text();
    first->setText(second->text());
    second->setText(text);
}

void ToolTab::selectOnly(int row) {
    m_list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    m_list->item(row)->setSelected(true);
}

void ToolTab::moveCurrentUp() {
    const int row = m_list->currentRow();
    if (row <= 0) return;
    swapEntries(row - 1, row);
    m_list->item(row)->setSelected(false);
    selectOnly(row - 1);
}

void ToolTab::moveCurrentDown() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_list->count() - 1) return;
    swapEntries(row, row + 1);
    m_list->item(row)->setSelected(false);
    selectOnly(row + 1);
}

void ToolTab::moveCurrentToTop() {
    const int row = m_list->currentRow();
    if (row <= 0) return;
    m_list->insertItem(0, m_list->takeItem(row));
    selectOnly(0);
}

void ToolTab::moveCurrentToBottom() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_list->count() - 1) return;
    m_list->addItem(m_list->takeItem(row));
    selectOnly(m_list->count() - 1);
}

// ---- drag to reorder ----

void ToolTab::selectDragSet() {
    for (const int member : m_dragSet) m_list->item(member)->setSelected(true);
}

void ToolTab::dragPress(int index, bool shift) {
    if (index < 0 || index >= m_list->count()) return;
    // Entries removed since an earlier drag leave no members behind.
    std::erase_if(m_dragSet, [this](int member) { return member >= m_list->count(); });
    if (!m_dragActive) {
        const auto at = std::lower_bound(m_dragSet.begin(), m_dragSet.end(), index);
        if (at != m_dragSet.end() && *at == index)
            m_dragSet.erase(at);
        else
            m_dragSet.insert(at, index);
    }
    m_anchor = index;
    m_lastIndex = index;
    m_shiftHeld = shift;
    if (!shift && !m_dragActive) {
        m_dragSet = {index};
        m_list->clearSelection();
        selectOnly(index);
    }
    m_dragActive = true;
    selectDragSet();
}

void ToolTab::dragMove(int index) {
    if (!m_dragActive || index < 0 || index >= m_list->count() || index == m_anchor || m_dragSet.empty()) return;
    // The dragged entries move as a block, one place per step, keeping their gaps.
    if (index < m_anchor && m_dragSet.front() > 0) {
        for (int &member : m_dragSet) {
            swapEntries(member - 1, member);
            --member;
        }
    } else if (index > m_anchor && m_dragSet.back() < m_list->count() - 1) {
        for (auto member = m_dragSet.rbegin(); member != m_dragSet.rend(); ++member) {
            swapEntries(*member + 1, *member);
            ++*member;
        }
    }
    m_anchor = index;
    m_list->clearSelection();
    selectDragSet();
    m_list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    dragPress(index, m_shiftHeld);
}

void ToolTab::dragRelease() {
    m_dragActive = false;
    m_lastIndex = 0;
}

bool ToolTab::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_list->viewport()) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton) return false;
            dragPress(m_list->indexAt(mouse->position().toPoint()).row(), mouse->modifiers() & Qt::ShiftModifier);
            return true;
        }
        case QEvent::MouseMove: {
            if (!m_dragActive) return false;
            dragMove(m_list->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint()).row());
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton) return false;
            dragRelease();
            return true;
        default:
            return false;
    }
}

}  // namespace celltrove::shell
