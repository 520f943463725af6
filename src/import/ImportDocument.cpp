#include "import/ImportDocument.h"

#include "import/CellImport.h"
#include "import/DocumentHeader.h"
#include "import/FindInFile.h"
#include "import/StreamedCellImport.h"
#include "import/TableImport.h"
#include "import/TaggedMarkers.h"
#include "office/doc/RtfTextStream.h"
#include "run/PathLengthCheck.h"

namespace celltrove::importing {

namespace {

constexpr int kPathLimit = 251;

// A joined document must be split before its parts can go back.
bool refuseJoined(run::RunContext &run, bool holdsSeparator, const QString &fileName, const QString &shownSeparator) {
    if (!holdsSeparator) return false;
    run.WriteLog(QStringLiteral(" "));
    run.WriteLog(run.T(QStringLiteral("Error: Datei enthält mind. ein Bindle-Element: ")) + shownSeparator + fileName);
    run.WriteLog(run.T(QStringLiteral("Error: Datei splitten oder überprüfen.")));
    run.runError = true;
    return true;
}

}  // namespace

void ImportDocument(run::RunContext &run, ImportEngines &engines, const QString &path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = path.left(slash + 1);
    const QString fileName = path.mid(slash + 1);
    if (!run::PathLengthCheck(run, folder, fileName, kPathLimit)) {
        run.runError = true;
        return;
    }
    // A tagged document as exported goes back cell by cell while it is read; the
    // reading starts at once, beside the search for a joined document's separators.
    office::doc::RtfTextStream stream;
    const bool streaming = engines.importWhileReading && stream.open(path);
    const QList<bool> separators = FileContains(path, {markers::kBindleFileName, markers::kBindleRtf});
    if (refuseJoined(run, separators[0], fileName, QStringLiteral("<!-- Bindle-Fn:...--> ")) ||
        refuseJoined(run, separators[1], fileName, QStringLiteral("<BindleRTF> ")))
        return;

    run::RunUi &ui = run.ui();
    ui.SetProgressCaption(run.T(QStringLiteral("Celltrove für Excel")) + QStringLiteral(" - ") +
                          run.T(QStringLiteral("Importiere Texte...")));
    ui.ShowProgress(run::ProgressBar::Run, run.fileOrdinal, run.selectedFileCount);
    ui.SetFileText(fileName + QStringLiteral(" -->"));
    ui.Yield();

    // Any other document is read whole first.
    StreamedImport streamed;
    if (streaming) streamed = ImportCellsStreamed(run, engines, folder, path, stream);
    stream.close();  // what it holds is not needed for the save
    if (streamed.outcome != StreamedImport::ReadWhole) {
        run.tableFlag = false;
        for (const QString &line : run.report().FileReport(run.counter())) run.WriteLog(line);
        SaveImportTarget(run, streamed.target);
        ui.Yield();
        return;
    }

    office::Status status;
    office::doc::Document *document = engines.word.documents().open(path, &status);
    if (!document) {
        run.WriteLog(run.T(QStringLiteral("Error: Kann Dokument nicht öffnen: ")) + path + QStringLiteral(" (") +
                     status.message + u')');
        run.runError = true;
        return;
    }
    engines.word.activate(document);
    const DocumentHeader header = ReadDocumentHeader(engines.word);

    ImportTarget target;
    if (document->tables().count() == 0) {
        run.tableFlag = false;
        target = ImportCells(run, engines, document, folder, header, path);
    } else {
        run.tableFlag = true;
        target = ImportTable(run, engines, document, folder, header, path);
        // The table way stops where its workbook cannot be used: no file analysis.
        if (!target) {
            ui.Yield();
            return;
        }
    }

    for (const QString &line : run.report().FileReport(run.counter())) run.WriteLog(line);
    SaveImportTarget(run, target);
    ui.Yield();
}

}  // namespace celltrove::importing
