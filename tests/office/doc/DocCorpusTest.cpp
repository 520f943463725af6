// Word-written .doc files of the shared corpus: each is read, or refused with a
// reason; what we read agrees with LibreOffice's paragraphs and tables.
#include "LibreOfficeSupport.h"

#include "office/doc/Application.h"
#include "office/doc/TextDump.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

QStringList corpusDocFiles() {
    QStringList files;
    const QDir dir(testsupport::corpusDir() + QStringLiteral("/doc"));
    for (const QString &name : dir.entryList({QStringLiteral("*.doc")}, QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

bool isBroken(const QString &path) {
    return path.contains(QLatin1String("badfile"));
}

// Files LibreOffice reads differently from what Word stored, not compared with it:
const char *const kNotLikeLibreOffice[] = {
    "lo_complex-table-form-01.doc",  // footnote numbers shown as text; vertically merged cells dropped
    "nwe_test06.doc",                // LibreOffice recomputes the FILENAME field; Word keeps the stored result
    "nwe_test07.doc",                // footnote numbers as text; a positioned table becomes a frame
    "nwe_test10.doc",                // LibreOffice does not load this Macintosh-written file
    "nwe_test13.doc",                // footnote and endnote numbers shown as text
};
// Files where catdoc prints field instructions along with their results.
const char *const kNotLikeCatdoc[] = {"lo_complex-table-form-01.doc", "nwe_test06.doc", "nwe_test07.doc"};

template <size_t N>
bool listed(const char *const (&names)[N], const QString &path) {
    for (const char *name : names)
        if (path.endsWith(QLatin1String(name))) return true;
    return false;
}

// LibreOffice turns a page break character into a property of the next paragraph.
QList<doctest::Block> withoutPageBreaks(QList<doctest::Block> blocks) {
    for (doctest::Block &b : blocks) {
        b.text.remove(QChar(kPageBreak));
        for (QStringList &row : b.cells)
            for (QString &cell : row) cell.remove(QChar(kPageBreak));
    }
    return blocks;
}

// Paragraph and cell texts in story order, split at line breaks and tabs, cut to
// 50 characters (catdoc's longest word).
QStringList textPieces(const Document &doc) {
    QString text = doc.story().text(0, doc.story().length());
    for (QChar &c : text)
        if (c == QChar(kCellMark) || c == QChar(kLineBreak) || c == QChar(kTab) || c == QChar(kPageBreak))
            c = QChar(kParagraphMark);
    QStringList out;
    for (const QString &piece : text.split(QChar(kParagraphMark))) {
        const QString t = piece.trimmed().left(50);
        if (!t.isEmpty()) out << t;
    }
    return out;
}

TEST(DocCorpus, EveryFileIsReadOrRefusedWithAReason) {
    REQUIRE_CORPUS();
    const QStringList files = corpusDocFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString &path : files) {
        SCOPED_TRACE(path.toStdString());
        Application app;
        office::Status status;
        Document *doc = app.documents().open(path, &status);
        if (isBroken(path)) {
            EXPECT_EQ(doc, nullptr);
            EXPECT_FALSE(status.message.isEmpty());
            continue;
        }
        ASSERT_NE(doc, nullptr) << status.message.toStdString();
        EXPECT_EQ(doc->saveFormat(), SaveFormat::Doc);
        EXPECT_GT(doc->story().length(), 1);
        EXPECT_FALSE(dumpText(*doc).isEmpty());
    }
}

TEST(DocCorpus, ParagraphsAndTablesAgreeWithLibreOffice) {
    REQUIRE_CORPUS();
    REQUIRE_PROGRAM("soffice");
    QStringList files = corpusDocFiles();
    files.removeIf(isBroken);
    const QJsonObject lo = doctest::libreOfficeDump(files);
    ASSERT_FALSE(lo.isEmpty()) << "lo_writer_dump.py failed";
    int compared = 0;
    for (const QString &path : files) {
        const QJsonObject file = lo.value(path).toObject();
        if (listed(kNotLikeLibreOffice, path)) continue;
        ASSERT_FALSE(file.contains(QStringLiteral("error"))) << path.toStdString();
        Application app;
        Document *doc = app.documents().open(path);
        ASSERT_NE(doc, nullptr) << path.toStdString();
        const auto ours = withoutPageBreaks(doctest::engineBlocks(*doc));
        const auto theirs = doctest::libreOfficeBlocks(file);
        EXPECT_EQ(ours, theirs) << path.toStdString() << "\n--- ours:\n"
                                << doctest::describe(ours) << "--- LibreOffice:\n"
                                << doctest::describe(theirs);
        ++compared;
    }
    EXPECT_GE(compared, 4);
}

TEST(DocCorpus, TextAgreesWithCatdoc) {
    REQUIRE_CORPUS();
    REQUIRE_PROGRAM("catdoc");
    int compared = 0;
    for (const QString &path : corpusDocFiles()) {
        if (isBroken(path) || listed(kNotLikeCatdoc, path)) continue;
        SCOPED_TRACE(path.toStdString());
        const auto catdoc = testsupport::runProgram(
            QStringLiteral("catdoc"), {QStringLiteral("-w"), QStringLiteral("-d"), QStringLiteral("utf-8"), path});
        ASSERT_EQ(catdoc.exitCode, 0);
        const QString theirs = QString::fromUtf8(catdoc.out);
        Application app;
        Document *doc = app.documents().open(path);
        ASSERT_NE(doc, nullptr);
        qsizetype from = 0;
        for (const QString &piece : textPieces(*doc)) {
            QString bmp = piece;
            bmp.removeIf([](QChar c) { return c.isSurrogate(); });  // catdoc writes surrogate halves
            const qsizetype at = theirs.indexOf(bmp.trimmed(), from);
            EXPECT_GE(at, 0) << "catdoc lacks, or has out of order: " << piece.toStdString();
            if (at >= 0) from = at + bmp.trimmed().size();
        }
        ++compared;
    }
    EXPECT_GE(compared, 6);
}

}  // namespace
