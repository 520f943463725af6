// Workbooks with some cells and comments changed and saved, read by python3-xlrd,
// Gnumeric and LibreOffice: each reads the changed values and comments, and its dump
// of everything else (cells, comments, sheet names, merged areas, hidden and outlined
// columns and rows, number formats) is the same as for the file before.

#include "WorkbookFiles.h"

#include "office/sheet/Workbook.h"

#include "support/TestSupport.h"

#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

using namespace office::sheet;

namespace {

const QLocale de(QLocale::German, QLocale::Germany);

// A changed cell or comment: the key its dump lines start with, what it now holds.
struct Change {
    QString key;    ///< "cell\tSheet\tRow\tColumn\t" or "note\t..."
    QString kind;   ///< "text", "number", "date" or "note"
    QString value;  ///< the text, or the number in C notation
    bool newRow = false;  ///< a cell in a row that had none
};

struct SavedWorkbook {
    QString original;
    QString saved;
    QList<Change> changes;
};

// How one program's dump is laid out (tests/fixtures/*_dump.py): field indexes of
// cell and note lines; -1 where the dump has no such field.
struct Reader {
    const char *name;
    const char *program;  ///< the program that must be installed
    const char *script;   ///< under tests/fixtures
    qint64 maxBytes;      ///< larger workbooks are left out (0: none)
    int cellFormat, cellKind, cellValue, noteAuthor, noteText;
    /// LibreOffice calculates formulas as it loads a workbook (NOW() always, and
    /// formulas that read changed cells): their results are not compared.
    bool recalculates;
};

const Reader kReaders[] = {
    {"xlrd", "/usr/bin/python3", "xlrd_dump.py", 0, -1, 4, 5, -1, 4, false},
    {"Gnumeric", "ssconvert", "gnumeric_dump.py", 300 * 1024, 4, 5, 7, 4, 5, false},
    {"LibreOffice", "soffice", "lo_calc_dump.py", 300 * 1024, 4, 5, 7, 4, 5, true},
};

QString key(const char *kind, const Worksheet &sheet, int row, int column) {
    return QStringLiteral("%1\t%2\t%3\t%4\t").arg(QLatin1String(kind), sheet.name()).arg(row).arg(column);
}

// In each worksheet the first three text cells become a text, a number and a date,
// a text goes into a new row right below the others (LibreOffice shows rows skipped
// over when a sheet hides rows by default), and the first comment gets a new text.
// The last of several worksheets stays as it is: it is copied as read, with the
// indexes of its LABELSST records renumbered when the shared strings change.
QList<Change> changeCellsAndComments(Workbook &book) {
    QList<Change> changes;
    const double dateSerial = book.isDate1904() ? 46380 - 1462 : 46380;
    const int changed = book.worksheetCount() > 1 ? book.worksheetCount() - 1 : book.worksheetCount();
    for (int n = 1; n <= changed; ++n) {
        Worksheet &sheet = *book.worksheet(n);
        std::vector<std::pair<int, int>> texts;
        for (const Cell &cell : sheet.cells()) {
            if (cell.isFormula() || (cell.flags & Cell::kCoveredByMerge) || sheet.valueOf(cell).kind() != ValueKind::Text)
                continue;
            texts.emplace_back(cell.row(), cell.column());
            if (texts.size() == 3) break;
        }
        const struct {
            const char *typed, *kind;  ///< typed: "" to type the value
            QString value;
        } typings[] = {// The first sheet's text is long and wide: the SST splits it over CONTINUE records.
                       {"", "text", QStringLiteral("Übersetzt %1").arg(n) + (n == 1 ? QString(9000, QChar(0x6587)) : QString())},
                       {"12,5", "number", QStringLiteral("12.5")},
                       {"24.12.2026", "date", QString::number(dateSerial)}};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto [row, column] = texts[i];
            const QString typed = i == 0 ? typings[i].value : QString::fromUtf8(typings[i].typed);
            EXPECT_TRUE(sheet.setValue(row, column, typed, de));
            changes.append({key("cell", sheet, row, column), QString::fromLatin1(typings[i].kind), typings[i].value});
        }
        if (!texts.empty()) {
            const int row = std::max(sheet.cells().back().row(), sheet.rowInfos().empty() ? 0 : sheet.rowInfos().back().row) + 1;
            if (row <= Worksheet::kRowCount) {
                EXPECT_TRUE(sheet.setValue(row, 2, QStringLiteral("Neu %1").arg(n), de));
                changes.append({key("cell", sheet, row, 2), QStringLiteral("text"), QStringLiteral("Neu %1").arg(n), true});
            }
        }
        if (sheet.commentCount() > 0) {
            EXPECT_TRUE(sheet.setCommentText(1, QStringLiteral("Neue Anmerkung ß\nzweite Zeile")));
            changes.append({key("note", sheet, sheet.comment(1).row, sheet.comment(1).column), QStringLiteral("note"),
                            QStringLiteral("Neue Anmerkung ß\\nzweite Zeile")});
        }
    }
    return changes;
}

// A dump's lines by the file they describe.
QMap<QString, QStringList> linesByFile(const QByteArray &dump) {
    QMap<QString, QStringList> files;
    QStringList *current = nullptr;
    for (const QString &line : QString::fromUtf8(dump).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("file\t"))) current = &files[line.mid(5)];
        else if (current) current->append(line);
    }
    return files;
}

QString lineFor(const QStringList &lines, const QString &key) {
    for (const QString &line : lines)
        if (line.startsWith(key)) return line;
    return {};
}

bool sameValue(const QString &kind, const QString &expected, const QString &got) {
    if (kind == QLatin1String("text") || kind == QLatin1String("note")) return got == expected;
    bool ok = false;
    return got.toDouble(&ok) == expected.toDouble() && ok;
}

// What differs between the dumps of a workbook before and after its changes.
QStringList differences(const Reader &reader, QStringList before, QStringList after, const QList<Change> &changes) {
    QStringList problems;
    if (reader.recalculates) {
        for (QStringList *lines : {&before, &after})
            for (QString &line : *lines) {
                QStringList fields = line.split(u'\t');
                if (fields.size() > reader.cellValue && fields[0] == QLatin1String("cell") &&
                    fields[reader.cellKind] == QLatin1String("formula"))
                    line = fields.mid(0, reader.cellValue).join(u'\t');
            }
    }
    for (const Change &change : changes) {
        const QStringList was = lineFor(before, change.key).split(QLatin1Char('\t'));
        const QStringList now = lineFor(after, change.key).split(QLatin1Char('\t'));
        const bool note = change.kind == QLatin1String("note");
        const int valueField = note ? reader.noteText : reader.cellValue;
        if (now.size() <= valueField) {
            problems << QStringLiteral("missing: ") + change.key;
            continue;
        }
        if (!sameValue(change.kind, change.value, now[valueField])) problems << QStringLiteral("reads: ") + now.join(u'\t');
        if (!note && now[reader.cellKind] != (change.kind == QLatin1String("text") ? QLatin1String("text") : QLatin1String("number")))
            problems << QStringLiteral("kind: ") + now.join(u'\t');
        // The cell keeps its number format (a date typed into a text cell gets a date
        // format; Gnumeric's format of the value itself, after "|", shows the rich-text
        // runs that a new text drops), the comment its author.
        const int kept = note ? reader.noteAuthor : (change.kind == QLatin1String("date") ? -1 : reader.cellFormat);
        if (kept >= 0 && was.size() > kept && now[kept].section(u'|', 0, 0) != was[kept].section(u'|', 0, 0))
            problems << QStringLiteral("not kept: ") + now.join(u'\t');
        const auto changed = [&](const QString &line) { return line.startsWith(change.key); };
        before.removeIf(changed);
        after.removeIf(changed);
        // A new cell in a sheet that hides rows by default goes into a hidden row, as
        // its neighbours are; Gnumeric shows those neighbours, and now lists the row.
        if (change.newRow) {
            const QString rowKey = QStringLiteral("rows\t%1\t1\t").arg(change.key.section(u'\t', 1, 2));
            after.removeIf([&](const QString &line) {
                return line.startsWith(rowKey) && line.section(u'\t', 5, 5) == QLatin1String("1") && !before.contains(line);
            });
        }
    }
    for (const QString &line : before)
        if (!after.contains(line)) problems << QStringLiteral("lost: ") + line.left(200);
    for (const QString &line : after)
        if (!before.contains(line)) problems << QStringLiteral("new: ") + line.left(200);
    if (problems.isEmpty() && before != after) problems << QStringLiteral("lines in another order");
    return problems;
}

}  // namespace

TEST(Writer, ChangedCellsAndCommentsReadByOtherProgramsEverythingElseKept) {
    QTemporaryDir dir;
    QList<SavedWorkbook> saved;
    for (const QString &path : sheettest::workbookFiles()) {
        std::unique_ptr<Workbook> book;
        if (!Workbook::open(path, book).ok || book->biffVersion() != 8) continue;
        SCOPED_TRACE(path.toStdString());
        SavedWorkbook workbook{path, dir.filePath(QStringLiteral("%1-%2").arg(saved.size()).arg(QFileInfo(path).fileName())),
                               changeCellsAndComments(*book)};
        if (workbook.changes.isEmpty()) continue;
        const office::Status st = book->saveAs(workbook.saved);
        ASSERT_TRUE(st.ok) << st.message.toStdString();
        // Our own reader opens it again, and the streams other than the workbook stream
        // are untouched.
        std::unique_ptr<Workbook> again;
        ASSERT_TRUE(Workbook::open(workbook.saved, again).ok);
        for (const auto &entry : book->container().entries()) {
            if (entry.path == book->streamName()) continue;
            const auto *savedEntry = again->container().find(entry.path);
            ASSERT_TRUE(savedEntry) << entry.path.toStdString();
            EXPECT_TRUE(savedEntry->data == entry.data) << entry.path.toStdString();
        }
        saved.append(workbook);
    }
    // The fixtures alone when the shared corpus is not beside the project.
    EXPECT_GT(saved.size(), testsupport::corpusDir().isEmpty() ? 0 : 40);

    // The programs run side by side, each over every workbook before and after.
    struct Run {
        const Reader *reader;
        QList<SavedWorkbook> workbooks;
        std::unique_ptr<QProcess> process;
    };
    std::vector<Run> runs;
    for (const Reader &reader : kReaders) {
        if (!testsupport::haveProgram(QString::fromLatin1(reader.program))) {
            std::printf("[ SKIPPED  ] %s not installed\n", reader.name);
            continue;
        }
        Run run{&reader, {}, std::make_unique<QProcess>()};
        QStringList args{testsupport::fixtureDir() + QLatin1Char('/') + QString::fromLatin1(reader.script)};
        for (const SavedWorkbook &workbook : saved) {
            if (reader.maxBytes > 0 && QFileInfo(workbook.original).size() > reader.maxBytes) continue;
            run.workbooks.append(workbook);
            args << workbook.original << workbook.saved;
        }
        run.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        run.process->start(QStringLiteral("/usr/bin/python3"), args);
        runs.push_back(std::move(run));
    }
    for (Run &run : runs) {
        SCOPED_TRACE(run.reader->name);
        ASSERT_TRUE(run.process->waitForFinished(900000));
        ASSERT_EQ(run.process->exitCode(), 0);
        const auto dumps = linesByFile(run.process->readAllStandardOutput());
        int compared = 0;
        for (const SavedWorkbook &workbook : run.workbooks) {
            SCOPED_TRACE(workbook.original.toStdString());
            const QStringList before = dumps.value(workbook.original), after = dumps.value(workbook.saved);
            if (before.isEmpty() || before.first().startsWith(QLatin1String("refused"))) continue;
            ASSERT_FALSE(after.isEmpty() || after.first().startsWith(QLatin1String("refused"))) << after.value(0).toStdString();
            const QStringList problems = differences(*run.reader, before, after, workbook.changes);
            EXPECT_TRUE(problems.isEmpty()) << problems.mid(0, 12).join(u'\n').toStdString();
            ++compared;
        }
        EXPECT_GT(compared, testsupport::corpusDir().isEmpty() ? 0 : 30);
    }

    // Apache POI accepts every saved workbook whose original it accepts, and reads
    // the cells that were not changed as before.
    const QStringList poi = sheettest::poiDumpArguments();
    if (poi.isEmpty()) {
        std::printf("[ SKIPPED  ] Apache POI not installed\n");
        return;
    }
    QStringList args = poi;
    for (const SavedWorkbook &workbook : saved) args << workbook.original << workbook.saved;
    const auto r = testsupport::runProgram(QStringLiteral("java"), args, 900000);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto dumps = linesByFile(r.out);
    int accepted = 0;
    for (const SavedWorkbook &workbook : saved) {
        SCOPED_TRACE(workbook.original.toStdString());
        QStringList before = dumps.value(workbook.original), after = dumps.value(workbook.saved);
        if (before.isEmpty() || before.first().startsWith(QLatin1String("refused"))) continue;
        ++accepted;
        ASSERT_FALSE(after.isEmpty() || after.first().startsWith(QLatin1String("refused"))) << after.value(0).toStdString();
        for (const Change &change : workbook.changes) {
            const auto changed = [&](const QString &line) { return line.startsWith(change.key); };
            before.removeIf(changed);
            after.removeIf(changed);
        }
        EXPECT_TRUE(before == after) << "POI reads the unchanged cells differently";
    }
    EXPECT_GT(accepted, testsupport::corpusDir().isEmpty() ? 0 : 30);
}
