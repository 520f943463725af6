// Our .doc files as LibreOffice Writer, antiword and catdoc read them: paragraph
// texts in order, the character style of every run, tables with their cells.
#include "DocSamples.h"
#include "LibreOfficeSupport.h"

#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

// The texts a plain-text dump should show, in story order: paragraphs and cells,
// split at line breaks, without characters outside the Basic Multilingual Plane
// (antiword and catdoc print surrogate halves for them), at most 50 characters
// long (catdoc cuts longer words).
QStringList expectedLines(const Document &doc) {
    QStringList out;
    QString text = doc.story().text(0, doc.story().length());
    for (QChar &c : text)
        if (c == QChar(kCellMark) || c == QChar(kLineBreak)) c = QChar(kParagraphMark);
    for (QString line : text.split(QChar(kParagraphMark))) {
        line.removeIf([](QChar c) { return c.isSurrogate(); });
        line = line.trimmed().left(50);
        if (!line.isEmpty()) out << line;
    }
    return out;
}

// The expected lines that the output lacks, searching forward from each found one.
QStringList missingInOrder(const QStringList &expected, const QString &output) {
    QStringList missing;
    qsizetype from = 0;
    for (const QString &line : expected) {
        const qsizetype at = output.indexOf(line, from);
        if (at < 0)
            missing << line;
        else
            from = at + line.size();
    }
    return missing;
}

struct Written {
    QString name;
    QString path;
    Document *doc;
    bool catdocQuirks;  // catdoc loses a row after a line break in a cell and rows before a very long word
    bool wide;          // more columns than a Word row definition holds
};

std::vector<Written> writeSamples(Application &app, const QString &dir) {
    QList<QStringList> wide(2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 256; ++c) wide[r] << QStringLiteral("r%1c%2").arg(r + 1).arg(c + 1);
    QList<QStringList> plain = doctest::mixedGrid();
    plain[2][0] = QStringLiteral("zwei Wörter");
    plain[3][1] = QStringLiteral("lange Zelle ").repeated(40);  // catdoc drops a row with a 600-letter word
    std::vector<Written> out = {
        {QStringLiteral("Text_list"), {}, doctest::taggedDocument(app, doctest::mixedGrid()), false, false},
        {QStringLiteral("Doc_mixed"), {}, doctest::tableDocument(app, doctest::mixedGrid()), true, false},
        {QStringLiteral("Doc_plain"), {}, doctest::tableDocument(app, plain, false), false, false},
        {QStringLiteral("Doc_1x1"), {}, doctest::tableDocument(app, {{QStringLiteral("eins")}}), false, false},
        {QStringLiteral("Doc_wide"), {}, doctest::tableDocument(app, wide), false, true},
    };
    for (Written &w : out) {
        w.path = dir + QLatin1Char('/') + w.name + QStringLiteral(".doc");
        EXPECT_TRUE(w.doc->saveAs(w.path, SaveFormat::Doc).ok) << w.name.toStdString();
    }
    return out;
}

TEST(ProgramsReadOurDoc, LibreOfficeSeesTextStylesAndTables) {
    REQUIRE_PROGRAM("soffice");
    QTemporaryDir dir;
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    const auto written = writeSamples(app, dir.path());
    QStringList paths;
    for (const Written &w : written) paths << w.path;
    const QJsonObject lo = doctest::libreOfficeDump(paths);
    ASSERT_FALSE(lo.isEmpty());
    for (const Written &w : written) {
        SCOPED_TRACE(w.name.toStdString());
        const QJsonObject file = lo.value(w.path).toObject();
        ASSERT_FALSE(file.contains(QStringLiteral("error")))
            << file.value(QStringLiteral("error")).toString().toStdString();
        const auto blocks = doctest::libreOfficeBlocks(file);
        if (w.wide) {
            // Word rows hold at most 63 cells: LibreOffice reads a wider row as
            // text, as it does with the .doc it converts from the same RTF.
            ASSERT_GE(blocks.size(), 3);
            EXPECT_TRUE(blocks[2].text.startsWith(QStringLiteral("r1c1r1c2r1c3")));
            continue;
        }
        EXPECT_EQ(blocks, doctest::engineBlocks(*w.doc)) << doctest::describe(blocks);
        // The marker runs look as their style says: Courier New, grey 50 %.
        int markerRuns = 0;
        for (const QJsonValue &block : file.value(QStringLiteral("blocks")).toArray()) {
            const QJsonObject p = block.toObject();
            if (!p.value(QStringLiteral("p")).toString().startsWith(QLatin1String("<!-- CellID:"))) continue;
            for (const QJsonValue &runValue : p.value(QStringLiteral("runs")).toArray()) {
                const QJsonArray run = runValue.toArray();
                EXPECT_EQ(run.at(1).toString(), QStringLiteral("tw4winExternal"));
                EXPECT_EQ(run.at(2).toString(), QStringLiteral("Courier New"));
                EXPECT_EQ(run.at(3).toInt(), 0x808080);
                ++markerRuns;
            }
        }
        if (w.name == QLatin1String("Text_list")) {
            EXPECT_EQ(markerRuns, 10);
        }
    }
}

TEST(ProgramsReadOurDoc, AntiwordAndCatdocSeeEveryText) {
    REQUIRE_PROGRAM("antiword");
    REQUIRE_PROGRAM("catdoc");
    QTemporaryDir dir;
    office::CellGridClipboard clipboard;
    Application app(&clipboard);
    for (const Written &w : writeSamples(app, dir.path())) {
        SCOPED_TRACE(w.name.toStdString());
        QStringList expected = expectedLines(*w.doc);
        const auto antiword = testsupport::runProgram(
            QStringLiteral("antiword"),
            {QStringLiteral("-m"), QStringLiteral("UTF-8.txt"), QStringLiteral("-w"), QStringLiteral("0"), w.path});
        ASSERT_EQ(antiword.exitCode, 0) << antiword.err.toStdString();
        // antiword lays a table out in columns, wrapping long cells: look for each cell on its own.
        const QString antiwordText = QString::fromUtf8(antiword.out);
        for (const QString &line : expected)
            EXPECT_TRUE(antiwordText.contains(line.left(20))) << "antiword lacks " << line.toStdString();
        const auto catdoc = testsupport::runProgram(
            QStringLiteral("catdoc"), {QStringLiteral("-w"), QStringLiteral("-d"), QStringLiteral("utf-8"), w.path});
        ASSERT_EQ(catdoc.exitCode, 0) << catdoc.err.toStdString();
        if (w.catdocQuirks) continue;
        EXPECT_EQ(missingInOrder(expected, QString::fromUtf8(catdoc.out)), QStringList()) << catdoc.out.toStdString();
    }
}

}  // namespace
