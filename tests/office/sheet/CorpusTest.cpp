// Every workbook of the shared corpus is read or refused with a reason, and what we
// read equals what python3-xlrd reads from the same BIFF5/BIFF8 files.

#include "office/sheet/Workbook.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QMap>

#include <gtest/gtest.h>

using namespace office::sheet;

namespace {

QStringList corpusWorkbooks() {
    const QDir dir(testsupport::corpusDir() + QStringLiteral("/xls"));
    QStringList paths;
    for (const QString &name : dir.entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

QString escaped(const QString &text) {
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

// One workbook as xlrd prints it: "cell"/"note" lines keyed by sheet, row, column.
struct Dump {
    bool refused = false;
    int biff = 0;
    QMap<QString, QString> cells;  // "sheet\trow\tcol" -> "kind\tvalue"
    QMap<QString, QString> notes;
    QStringList sheets;
};

QMap<QString, Dump> xlrdDumps(const QStringList &paths) {
    const auto r = testsupport::runProgram(QStringLiteral("/usr/bin/python3"),
                                           QStringList{testsupport::fixtureDir() + QStringLiteral("/xlrd_dump.py")} + paths,
                                           300000);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QMap<QString, Dump> dumps;
    Dump *current = nullptr;
    for (const QByteArray &raw : r.out.split('\n')) {
        const QStringList f = QString::fromUtf8(raw).split(QLatin1Char('\t'));
        if (f[0] == QLatin1String("file")) current = &dumps[f.value(1)];
        else if (!current) continue;
        else if (f[0] == QLatin1String("refused")) current->refused = true;
        else if (f[0] == QLatin1String("biff")) current->biff = f.value(1).toInt();
        else if (f[0] == QLatin1String("sheet")) current->sheets << f.value(1);
        else if (f[0] == QLatin1String("cell") && f.size() == 6)
            current->cells[f.mid(1, 3).join(QLatin1Char('\t'))] = f[4] + QLatin1Char('\t') + f[5];
        else if (f[0] == QLatin1String("note") && f.size() == 5)
            current->notes[f.mid(1, 3).join(QLatin1Char('\t'))] = f[4];
    }
    return dumps;
}

QString ourValue(const CellValue &v) {
    switch (v.kind()) {
    case ValueKind::Number:
    case ValueKind::Date: return QStringLiteral("number\t") + QString::number(v.toDouble(), 'g', 17);
    case ValueKind::Text: return QStringLiteral("text\t") + escaped(v.textValue());
    case ValueKind::Bool: return QStringLiteral("bool\t") + (v.boolValue() ? QLatin1Char('1') : QLatin1Char('0'));
    case ValueKind::Error: return QStringLiteral("error\t") + QString::number(v.errorCode());
    case ValueKind::Empty: break;
    }
    return {};
}

// xlrd prints Python's shortest repr; compare numbers as numbers.
bool sameValue(const QString &ours, const QString &theirs) {
    if (ours == theirs) return true;
    if (!ours.startsWith(QLatin1String("number\t")) || !theirs.startsWith(QLatin1String("number\t"))) return false;
    return ours.mid(7).toDouble() == theirs.mid(7).toDouble();
}

}  // namespace

TEST(Corpus, EveryWorkbookIsReadOrRefusedWithAReason) {
    REQUIRE_CORPUS();
    for (const QString &path : corpusWorkbooks()) {
        SCOPED_TRACE(path.toStdString());
        std::unique_ptr<Workbook> book;
        const office::Status st = Workbook::open(path, book);
        if (st) {
            ASSERT_TRUE(book);
            EXPECT_GE(book->sheetCount(), 1);
        } else {
            EXPECT_FALSE(book);
            EXPECT_FALSE(st.message.isEmpty());
        }
    }
}

TEST(Corpus, RefusalsNameTheirReason) {
    REQUIRE_CORPUS();
    const struct {
        const char *file;
        const char *reasonPart;
    } cases[] = {
        {"cal_too_small.xls", "keine OLE2"},
        {"edr_as3xls_BIFF2.xls", "BIFF2-4"},
        {"edr_as3xls_BIFF4.xls", "BIFF2-4"},
        {"pe_encrypted.xls", "Kennwort"},                        // RC4, other password
        {"edr_Test_git_issue_477_crypto_keylength40.xls", "Kennwort"},  // CryptoAPI, other password
        {"edr_Test_git_issue_242_xor_pwd_password.xls", "XOR"},
        {"edr_Test_git_issue_382_oom.xls", "OLE2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        std::unique_ptr<Workbook> book;
        const office::Status st = Workbook::open(testsupport::corpusFile(QStringLiteral("xls/") + QLatin1String(c.file)), book);
        ASSERT_FALSE(st.ok);
        EXPECT_TRUE(st.message.contains(QLatin1String(c.reasonPart))) << st.message.toStdString();
    }
}

TEST(Corpus, DefaultPasswordWorkbooksAreDecrypted) {
    REQUIRE_CORPUS();
    for (const char *file : {"pe_pers-protected.xls", "edr_protectedsheet-xxx.xls", "cal_issue_385.xls"}) {
        SCOPED_TRACE(file);
        std::unique_ptr<Workbook> book;
        ASSERT_TRUE(Workbook::open(testsupport::corpusFile(QStringLiteral("xls/") + QLatin1String(file)), book).ok);
        EXPECT_TRUE(book->wasDecrypted());
    }
    // The corpus says what the second one holds: A1 "x", A2 1.4.
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(testsupport::corpusFile(QStringLiteral("xls/edr_protectedsheet-xxx.xls")), book).ok);
    EXPECT_EQ(book->worksheet(1)->value(1, 1), CellValue::text(QStringLiteral("x")));
    EXPECT_EQ(book->worksheet(1)->value(2, 1).toDouble(), 1.4);
}

// Texts in cells that a merged area covers (written by tools that keep them) are
// values like any other; the spreadsheet keeps them too.
TEST(Corpus, CellsThatAMergedAreaCoversKeepTheirValues) {
    REQUIRE_CORPUS();
    std::unique_ptr<Workbook> book;
    ASSERT_TRUE(Workbook::open(testsupport::corpusFile(QStringLiteral("xls/edr_StringContinuationAfterCharacterData.xls")),
                               book)
                    .ok);
    const Worksheet *table1 = nullptr;
    for (int i = 1; i <= book->sheetCount() && !table1; ++i)
        if (book->sheet(i)->name() == QLatin1String("Table1")) table1 = book->sheet(i);
    ASSERT_TRUE(table1);
    ASSERT_EQ(table1->mergedAreas().size() > 0, true);
    EXPECT_EQ(table1->value(14, 27), CellValue::text(QStringLiteral("小 売 業")));  // AA13:AA17 starts at AA13
    EXPECT_EQ(table1->value(15, 25), CellValue::text(QStringLiteral("・")));
}

TEST(Corpus, CellsAndCommentsEqualXlrds) {
    REQUIRE_CORPUS();
    REQUIRE_PROGRAM("/usr/bin/python3");
    const QStringList paths = corpusWorkbooks();
    const QMap<QString, Dump> dumps = xlrdDumps(paths);
    int compared = 0;
    for (const QString &path : paths) {
        const Dump &theirs = dumps.value(path);
        if (theirs.refused || theirs.biff < 50) continue;
        SCOPED_TRACE(path.toStdString());
        std::unique_ptr<Workbook> book;
        const office::Status st = Workbook::open(path, book);
        ASSERT_TRUE(st.ok) << st.message.toStdString();
        ++compared;
        QMap<QString, QString> cells, notes;
        for (const QString &name : theirs.sheets) {
            const Worksheet *sheet = nullptr;
            for (int i = 1; i <= book->sheetCount() && !sheet; ++i)
                if (escaped(book->sheet(i)->name()) == name) sheet = book->sheet(i);
            ASSERT_TRUE(sheet) << "sheet missing: " << name.toStdString();
            // Through value(), as the export and the cells dump read a cell.
            for (const Cell &cell : sheet->cells()) {
                const CellValue v = sheet->value(cell.row(), cell.column());
                if (v.isEmpty() || (v.kind() == ValueKind::Text && v.textValue().isEmpty())) continue;
                cells[QStringLiteral("%1\t%2\t%3").arg(name).arg(cell.row()).arg(cell.column())] = ourValue(v);
            }
            for (const Comment &c : sheet->comments())
                notes[QStringLiteral("%1\t%2\t%3").arg(name).arg(c.row).arg(c.column)] = escaped(c.text);
        }
        EXPECT_EQ(cells.size(), theirs.cells.size());
        int mismatches = 0;
        for (auto it = theirs.cells.begin(); it != theirs.cells.end() && mismatches < 5; ++it) {
            const QString ours = cells.value(it.key());
            if (!sameValue(ours, it.value())) {
                ++mismatches;
                ADD_FAILURE() << it.key().toStdString() << ": ours " << ours.toStdString() << ", xlrd "
                              << it.value().toStdString();
            }
        }
        EXPECT_EQ(notes, theirs.notes);
    }
    EXPECT_GT(compared, 40);
}
