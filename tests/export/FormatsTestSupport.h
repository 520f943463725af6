#pragma once

#include "ExportTestSupport.h"

#include <QJsonObject>

/// The mixed-cell fixture workbook of tests/fixtures/xls.
inline const QString kFormatsWorkbook = QStringLiteral("formats.xls");

/// Copies tests/fixtures/xls/formats.xls into the fixture's folder.
bool addFormatsWorkbook(ExportFixture &f);

/// An export of the selected files in `format`, with the main window's defaults otherwise.
celltrove::exporting::RunOutcome runFormat(ExportFixture &f, celltrove::run::ExportFormat format,
                                           const QStringList &files = {kFormatsWorkbook});

/// What lo_formats.py reads back from the files, by path (empty when it failed).
QJsonObject readBackWithLibreOffice(const QStringList &paths);

/// A JSON grid (rows of strings) as a list of string lists.
QList<QStringList> gridOf(const QJsonValue &grid);
