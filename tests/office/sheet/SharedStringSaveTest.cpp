// Shared strings on save: a translated sheet drops the strings no cell uses any more,
// the other sheets' LABELSST records follow the renumbering, a text the SST already
// holds takes its entry, and saving the same translation again does not grow the file.

#include "WorkbookFiles.h"

#include "office/sheet/TypedInput.h"
#include "office/sheet/Workbook.h"

#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace office::sheet;

namespace {

// Every cell value of every sheet, as "sheet\trow\tcol" -> value text.
QMap<QString, QString> allValues(const Workbook &book) {
    QMap<QString, QString> values;
    for (int n = 1; n <= book.sheetCount(); ++n) {
        const Worksheet &sheet = *book.sheet(n);
        for (const Cell &cell : sheet.cells()) {
            const CellValue v = sheet.value(cell.row(), cell.column());
            if (v.isEmpty()) continue;
            values[QStringLiteral("%1\t%2\t%3").arg(n).arg(cell.row()).arg(cell.column())] =
                QString::number(int(v.kind())) + u'\t' +
                (v.kind() == ValueKind::Text ? v.textValue() : QString::number(v.toDouble(), 'g', 17));
        }
    }
    return values;
}

struct Write {
    int sheet, row, column;
    QString text;
};

// A translation of every constant text cell of the first worksheet that has one.
QList<Write> translationOfOneSheet(const Workbook &book) {
    QList<Write> writes;
    for (int n = 1; n <= book.worksheetCount() && writes.isEmpty(); ++n) {
        const Worksheet &sheet = *book.worksheet(n);
        for (const Cell &cell : sheet.cells())
            if (!cell.isFormula() && sheet.valueOf(cell).kind() == ValueKind::Text)
                writes.append({sheet.index(), cell.row(), cell.column(),
                               QStringLiteral("Ü ") + sheet.valueOf(cell).textValue()});
    }
    return writes;
}

void apply(Workbook &book, const QList<Write> &writes, QMap<QString, QString> *expected = nullptr) {
    for (const Write &w : writes) {
        Worksheet &sheet = *book.sheet(w.sheet);
        EXPECT_TRUE(sheet.setValue(w.row, w.column, w.text, QLocale::c()));
        if (expected)
            (*expected)[QStringLiteral("%1\t%2\t%3").arg(w.sheet).arg(w.row).arg(w.column)] =
                QString::number(int(ValueKind::Text)) + u'\t' + sheet.value(w.row, w.column).textValue();
    }
}

// SST entries no cell refers to.
int unusedSharedStrings(const Workbook &book) {
    std::set<std::uint32_t> used;
    for (int n = 1; n <= book.sheetCount(); ++n)
        for (const Cell &cell : book.sheet(n)->cells())
            if (!cell.isFormula() && cell.type == CellType::Text && cell.ref < std::uint32_t(book.sharedStringCount()))
                used.insert(cell.ref);
    return book.sharedStringCount() - int(used.size());
}

}  // namespace

// One translated sheet: the other sheets read as before, the SST holds only strings
// that cells use; the same translation imported again keeps the file's size.
TEST(SharedStrings, TranslatedSheetKeepsOtherSheetsAndSecondImportDoesNotGrow) {
    QTemporaryDir dir;
    int checked = 0;
    for (const QString &path : sheettest::workbookFiles(4 * 1024 * 1024)) {
        std::unique_ptr<Workbook> book;
        if (!Workbook::open(path, book).ok || book->biffVersion() != 8) continue;
        const QList<Write> translation = translationOfOneSheet(*book);
        if (translation.isEmpty()) continue;
        SCOPED_TRACE(path.toStdString());
        ++checked;
        QMap<QString, QString> expected = allValues(*book);
        apply(*book, translation, &expected);
        const QString first = dir.filePath(QStringLiteral("first.xls")), second = dir.filePath(QStringLiteral("second.xls"));
        ASSERT_TRUE(book->saveAs(first).ok);

        std::unique_ptr<Workbook> once;
        ASSERT_TRUE(Workbook::open(first, once).ok);
        EXPECT_EQ(allValues(*once), expected);
        EXPECT_EQ(unusedSharedStrings(*once), 0);

        apply(*once, translation);
        ASSERT_TRUE(once->saveAs(second).ok);
        std::unique_ptr<Workbook> twice;
        ASSERT_TRUE(Workbook::open(second, twice).ok);
        EXPECT_EQ(allValues(*twice), expected);
        EXPECT_EQ(twice->sharedStringCount(), once->sharedStringCount());
        const double firstSize = double(QFileInfo(first).size()), secondSize = double(QFileInfo(second).size());
        EXPECT_LE(std::abs(secondSize - firstSize), firstSize / 100) << firstSize << " -> " << secondSize;
    }
    EXPECT_GT(checked, testsupport::corpusDir().isEmpty() ? 0 : 30);
}

// Typing the text a text cell already holds leaves the cell as read: the same string
// entry (with its formatting runs), the same record flags, and an untouched sheet.
TEST(SharedStrings, TypingACellsOwnTextChangesNothing) {
    int checked = 0;
    for (const QString &path : sheettest::workbookFiles(4 * 1024 * 1024)) {
        std::unique_ptr<Workbook> book;
        if (!Workbook::open(path, book).ok) continue;
        SCOPED_TRACE(path.toStdString());
        for (int n = 1; n <= book->worksheetCount(); ++n) {
            Worksheet &sheet = *book->worksheet(n);
            bool onlyTexts = true;
            for (const Cell before : std::vector<Cell>(sheet.cells().begin(), sheet.cells().end())) {
                if (before.isFormula() || before.type != CellType::Text) continue;
                const QString text = sheet.valueOf(before).textValue();
                if (interpretTypedText(text, QLocale::c(), book->isDate1904(), false).kind != TypedInput::Text) {
                    onlyTexts = false;  // typing it makes a number or a date: a real change
                    continue;
                }
                ASSERT_TRUE(sheet.setValue(before.row(), before.column(), text, QLocale::c()));
                const Cell *after = sheet.cell(before.row(), before.column());
                ASSERT_NE(after, nullptr);
                EXPECT_EQ(after->ref, before.ref);
                EXPECT_EQ(after->flags, before.flags);
                ++checked;
            }
            if (onlyTexts) {
                EXPECT_FALSE(sheet.isModified()) << "sheet " << n;
            }
        }
    }
    EXPECT_GT(checked, testsupport::corpusDir().isEmpty() ? 0 : 1000);
}

// New texts and the SST on save: a text that a plain SST string holds takes that
// entry, one that only a string with formatting runs holds gets a plain entry of
// its own, and two cells given the same new text share one entry.
TEST(SharedStrings, NewTextsTakeEqualPlainEntriesOnce) {
    QTemporaryDir dir;
    int checked = 0, formattedChecked = 0;
    for (const QString &path : sheettest::workbookFiles(4 * 1024 * 1024)) {
        std::unique_ptr<Workbook> book;
        if (!Workbook::open(path, book).ok || book->biffVersion() != 8 || book->worksheetCount() == 0) continue;
        Worksheet &sheet = *book->worksheet(1);
        // Constant text cells: the targets are written, the sources lend their texts.
        // Only texts that stay texts when typed can be lent.
        std::vector<Cell> texts, plain, formatted;
        for (const Cell &cell : sheet.cells()) {
            if (cell.isFormula() || cell.type != CellType::Text || cell.ref >= std::uint32_t(book->sharedStringCount())) continue;
            texts.push_back(cell);
            const QString text = sheet.valueOf(cell).textValue();
            if (text.trimmed().isEmpty() ||
                interpretTypedText(text, QLocale::c(), book->isDate1904(), false).kind != TypedInput::Text)
                continue;
            (book->sstFormatting(cell.ref) ? formatted : plain).push_back(cell);
        }
        if (texts.size() < 6 || plain.size() < 2) continue;
        SCOPED_TRACE(path.toStdString());
        const auto textOf = [&](const Cell &c) { return sheet.valueOf(c).textValue(); };
        const Cell lender = plain.back();
        const QString lent = textOf(lender);
        // The cells written to hold other texts than those they take.
        std::vector<Cell> targets;
        for (const Cell &c : texts)
            if (c.ref != lender.ref && (formatted.empty() || c.ref != formatted.front().ref) && targets.size() < 3)
                targets.push_back(c);
        if (targets.size() < 3) continue;
        const QString fresh = QStringLiteral("Neu übersetzt \u2013 %1").arg(checked);
        struct Case {
            Cell target;
            QString text;
        };
        std::vector<Case> cases = {{targets[0], lent}, {targets[1], fresh}, {targets[2], fresh}};
        if (!formatted.empty()) cases.push_back({Cell{}, textOf(formatted.front())});
        QMap<QString, QString> expected = allValues(*book);
        QList<Write> writes;
        int freeRow = 1;
        for (const Cell &c : sheet.cells()) freeRow = std::max(freeRow, c.row() + 1);
        for (Case &c : cases) {
            if (c.target.row0 == 0 && c.target.column0 == 0 && c.target.type == CellType::Blank)  // a cell of its own
                c.target.row0 = std::uint16_t(freeRow - 1);
            writes.append({sheet.index(), c.target.row(), c.target.column(), c.text});
        }
        if (freeRow > 65536) continue;
        apply(*book, writes, &expected);
        const QString saved = dir.filePath(QStringLiteral("saved.xls"));
        ASSERT_TRUE(book->saveAs(saved).ok);
        std::unique_ptr<Workbook> back;
        ASSERT_TRUE(Workbook::open(saved, back).ok);
        EXPECT_EQ(allValues(*back), expected);
        const Worksheet &written = *back->worksheet(1);
        const auto refAt = [&](const Cell &c) {
            const Cell *cell = written.cell(c.row(), c.column());
            return cell ? cell->ref : 0xFFFFFFFFu;
        };
        EXPECT_EQ(refAt(cases[0].target), refAt(lender)) << "a plain SST text takes its entry";
        EXPECT_EQ(refAt(cases[1].target), refAt(cases[2].target)) << "one entry for one new text";
        if (cases.size() > 3) {
            EXPECT_NE(refAt(cases[3].target), refAt(formatted.front())) << "formatting runs are not taken over";
            EXPECT_FALSE(back->sstFormatting(refAt(cases[3].target)));
            ++formattedChecked;
        }
        ++checked;
    }
    if (!testsupport::corpusDir().isEmpty()) {
        EXPECT_GT(checked, 20);
        EXPECT_GT(formattedChecked, 0);
    }
}
