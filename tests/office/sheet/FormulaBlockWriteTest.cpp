// Overwriting a cell of a shared or array formula: the first, a middle and the last
// formula cell of such ranges in the fixtures and the corpus are overwritten with a
// text; every other formula still reads with its formula and result, in our reader,
// Apache POI (strict about shared formula records), xlrd, Gnumeric and LibreOffice.

#include "WorkbookFiles.h"

#include "office/sheet/FormulaBlockPlan.h"
#include "office/sheet/Workbook.h"

#include "support/TestSupport.h"

#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

using namespace office::sheet;

namespace {

struct Variant {
    QString original, saved;
    QString sheetName;
    int row = 0, column = 0;  ///< the overwritten cell
    CellRange array{0, -1, 0, -1};  ///< the array whose cells became formulas of their own
};

// The formula cells that name the block (row-major), 1-based.
std::vector<std::pair<int, int>> usersOf(const Worksheet &sheet, const FormulaBlock &block) {
    std::vector<std::pair<int, int>> users;
    for (const Cell &cell : sheet.cells()) {
        if (!cell.isFormula() || cell.ref >= sheet.formulas().size()) continue;
        const auto target = sharedReferenceOf(sheet.formulas()[cell.ref].record);
        if (target && target->first == block.range.firstRow && target->second == block.range.firstColumn &&
            block.range.contains(cell.row(), cell.column()))
            users.emplace_back(cell.row(), cell.column());
    }
    return users;
}

// Formula text and value of every formula cell, "sheet\trow\tcol" -> "formula\tvalue".
QMap<QString, QString> formulas(const Workbook &book) {
    QMap<QString, QString> out;
    for (int n = 1; n <= book.worksheetCount(); ++n) {
        const Worksheet &sheet = *book.worksheet(n);
        for (const Cell &cell : sheet.cells())
            if (cell.isFormula())
                out[QStringLiteral("%1\t%2\t%3").arg(sheet.name()).arg(cell.row()).arg(cell.column())] =
                    sheet.formula(cell.row(), cell.column()) + u'\t' + sheet.text(cell.row(), cell.column());
    }
    return out;
}

// A dump's lines by file, without the lines of the overwritten cell.
QMap<QString, QStringList> dumpLines(const QByteArray &dump) {
    QMap<QString, QStringList> files;
    QStringList *current = nullptr;
    for (const QString &line : QString::fromUtf8(dump).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("file\t"))) current = &files[line.mid(5)];
        else if (current) current->append(line);
    }
    return files;
}

// A cell's lines, without the overwritten cell's. The cells of a broken array are
// formulas of their own now: LibreOffice shows them without the braces, Gnumeric
// lists each of them instead of the array's first cell (with dropArray).
QStringList withoutCell(QStringList lines, const Variant &v, int dropField, bool dropArray) {
    const QString key = QStringLiteral("cell\t%1\t%2\t%3\t").arg(v.sheetName).arg(v.row).arg(v.column);
    lines.removeIf([&](const QString &line) {
        const QStringList f = line.split(u'\t');
        const bool inArray = f.size() > 3 && f[0] == QLatin1String("cell") && f[1] == v.sheetName &&
                             v.array.contains(f[2].toInt(), f[3].toInt());
        return line.startsWith(key) || (dropArray && inArray);
    });
    for (QString &line : lines) {
        QStringList f = line.split(u'\t');
        for (QString &field : f)
            if (field.startsWith(QLatin1String("{=")) && field.endsWith(u'}')) field = field.mid(1).chopped(1);
        line = f.join(u'\t');
    }
    if (dropField >= 0)
        for (QString &line : lines) {
            QStringList f = line.split(u'\t');
            if (f.size() > dropField && f[0] == QLatin1String("cell") && f.contains(QLatin1String("formula")))
                line = f.mid(0, dropField).join(u'\t');
        }
    return lines;
}

}  // namespace

TEST(FormulaBlocks, OverwrittenCellsLeaveTheOtherFormulasWorking) {
    QTemporaryDir dir;
    QList<Variant> variants;
    for (const QString &path : sheettest::workbookFiles(1024 * 1024)) {
        std::unique_ptr<Workbook> book;
        if (!Workbook::open(path, book).ok || book->biffVersion() != 8) continue;
        const QMap<QString, QString> before = formulas(*book);
        // The first shared and the first array range of two or more cells.
        for (const FormulaBlock::Kind kind : {FormulaBlock::Shared, FormulaBlock::Array}) {
            const Worksheet *found = nullptr;
            CellRange range;
            std::vector<std::pair<int, int>> users;
            for (int n = 1; n <= book->worksheetCount() && !found; ++n)
                for (const FormulaBlock &block : book->worksheet(n)->formulaBlocks())
                    if (block.kind == kind && (users = usersOf(*book->worksheet(n), block)).size() >= 2) {
                        found = book->worksheet(n);
                        range = block.range;
                        break;
                    }
            if (!found) continue;
            for (const std::size_t at : {std::size_t(0), users.size() / 2, users.size() - 1}) {
                std::unique_ptr<Workbook> copy;
                ASSERT_TRUE(Workbook::open(path, copy).ok);
                Worksheet &sheet = *copy->sheet(found->index());
                const auto [row, column] = users[at];
                SCOPED_TRACE(QStringLiteral("%1 %2!R%3C%4").arg(path, sheet.name()).arg(row).arg(column).toStdString());
                ASSERT_TRUE(sheet.setValue(row, column, QStringLiteral("Übersetzt"), QLocale::c()));
                const Variant v{path, dir.filePath(QStringLiteral("%1-%2").arg(variants.size()).arg(QFileInfo(path).fileName())),
                                sheet.name(), row, column,
                                kind == FormulaBlock::Array ? range : CellRange{0, -1, 0, -1}};
                ASSERT_TRUE(copy->saveAs(v.saved).ok);
                std::unique_ptr<Workbook> again;
                ASSERT_TRUE(Workbook::open(v.saved, again).ok);
                QMap<QString, QString> expected = before;
                expected.remove(QStringLiteral("%1\t%2\t%3").arg(sheet.name()).arg(row).arg(column));
                EXPECT_EQ(formulas(*again), expected);
                EXPECT_EQ(again->sheet(found->index())->value(row, column), CellValue::text(QStringLiteral("Übersetzt")));
                variants.append(v);
            }
        }
    }
    EXPECT_GE(variants.size(), testsupport::corpusDir().isEmpty() ? 0 : 6);

    const struct {
        const char *name, *program;
        QStringList command;
        int dropFormulaField;  ///< field cut off formula cells' lines (results that a reader recalculates)
    } readers[] = {
        {"POI", "java", sheettest::poiDumpArguments(), -1},
        {"xlrd", "/usr/bin/python3", {testsupport::fixtureDir() + QStringLiteral("/xlrd_dump.py")}, -1},
        {"Gnumeric", "ssconvert", {testsupport::fixtureDir() + QStringLiteral("/gnumeric_dump.py")}, 6},
        {"LibreOffice", "soffice", {testsupport::fixtureDir() + QStringLiteral("/lo_calc_dump.py")}, 7},
    };
    for (const auto &reader : readers) {
        SCOPED_TRACE(reader.name);
        if (!testsupport::haveProgram(QString::fromLatin1(reader.program)) || reader.command.isEmpty()) {
            std::printf("[ SKIPPED  ] %s not installed\n", reader.name);
            continue;
        }
        QStringList args = reader.command;
        for (const Variant &v : variants) args << v.original << v.saved;
        const bool java = QLatin1String(reader.program) == QLatin1String("java");
        const auto r = testsupport::runProgram(java ? QStringLiteral("java") : QStringLiteral("/usr/bin/python3"), args, 900000);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const auto dumps = dumpLines(r.out);
        for (const Variant &v : variants) {
            SCOPED_TRACE(v.saved.toStdString());
            const QStringList before = dumps.value(v.original), after = dumps.value(v.saved);
            if (before.isEmpty() || before.front().startsWith(QLatin1String("refused"))) continue;
            const bool dropArray = QLatin1String(reader.name) == QLatin1String("Gnumeric");
            const QStringList was = withoutCell(before, v, reader.dropFormulaField, dropArray),
                              now = withoutCell(after, v, reader.dropFormulaField, dropArray);
            QStringList problems;
            for (const QString &line : was)
                if (!now.contains(line)) problems << QStringLiteral("lost: ") + line.left(200);
            for (const QString &line : now)
                if (!was.contains(line)) problems << QStringLiteral("new: ") + line.left(200);
            EXPECT_TRUE(problems.isEmpty()) << problems.mid(0, 8).join(u'\n').toStdString();
        }
    }
}
