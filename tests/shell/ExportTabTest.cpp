#include "shell/ExportTab.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>

using celltrove::shell::ExportTab;
using celltrove::shell::germanText;

namespace {

struct Tab {
    ExportTab tab;
    Tab() { tab.applyTexts(germanText); }
    template <typename W>
    W *get(const char *name) {
        auto *w = tab.findChild<W *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QCheckBox *box(const char *name) { return get<QCheckBox>(name); }
    void choose(int format) { get<QComboBox>("comboSelect")->setCurrentIndex(format); }
};

// One check box's expected state after a format change; "keep" means whatever it was.
enum Value { Cleared, Checked, Keep };
struct BoxRule {
    const char *name;
    bool enabled;  // meaningful unless enabledKept
    bool enabledKept;
    Value value;
};

void expectRules(Tab &t, const std::vector<BoxRule> &rules, const std::map<std::string, std::pair<bool, bool>> &before,
                 const QString &format) {
    for (const BoxRule &r : rules) {
        QCheckBox *b = t.box(r.name);
        const auto &[wasEnabled, wasChecked] = before.at(r.name);
        EXPECT_EQ(b->isEnabled(), r.enabledKept ? wasEnabled : r.enabled) << r.name << " " << format.toStdString();
        EXPECT_EQ(b->isChecked(), r.value == Keep ? wasChecked : r.value == Checked)
            << r.name << " " << format.toStdString();
    }
}

// Puts every box into the opposite of what a rule would set, so that "unchanged" is visible.
std::map<std::string, std::pair<bool, bool>> scramble(Tab &t, bool enabled, bool checked) {
    std::map<std::string, std::pair<bool, bool>> state;
    for (const char *name : {"chkFormeln", "chkSpalten", "chkZahlen", "chkcomments", "chkBereich"}) {
        t.box(name)->setEnabled(enabled);
        t.box(name)->setChecked(checked);
        state[name] = {enabled, checked};
    }
    return state;
}

}  // namespace

TEST(ExportTab, ListsTheSevenFormatsUntranslatedFirstChosen) {
    Tab t;
    auto *combo = t.get<QComboBox>("comboSelect");
    ASSERT_EQ(combo->count(), 7);
    EXPECT_EQ(combo->itemText(6), QStringLiteral("Excel --> XLIFF (*.xlf)"));
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Excel --> Word (*.RTF)"));
    EXPECT_EQ(combo->itemText(5), QStringLiteral("Excel --> UnicodeText (*uni.TXT)"));
    EXPECT_EQ(combo->currentIndex(), 0);
    t.tab.applyTexts([](const QString &k) { return QStringLiteral("xx") + k; });
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Excel --> Word (*.RTF) - Tables"));
    EXPECT_EQ(t.box("chkZahlen")->text(), QStringLiteral("xxZahlen exportieren"));
}

TEST(ExportTab, FormatChangeFollowsTheEnableAndCheckTable) {
    const std::vector<BoxRule> rtf = {{"chkFormeln", true, false, Cleared},
                                      {"chkSpalten", false, false, Checked},
                                      {"chkZahlen", true, false, Cleared},
                                      {"chkcomments", true, false, Checked},
                                      {"chkBereich", true, false, Keep}};
    const std::vector<BoxRule> tables = {{"chkFormeln", true, false, Checked},
                                         {"chkSpalten", true, false, Keep},
                                         {"chkZahlen", false, false, Checked},
                                         {"chkcomments", false, false, Cleared},
                                         {"chkBereich", false, false, Cleared}};
    const std::vector<BoxRule> other = {{"chkFormeln", false, true, Cleared},
                                        {"chkSpalten", false, false, Keep},
                                        {"chkZahlen", false, false, Keep},
                                        {"chkcomments", false, false, Keep},
                                        {"chkBereich", false, false, Cleared}};
    const QStringList formats = ExportTab::exportFormats();
    for (int format = 0; format < formats.size(); ++format) {
        // XLIFF takes the tagged export's cells and options.
        const bool tagged = format == 0 || format == 6;
        const auto &rules = tagged ? rtf : format == 1 ? tables : other;
        for (const bool start : {false, true}) {
            Tab t;
            t.choose(format == 0 ? 2 : 0);  // a real change of format
            auto before = scramble(t, start, start);
            t.get<QTimer>("Timer1")->stop();
            t.choose(format);
            expectRules(t, rules, before, formats.at(format));
            // The hint timer starts for both Word formats and XLIFF and is left alone by the others.
            EXPECT_EQ(t.get<QTimer>("Timer1")->isActive(), format <= 1 || format == 6) << format;
        }
    }
}

TEST(ExportTab, RangeFieldsHideForOtherFormatsAndFollowTheRangeBox) {
    Tab t;
    auto *first = t.get<QSpinBox>("sevSpalte1");
    EXPECT_TRUE(first->isHidden());
    t.box("chkBereich")->setChecked(true);
    EXPECT_FALSE(first->isHidden());
    EXPECT_FALSE(t.get<QLabel>("labB")->isHidden());
    t.choose(1);
    EXPECT_TRUE(first->isHidden());
    EXPECT_TRUE(t.get<QLabel>("labA")->isHidden());
    EXPECT_FALSE(t.box("chkBereich")->isChecked());
}

TEST(ExportTab, ColumnRangeShowsLettersAndRaisesTheEnd) {
    Tab t;
    auto *first = t.get<QSpinBox>("sevSpalte1");
    auto *last = t.get<QSpinBox>("sevSpalte2");
    EXPECT_EQ(first->minimum(), 1);
    EXPECT_EQ(last->maximum(), 256);
    first->setValue(27);
    EXPECT_EQ(last->value(), 27);
    EXPECT_EQ(t.get<QLabel>("labA")->text(), QStringLiteral("AA"));
    EXPECT_EQ(t.get<QLabel>("labB")->text(), QStringLiteral("AA"));
    last->setValue(256);
    EXPECT_EQ(t.get<QLabel>("labB")->text(), QStringLiteral("IV"));
    // Lowering the end below the start is allowed; a run then takes every column.
    last->setValue(3);
    EXPECT_EQ(first->value(), 27);
    t.tab.correctColumnRange();
    EXPECT_EQ(first->value(), 1);
    EXPECT_EQ(last->value(), 256);
    EXPECT_EQ(t.tab.choices().firstLetters, QStringLiteral("A"));
}

TEST(ExportTab, HintShowsUntilItsTimerTicks) {
    Tab t;
    auto *hint = t.get<QLabel>("labHinw1");
    auto *timer = t.get<QTimer>("Timer1");
    EXPECT_EQ(timer->interval(), 8000);
    t.tab.showHint();
    EXPECT_FALSE(hint->isHidden());
    EXPECT_TRUE(timer->isActive());
    timer->setInterval(1);
    timer->start();
    QElapsedTimer waited;
    waited.start();
    while (!hint->isHidden() && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(hint->isHidden());
}
