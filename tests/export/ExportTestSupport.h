#pragma once

#include "export/ExportRun.h"
#include "run/RunUi.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

/// An export run in a temporary folder with its own settings and a silent UI.
struct ExportFixture {
    QTemporaryDir dir;
    celltrove::run::TextLookup texts;
    celltrove::run::SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    celltrove::run::SilentRunUi ui;

    /// Copies a fixture workbook of tests/fixtures/export into the folder.
    QString addFixture(const QString &name);
    /// The request for the given files of the folder, main-window defaults.
    celltrove::run::RunRequest request(const QStringList &files) const;
    celltrove::exporting::RunOutcome run(const celltrove::run::RunRequest &request);
    /// The run log's lines (CR LF split).
    QStringList logLines() const;
    QString path(const QString &name) const { return dir.filePath(name); }
};

/// The cell markers of an RTF file as written ("r,c" each, in order).
QStringList markersInRtf(const QByteArray &rtf);
/// The number of the total line, -1 when absent.
int totalLineNumber(const QByteArray &rtf);
