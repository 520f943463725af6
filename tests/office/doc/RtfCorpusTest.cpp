// Real RTF files written by Word (the shared corpus): every one is read, and what
// we read agrees with what LibreOffice reads from it.
#include "LibreOfficeSupport.h"

#include "office/doc/Application.h"
#include "office/doc/RtfReader.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace office::doc;

namespace {

QStringList corpusRtfFiles() {
    QStringList files;
    const QDir dir(testsupport::corpusDir() + QStringLiteral("/rtf"));
    for (const QString &name : dir.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name)) files.append(dir.filePath(name));
    return files;
}

TEST(RtfCorpus, EveryFileIsReadQuickly) {
    REQUIRE_CORPUS();
    const QStringList files = corpusRtfFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString &path : files) {
        Application app;
        office::Status status;
        Document *doc = app.documents().open(path, &status);
        EXPECT_NE(doc, nullptr) << path.toStdString() << ": " << status.message.toStdString();
        if (doc) {
            EXPECT_GT(doc->story().length(), 1) << path.toStdString();
        }
    }
}

// Files whose text LibreOffice reads differently from what Word stored, so that
// they are not compared:
const char *const kNotComparable[] = {
    "rp_Issue50-2.rtf",                  // lost the backslashes of its \* groups: both read garbage
    "rp_fields_simple_format_switch.rtf", // LibreOffice recomputes field results; Word keeps the stored ones
    "rp_Issue46.rtf",                    // a SYMBOL field with an empty stored result, computed by LibreOffice
    "rp_noteref.rtf",                    // LibreOffice shows footnote numbers as text
    "rp_toc.rtf",                        // LibreOffice adds a paragraph to a table of contents
    "rp_RtfTestDocument.rtf",            // vertically merged cells: LibreOffice drops them, Word keeps them
};
bool comparable(const QString &path) {
    for (const char *name : kNotComparable)
        if (path.endsWith(QLatin1String(name))) return false;
    return true;
}

TEST(RtfCorpus, ParagraphsAndTablesAgreeWithLibreOffice) {
    REQUIRE_CORPUS();
    REQUIRE_PROGRAM("soffice");
    const QStringList files = corpusRtfFiles();
    const QJsonObject lo = doctest::libreOfficeDump(files);
    ASSERT_FALSE(lo.isEmpty()) << "lo_writer_dump.py failed";
    int compared = 0;
    for (const QString &path : files) {
        const QJsonObject file = lo.value(path).toObject();
        if (!comparable(path) || file.contains(QStringLiteral("error"))) continue;
        Application app;
        Document *doc = app.documents().open(path);
        ASSERT_NE(doc, nullptr) << path.toStdString();
        const auto ours = doctest::engineBlocks(*doc);
        const auto theirs = doctest::libreOfficeBlocks(file);
        EXPECT_EQ(ours, theirs) << path.toStdString() << "\n--- ours:\n"
                                << doctest::describe(ours) << "--- LibreOffice:\n"
                                << doctest::describe(theirs);
        ++compared;
    }
    EXPECT_GE(compared, 15);
}

}  // namespace

namespace {

// A tagged document saved by LibreOffice Writer with both styles applied.
TEST(RtfFixture, LibreOfficeTaggedDocumentReadsAsLibreOfficeReadsIt) {
    const QString path = testsupport::fixtureDir() + QStringLiteral("/rtf/lo_tagged.rtf");
    Application app;
    office::Status status;
    Document *doc = app.documents().open(path, &status);
    ASSERT_NE(doc, nullptr) << status.message.toStdString();
    const Style *external = doc->styles().item(QStringLiteral("tw4winExternal"));
    ASSERT_NE(external, nullptr);
    EXPECT_EQ(external->type(), StyleType::Character);
    EXPECT_EQ(external->font().name(), QStringLiteral("Courier New"));
    EXPECT_EQ(external->font().colorIndex(), 15);
    EXPECT_EQ(doc->styles().item(QStringLiteral("tw4winInternal"))->font().colorIndex(), 6);
    const auto ours = doctest::engineBlocks(*doc);
    ASSERT_GE(ours.size(), 13);
    EXPECT_EQ(ours[3].styles, QStringList{QStringLiteral("tw4winExternal")});
    EXPECT_EQ(ours[9].text, QStringLiteral("erste Zeile\nzweite\tZeile <<lf>> Ende"));
    EXPECT_EQ(ours[9].styles, QStringList{QStringLiteral("tw4winInternal")});
    EXPECT_EQ(ours[12].cells, (QList<QStringList>{{QStringLiteral("Name"), QStringLiteral("Wert"), QStringLiteral("Ä")},
                                                  {QStringLiteral("a"), QString(), QStringLiteral("3")}}));
    if (!testsupport::haveProgram(QStringLiteral("soffice"))) GTEST_SKIP() << "soffice not installed";
    const QJsonObject lo = doctest::libreOfficeDump({path});
    const auto theirs = doctest::libreOfficeBlocks(lo.value(path).toObject());
    EXPECT_EQ(ours, theirs) << doctest::describe(ours) << "---\n" << doctest::describe(theirs);
}

}  // namespace
