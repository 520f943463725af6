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
