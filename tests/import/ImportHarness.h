#pragma once

// Runs the import on documents in a temporary folder with fake workbooks and
// gives back the log lines and what the user was shown.

#include "FakeWorkbook.h"
#include "TaggedDocBuilder.h"

#include "import/ImportRun.h"
#include "run/RunUi.h"
#include "run/SettingsStore.h"
#include "run/TextLookup.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <memory>

namespace importtest {

/// A RunUi that keeps the process texts and the last sheet-bar steps.
class RecordingUi : public celltrove::run::SilentRunUi {
public:
    void SetProcessText(const QString &text) override { processTexts << text; }
    void SetBarSteps(celltrove::run::ProgressBar bar, int steps) override {
        if (bar == celltrove::run::ProgressBar::Run) runBarSteps << steps;
    }
    QStringList processTexts;
    QList<int> runBarSteps;  ///< every drawing of the run bar, in order
};

class ImportHarness {
public:
    ImportHarness() : settings(dir.filePath(QStringLiteral("settings.ini"))) {}

    QString folder() const { return dir.path() + u'/'; }
    QString path(const QString &name) const { return folder() + name; }
    /// A workbook "Mappe.xls" in the folder with worksheets at the given Indexes.
    FakeBook &book(std::initializer_list<int> indexes, const QString &name = QStringLiteral("Mappe.xls")) {
        FakeBook &b = books.add(path(name));
        for (int i : indexes) b.worksheets[i].sheetName = QStringLiteral("Blatt%1").arg(i);
        return b;
    }
    FakeSheet &sheet(int index, const QString &name = QStringLiteral("Mappe.xls")) {
        return books.find(path(name))->worksheets.at(index);
    }

    celltrove::importing::ImportOutcome run(const QStringList &files,
                                            celltrove::run::FileTypeFilter filter = celltrove::run::FileTypeFilter::Rtf) {
        celltrove::run::RunRequest request;
        request.folder = folder();
        request.selectedFiles = files;
        request.fileTypeFilter = filter;
        request.options = options;
        outcome = celltrove::importing::RunImport(request, texts, settings, ui, books.opener());
        return outcome;
    }
    /// The run log without its date line.
    QStringList logLines() const {
        QString text = QString::fromUtf8(testsupport::readFile(outcome.logPath));
        QStringList lines = text.split(QStringLiteral("\r\n"));
        if (lines.size() > 1) lines.removeAt(1);
        return lines;
    }
    bool logHas(const QString &line) const { return logLines().contains(line); }

    QTemporaryDir dir;
    FakeWorkbooks books;
    RecordingUi ui;
    celltrove::run::TextLookup texts;
    celltrove::run::SettingsStore settings;
    celltrove::run::RunOptions options;
    celltrove::importing::ImportOutcome outcome;
};

}  // namespace importtest
