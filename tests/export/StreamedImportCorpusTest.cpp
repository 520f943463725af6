// The import reads a tagged document front to back while it writes the cells,
// or, for documents that reader cannot take, whole first. Over the tagged
// documents of the corpus workbooks, as exported and as Writer saves them
// after a translation, both readers must save the same workbook file, byte for
// byte, and write the same log.

#include "ExportTestSupport.h"

#include "import/ImportDocument.h"
#include "import/ImportEngines.h"
#include "import/SheetImportWorkbook.h"
#include "import/StreamedCellImport.h"
#include "office/sheet/Workbook.h"
#include "run/RunContext.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace celltrove;

namespace {

struct Saved {
    QByteArray workbook;
    QStringList log;
    bool runError = false;
};

// Imports `document` from a folder of its own that holds a copy of the workbook.
Saved importCopy(const QString &from, const QString &workbook, const QString &document, bool whileReading) {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_TRUE(QFile::copy(from + workbook, folder + workbook));
    EXPECT_TRUE(QFile::copy(from + document, folder + document));
    run::RunRequest request;
    request.folder = folder;
    request.selectedFiles = {document};
    run::TextLookup texts;
    run::SettingsStore settings(folder + QStringLiteral("settings.ini"));
    run::SilentRunUi ui;
    run::RunContext context(request, texts, settings, ui);
    EXPECT_TRUE(context.log().OpenLog(folder + QStringLiteral("import.log"), false));
    importing::ImportEngines engines{importing::WorkbookOpener(importing::OpenSheetWorkbook)};
    engines.importWhileReading = whileReading;
    importing::ImportDocument(context, engines, folder + document);
    context.log().CloseLog();
    Saved saved;
    saved.workbook = testsupport::readFile(folder + workbook);
    saved.log = QString::fromUtf8(testsupport::readFile(folder + QStringLiteral("import.log")))
                    .replace(folder, QStringLiteral("FOLDER/"))
                    .split(QStringLiteral("\r\n"));
    saved.runError = context.runError;
    return saved;
}

// True when the front-to-back reader takes the document itself.
bool readWhileImporting(const QString &folder, const QString &document) {
    run::RunRequest request;
    run::TextLookup texts;
    run::SettingsStore settings(folder + QStringLiteral("probe.ini"));
    run::SilentRunUi ui;
    run::RunContext context(request, texts, settings, ui);
    importing::ImportEngines engines{importing::WorkbookOpener(importing::OpenSheetWorkbook)};
    office::doc::RtfTextStream stream;
    (void)stream.open(folder + document);
    return importing::ImportCellsStreamed(context, engines, folder, folder + document, stream).outcome !=
           importing::StreamedImport::ReadWhole;
}

void expectSameImport(const QString &folder, const QString &workbook, const QString &document) {
    SCOPED_TRACE(document.toStdString());
    EXPECT_TRUE(readWhileImporting(folder, document));
    const Saved streamed = importCopy(folder, workbook, document, true);
    const Saved whole = importCopy(folder, workbook, document, false);
    EXPECT_EQ(streamed.runError, whole.runError);
    EXPECT_EQ(streamed.log, whole.log);
    EXPECT_TRUE(streamed.workbook == whole.workbook) << "the saved workbooks differ";
}

}  // namespace

TEST(StreamedImportCorpus, BothReadersSaveTheSameWorkbooks) {
    REQUIRE_CORPUS();
    QDir corpus(testsupport::corpusFile(QStringLiteral("xls")));
    ExportFixture f;
    const QString folder = f.dir.path() + u'/';
    QStringList sources, translated;
    QList<std::pair<QString, QString>> documents;  // workbook, document
    for (const QString &name : corpus.entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name)) {
        // Small workbooks keep the sanitizer build quick; the large ones add nothing the reader has not met.
        if (QFileInfo(corpus.filePath(name)).size() > 512 * 1024) continue;
        std::unique_ptr<office::sheet::Workbook> book;
        if (!office::sheet::Workbook::open(corpus.filePath(name), book).ok || book->biffVersion() != 8) continue;
        ASSERT_TRUE(QFile::copy(corpus.filePath(name), f.path(name)));
        f.run(f.request({name}));
        for (const QString &document :
             QDir(folder).entryList({QStringLiteral("Text_") + name + QStringLiteral("-*.rtf")}, QDir::Files)) {
            documents.append({name, document});
            if (sources.size() < 6) {
                sources << f.path(document);
                translated << f.path(QStringLiteral("Writer_") + document);
            }
        }
    }
    ASSERT_GT(documents.size(), 20);
    for (const auto &[workbook, document] : documents) expectSameImport(folder, workbook, document);

    if (!testsupport::haveProgram(QStringLiteral("soffice"))) return;
    // lo_translate.py: every run outside the structure style upper-cased, saved by Writer.
    QStringList args{QDir::cleanPath(testsupport::fixtureDir() + QStringLiteral("/../import/lo_translate.py"))};
    for (qsizetype i = 0; i < sources.size(); ++i) args << sources[i] << translated[i];
    const auto r = testsupport::runProgram(QStringLiteral("/usr/bin/python3"), args, 600000);
    ASSERT_EQ(r.exitCode, 0);
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString document = QFileInfo(translated[i]).fileName();
        const QString workbook = documents[i].first;
        expectSameImport(folder, workbook, document);
    }
}
