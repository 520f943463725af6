#include "ExportTestSupport.h"

#include "office/sheet/Workbook.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

using namespace celltrove;

// Every BIFF8 workbook the reader accepts exports without error, and each
// document holds one marker per exported cell, as its total line says.
TEST(CorpusExport, EveryReadableWorkbookExportsCompletely) {
    REQUIRE_CORPUS();
    QDir corpus(testsupport::corpusFile(QStringLiteral("xls")));
    int exported = 0;
    for (const QString &name : corpus.entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name)) {
        std::unique_ptr<office::sheet::Workbook> book;
        if (!office::sheet::Workbook::open(corpus.filePath(name), book).ok || book->biffVersion() != 8) continue;
        // The export writes beside the workbook: work on a copy, never in the corpus.
        ExportFixture f;
        ASSERT_TRUE(QFile::copy(corpus.filePath(name), f.path(name)));
        const auto outcome = f.run(f.request({name}));
        EXPECT_TRUE(outcome.ran) << name.toStdString();
        EXPECT_FALSE(outcome.runError) << name.toStdString() << "\n" << f.logLines().join(u'\n').toStdString();
        const QStringList outputs = QDir(f.dir.path()).entryList({QStringLiteral("Text_*.rtf")}, QDir::Files);
        for (const QString &output : outputs) {
            const QByteArray rtf = testsupport::readFile(f.path(output));
            EXPECT_EQ(markersInRtf(rtf).size(), totalLineNumber(rtf)) << output.toStdString();
        }
        ++exported;
    }
    EXPECT_GT(exported, 10);
}
