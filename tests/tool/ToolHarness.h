#pragma once

#include "office/doc/Application.h"
#include "office/doc/TextDump.h"
#include "run/RunUi.h"
#include "run/SettingsStore.h"
#include "run/TextLookup.h"
#include "support/TestSupport.h"
#include "tool/JoinedDocumentFormat.h"
#include "tool/ToolRun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace tooltest {

using namespace celltrove;

/// A working folder, the settings and a silent user interface for tool runs.
struct ToolHarness {
    QTemporaryDir dir;
    run::SettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    run::TextLookup texts;
    run::SilentRunUi ui;
    QString work;
    QStringList list;  ///< the tool's file list after the last run
    run::RunOutcome outcome;

    ToolHarness() {
        QDir(dir.path()).mkpath(QStringLiteral("work"));
        work = dir.filePath(QStringLiteral("work")) + u'/';
    }
    QString path(const QString &name) const { return work + name; }

    /// Writes an RTF document of paragraphs; a paragraph starting with "!" is a
    /// marker paragraph in the style "tw4winExternal" (without the "!").
    bool writeDocument(const QString &name, const QStringList &paragraphs) const {
        office::doc::Application app;
        office::doc::Document *doc = app.documents().add();
        office::doc::Style *style = doc->styles().add(tool::joined::kExternalStyle, office::doc::StyleType::Character);
        style->font().setName(QStringLiteral("Courier New"));
        office::doc::Selection &selection = doc->selection();
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            QString text = paragraphs.at(i);
            const bool marker = text.startsWith(u'!');
            if (marker) text.remove(0, 1);
            const int start = selection.start();
            selection.typeText(text);
            if (marker) doc->range(start, selection.start()).setStyle(tool::joined::kExternalStyle);
            if (i + 1 < paragraphs.size()) selection.typeText(QStringLiteral("\r"));
        }
        return bool(doc->saveAs(path(name), office::doc::SaveFormat::Rtf));
    }
    /// A small tagged document: header markers and two cells.
    bool writeTagged(const QString &name, const QString &cellText) const {
        return writeDocument(
            name, {QStringLiteral("!<!-- Excel-Dateiname: -->") + name, QStringLiteral("!<!-- ExcelsheetNr.: -->1"),
                   QString(), QStringLiteral("!<!-- CellID: 1,1-->"), QString(), cellText, QString(),
                   QStringLiteral("!<!-- CellID: 2,1-->"), QString(), cellText + QStringLiteral(" 2"), QString(),
                   QStringLiteral("!<!-- CellIDs-Gesamt:>>2")});
    }

    run::RunOutcome cat(const QString &joinedName, const QStringList &files) {
        list = files;
        outcome = tool::RunCat(work, joinedName, list, texts, settings, ui);
        return outcome;
    }
    run::RunOutcome split(const QStringList &files, const QString &joinedName = QString()) {
        list = files;
        outcome = tool::RunSplit(work, joinedName, list, texts, settings, ui);
        return outcome;
    }
    QStringList logLines() const {
        QString text = QString::fromUtf8(testsupport::readFile(outcome.logPath));
        if (text.endsWith(QLatin1String("\r\n"))) text.chop(2);
        return text.split(QStringLiteral("\r\n"));
    }
    QString log() const { return logLines().join(u'\n'); }
    /// What the document engine reads from a file (empty when it cannot be read).
    static QString dump(const QString &path) {
        office::doc::Application app;
        office::doc::Document *doc = app.documents().open(path);
        return doc ? office::doc::dumpText(*doc) : QString();
    }
};

}  // namespace tooltest
