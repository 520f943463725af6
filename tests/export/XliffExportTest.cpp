// The XLIFF export against the tagged export (same cells, counting and log),
// read by translate-toolkit, and translated back through the import by a
// script and by OmegaT, checked with xlrd.
#include "FormatsTestSupport.h"

#include "export/XliffWriter.h"
#include "import/ImportRun.h"
#include "import/XliffReader.h"
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace celltrove;

namespace {

const QStringList kWorkbooks{QStringLiteral("formats.xls"), QStringLiteral("kinds.xls")};

struct XliffSheet {
    QString original;  // "a.xls#1"
    QString name;
    QStringList cellIds;
    QStringList commentIds;
    QMap<QString, QString> sources;  // by unit id, line-break codes dropped
};

QList<XliffSheet> sheetsOf(const QString &path) {
    QList<XliffSheet> sheets;
    QXmlStreamReader xml(testsupport::readFile(path));
    QString unitId;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"file") {
            sheets.append(XliffSheet{});
            sheets.last().original = xml.attributes().value(QStringLiteral("original")).toString();
        }
        if (xml.name() == u"sheet") sheets.last().name = xml.readElementText();
        if (xml.name() == u"trans-unit") {
            unitId = xml.attributes().value(QStringLiteral("id")).toString();
            (unitId.startsWith(QLatin1String("comment:")) ? sheets.last().commentIds : sheets.last().cellIds) << unitId;
        }
        if (xml.name() == u"source") {
            sheets.last().sources[unitId] = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return sheets;
}

QString unescape(const QString &text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar c = text[++i];
        out += c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c == u'r' ? QChar(u'\r') : c;
    }
    return out;
}

// What xlrd reads: "cell|note <TAB>sheet<TAB>row,col" -> {kind, text}.
struct XlrdValue {
    QString kind;
    QString text;
    bool operator==(const XlrdValue &) const = default;
};
QMap<QString, XlrdValue> xlrdCells(const QString &workbook) {
    const auto r = testsupport::runProgram(
        QStringLiteral("/usr/bin/python3"),
        {testsupport::fixtureDir() + QStringLiteral("/xlrd_dump.py"), QStringLiteral("--dates"), workbook});
    QMap<QString, XlrdValue> cells;
    for (const QString &line : QString::fromUtf8(r.out).split(u'\n')) {
        const QStringList f = line.split(u'\t');
        if (f.size() >= 6 && f[0] == QLatin1String("cell"))
            cells.insert(QStringLiteral("cell\t") + f[1] + u'\t' + f[2] + u',' + f[3],
                         {f[4], unescape(f.mid(5).join(u'\t'))});
        if (f.size() >= 5 && f[0] == QLatin1String("note"))
            cells.insert(QStringLiteral("note\t") + f[1] + u'\t' + f[2] + u',' + f[3],
                         {QStringLiteral("note"), unescape(f.mid(4).join(u'\t'))});
    }
    return cells;
}

QStringList withoutVolatileLines(QStringList lines) {
    lines.removeAt(1);  // date and time
    lines.removeIf([](const QString &l) { return l.startsWith(QLatin1String("Option: Export Excel")); });
    return lines;
}

bool copyWorkbooks(ExportFixture &f) {
    for (const QString &name : kWorkbooks)
        if (!QFile::copy(testsupport::fixtureDir() + QStringLiteral("/xls/") + name, f.path(name))) return false;
    return true;
}

run::RunOptions optionSet(int n) {
    run::RunOptions o;
    if (n == 1) {
        o.exportNumbers = true;
        o.comments = false;
        o.columnRange = true;
        o.rangeStart = 2;
        o.rangeEnd = 5;
    } else if (n == 2) {
        o.formulas = true;
        o.allLevels = false;
    }
    return o;
}

}  // namespace

// Whatever a cell holds, the file stays well-formed and the reader gets the text back.
TEST(XliffWriter, EveryTextComesBackThroughTheReader) {
    const QString texts[] = {
        QStringLiteral("plain"),
        QStringLiteral("a\nb\n\nc\n"),
        QStringLiteral("<&>\"'\t]]>"),
        QStringLiteral("\x01\x08\x0B\x0C\x1F\r\r\n"),
        QString(QChar(0xD800)) + u'x' + QChar(0xDC00) + QChar(0xFFFE) + QChar(0xFFFF) + QStringLiteral("\U0001F600"),
        QStringLiteral("  two blanks  "),
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.xlf"));
    exporting::XliffWriter writer;
    ASSERT_TRUE(writer.open(path));
    exporting::XliffSheetHeader header;
    header.workbookFileName = QStringLiteral("a#b.xls");
    header.sheetName = QStringLiteral("bad\x01name");
    header.sourceLanguage = QStringLiteral("de-DE");
    writer.beginFile(header);
    for (int i = 0; i < int(std::size(texts)); ++i)
        writer.writeUnit(QString::number(i + 1) + QStringLiteral(",1"), QStringLiteral("A1"), texts[i], texts[i]);
    writer.endFile();
    ASSERT_TRUE(writer.commit());

    importing::XliffDocument document;
    const office::Status read = importing::ReadXliffFile(path, document);
    ASSERT_TRUE(read) << read.message.toStdString();
    ASSERT_EQ(document.files.size(), 1u);
    EXPECT_EQ(document.files[0].original, QStringLiteral("a#b.xls#1"));
    ASSERT_EQ(document.files[0].units.size(), std::size(texts));
    for (int i = 0; i < int(std::size(texts)); ++i) {
        EXPECT_EQ(document.files[0].units[i].text, texts[i]) << i;
        EXPECT_FALSE(document.files[0].units[i].changed) << i;
    }
}

TEST(XliffExport, WritesTheTaggedExportsCellsWithTheSameCountingAndLog) {
    for (int options = 0; options < 3; ++options) {
        ExportFixture tagged, xliff;
        ASSERT_TRUE(copyWorkbooks(tagged) && copyWorkbooks(xliff));
        run::RunRequest request = tagged.request(kWorkbooks);
        request.options = optionSet(options);
        ASSERT_FALSE(tagged.run(request).runError);
        request = xliff.request(kWorkbooks);
        request.options = optionSet(options);
        request.format = run::ExportFormat::Xliff;
        ASSERT_FALSE(xliff.run(request).runError) << xliff.logLines().join(u'\n').toStdString();
        EXPECT_EQ(withoutVolatileLines(xliff.logLines()), withoutVolatileLines(tagged.logLines())) << options;

        for (const QString &workbook : kWorkbooks) {
            const QList<XliffSheet> sheets =
                sheetsOf(xliff.path(QStringLiteral("Text_") + workbook + QStringLiteral(".xlf")));
            const QStringList rtfFiles =
                QDir(tagged.dir.path()).entryList({QStringLiteral("Text_") + workbook + QStringLiteral("-*.rtf")});
            ASSERT_EQ(sheets.size(), rtfFiles.size()) << workbook.toStdString();
            for (const XliffSheet &sheet : sheets) {
                const QString index = sheet.original.section(u'#', -1);
                EXPECT_EQ(sheet.original.section(u'#', 0, -2), workbook);
                const QByteArray rtf =
                    testsupport::readFile(tagged.path(QStringLiteral("Text_%1-%2.rtf").arg(workbook, index)));
                EXPECT_EQ(sheet.cellIds, markersInRtf(rtf))
                    << workbook.toStdString() << " sheet " << index.toStdString();
                EXPECT_EQ(sheet.commentIds.size(), rtf.count("<comm>")) << workbook.toStdString();
            }
        }
    }
}

// translate-toolkit's xliff2po reads every unit, with the text the workbook holds.
TEST(XliffExport, TranslateToolkitReadsEveryUnitAsTheWorkbookHoldsIt) {
    REQUIRE_PROGRAM("xliff2po");
    ExportFixture f;
    ASSERT_TRUE(copyWorkbooks(f));
    run::RunRequest request = f.request(kWorkbooks);
    request.format = run::ExportFormat::Xliff;
    ASSERT_FALSE(f.run(request).runError);
    for (const QString &workbook : kWorkbooks) {
        const QString path = f.path(QStringLiteral("Text_") + workbook + QStringLiteral(".xlf"));
        const auto po = testsupport::runProgram(
            QStringLiteral("/usr/bin/python3"),
            {QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../export/po_units.py")), path});
        ASSERT_EQ(po.exitCode, 0) << po.err.toStdString();
        QStringList read = QString::fromUtf8(po.out).split(u'\n', Qt::SkipEmptyParts);

        // xliff2po drops the line-break codes; dates and errors are texts only in our export.
        const QMap<QString, XlrdValue> cells = xlrdCells(f.path(workbook));
        QStringList expected;
        int units = 0;
        for (const XliffSheet &sheet : sheetsOf(path)) {
            for (const QString &id : sheet.cellIds + sheet.commentIds) {
                ++units;
                const bool comment = id.startsWith(QLatin1String("comment:"));
                const QString key = (comment ? QStringLiteral("note\t") : QStringLiteral("cell\t")) + sheet.name +
                                    u'\t' + id.section(u':', -1);
                ASSERT_TRUE(cells.contains(key)) << key.toStdString();
                const XlrdValue value = cells.value(key);
                // Dates, booleans and errors go out as the texts they show, which xlrd does not give.
                const bool shownText = value.kind != QLatin1String("text") && value.kind != QLatin1String("note");
                QString text = shownText ? sheet.sources.value(id) : value.text;
                expected << id + u'\t' +
                                text.remove(u'\n')
                                    .replace(u'\\', QStringLiteral("\\\\"))
                                    .replace(u'\t', QStringLiteral("\\t"));
            }
        }
        read.sort();
        expected.sort();
        EXPECT_GT(units, 10);
        EXPECT_EQ(read, expected) << workbook.toStdString();
    }
}

namespace {

using Translator = std::function<bool(ExportFixture &f, const QStringList &xliffFiles)>;

// Exports both workbooks (numbers too), lets `translate` put every target in
// capitals, imports, and checks with xlrd that every exported text cell and
// comment came back in capitals and every other cell as it was.
void roundTrip(const Translator &translate, const QMap<QString, QString> &extraCells = {}) {
    ExportFixture f;
    ASSERT_TRUE(copyWorkbooks(f));
    if (!extraCells.isEmpty()) {
        std::unique_ptr<office::sheet::Workbook> book;
        ASSERT_TRUE(office::sheet::Workbook::open(f.path(kWorkbooks[0]), book));
        for (auto it = extraCells.begin(); it != extraCells.end(); ++it)
            book->worksheet(1)->setValue(it.key().section(u',', 0, 0).toInt(), it.key().section(u',', 1).toInt(),
                                         it.value());
        ASSERT_TRUE(book->save());
    }
    QMap<QString, QMap<QString, XlrdValue>> before;
    for (const QString &workbook : kWorkbooks) before[workbook] = xlrdCells(f.path(workbook));

    run::RunRequest request = f.request(kWorkbooks);
    request.format = run::ExportFormat::Xliff;
    request.options.exportNumbers = true;
    request.sourceLanguage = QStringLiteral("de-DE");
    request.targetLanguage = QStringLiteral("en-US");
    ASSERT_FALSE(f.run(request).runError);
    QStringList files;
    QMap<QString, QList<XliffSheet>> exported;
    for (const QString &workbook : kWorkbooks) {
        files << QStringLiteral("Text_") + workbook + QStringLiteral(".xlf");
        exported[workbook] = sheetsOf(f.path(files.last()));
    }
    ASSERT_TRUE(translate(f, files));

    run::RunRequest back = f.request(files);
    back.fileTypeFilter = run::FileTypeFilter::Xliff;
    const importing::ImportOutcome imported = importing::RunImport(back, f.texts, f.settings, f.ui);
    EXPECT_FALSE(imported.runError) << testsupport::readFile(imported.logPath).toStdString();

    int translated = 0;
    for (const QString &workbook : kWorkbooks) {
        QSet<QString> unitKeys;
        for (const XliffSheet &sheet : exported[workbook]) {
            for (const QString &id : sheet.cellIds) unitKeys << QStringLiteral("cell\t") + sheet.name + u'\t' + id;
            for (const QString &id : sheet.commentIds)
                unitKeys << QStringLiteral("note\t") + sheet.name + u'\t' + id.section(u':', -1);
        }
        const QMap<QString, XlrdValue> after = xlrdCells(f.path(workbook));
        EXPECT_EQ(after.keys(), before[workbook].keys()) << workbook.toStdString();
        for (auto it = before[workbook].begin(); it != before[workbook].end(); ++it) {
            XlrdValue expected = it.value();
            // A date, boolean or error goes out as the text it shows; in capitals it comes back as that text.
            const bool shownText = expected.kind != QLatin1String("text") && expected.kind != QLatin1String("note") &&
                                   expected.kind != QLatin1String("number");
            if (shownText && unitKeys.contains(it.key())) continue;
            if (unitKeys.contains(it.key()) &&
                (expected.kind == QLatin1String("text") || expected.kind == QLatin1String("note")) &&
                expected.text.toUpper() != expected.text) {
                expected.text = expected.text.toUpper();
                ++translated;
            }
            const XlrdValue got = after.value(it.key());
            EXPECT_EQ(got.kind, expected.kind) << it.key().toStdString();
            EXPECT_EQ(got.text, expected.text) << it.key().toStdString();
        }
    }
    EXPECT_GT(translated, 20);
}

}  // namespace

TEST(XliffRoundTrip, ScriptTranslationReachesEveryUnitAndNothingElse) {
    REQUIRE_PROGRAM("/usr/bin/python3");
    // Characters XML cannot hold travel as codes and come back.
    const QString controls = QStringLiteral("ctl\x01") + QStringLiteral("a\rb\x1F") + QChar(0xFFFF) + u'c';
    roundTrip(
        [](ExportFixture &f, const QStringList &files) {
            EXPECT_TRUE(testsupport::readFile(f.path(files[0])).contains(R"(ctype="x-char">U+0001</ph>)"));
            for (const QString &file : files) {
                const auto r = testsupport::runProgram(
                    QStringLiteral("/usr/bin/python3"),
                    {QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../export/xliff_translate.py")),
                     f.path(file), f.path(file)});
                if (r.exitCode != 0) return false;
            }
            return true;
        },
        {{QStringLiteral("40,1"), controls}});
}

TEST(XliffRoundTrip, OmegaTTranslationReachesEveryUnitAndNothingElse) {
    REQUIRE_PROGRAM("omegat");
    roundTrip([](ExportFixture &f, const QStringList &files) {
        QStringList args{QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../export/omegat_translate.py")),
                         QStringLiteral("DE-DE"), QStringLiteral("EN-US")};
        for (const QString &file : files) args << f.path(file);
        const auto r = testsupport::runProgram(QStringLiteral("/usr/bin/python3"), args, 600000);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.exitCode == 0;
    });
}
