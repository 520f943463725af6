#include "tool/Split.h"

#include "import/FindInFile.h"
#include "office/doc/RtfStretchSave.h"
#include "run/PathLengthCheck.h"
#include "tool/JoinedDocumentFormat.h"
#include "tool/ToolPaths.h"

namespace celltrove::tool {

using office::doc::Document;
using office::doc::MoveMode;
using office::doc::Selection;
using office::doc::Unit;

namespace {

// Writes [0, end) of the working copy, without the paragraph marks it starts with,
// as the part `name` in `folder`; false, logged, when it cannot be saved.
bool writePart(ToolRunState &state, office::doc::RtfStretchSaver &saver, const Document &working, int end,
               const QString &folder, const QString &name) {
    const office::Status saved = saver.save(working, TrimLeadingBreaks(working, 0, end), end, folder + name);
    if (saved) return true;
    state.run.WriteLog(state.run.T(QStringLiteral("Kann Datei nicht speichern: ")) + folder + name +
                       QStringLiteral(" (") + saved.message + u')');
    state.setError();
    return false;
}

// A marker that must be there is not: the document is not split to its end.
void logLostMarker(ToolRunState &state, const QString &marker) {
    state.run.WriteLog(state.run.T(QStringLiteral("Error: Bindle-Element fehlt: ")) + marker);
    state.setError();
}

}  // namespace

bool MarkerPresent(Selection &selection, const QString &text) {
    office::doc::Find find = selection.find();
    find.clearFormatting();
    find.setWrap(office::doc::kFindContinue);
    find.setMatchWildcards(false);
    find.execute(text, true);
    return find.found();
}

bool FindNext(Selection &selection, const QString &text) {
    office::doc::Find find = selection.find();
    find.clearFormatting();
    find.setText(text);
    find.replacement().setText(QString());
    find.setForward(true);
    find.setWrap(office::doc::kFindContinue);
    find.setFormat(false);
    find.setMatchCase(false);
    find.setMatchWholeWord(false);
    find.setMatchWildcards(false);
    find.setMatchSoundsLike(false);
    find.setMatchAllWordForms(false);
    return find.execute();
}

int TrimLeadingBreaks(const Document &working, int start, int end) {
    const office::doc::Story &story = working.story();
    end = std::min(end, story.length() - 1);  // the final paragraph mark is no part's
    while (start < end && story.at(start) == office::doc::kParagraphMark) ++start;
    return start;
}

void SplitFile(ToolRunState &state, const QString &path, int total) {
    run::RunContext &run = state.run;
    run::RunUi &ui = run.ui();
    const auto [folder, name] = splitAtLastSeparator(path);
    state.splitName = name;
    if (!run::PathLengthCheck(run, folder, name, kToolPathLimit)) {
        state.setError();
        return;
    }
    ui.ShowProgressWindow();
    ui.SetProgressCaption(run.T(QStringLiteral("Bindle Tool")) + QStringLiteral(" - ") +
                          run.T(QStringLiteral("Split RTF ...")));
    ui.SetFileText(name);
    ui.Yield();

    if (importing::FindInFile(path, joined::kNameLineMarker) <= 0) {
        run.WriteLog(run.T(QStringLiteral("Error: Fehlende Bindle Kopfzeilen!")));
        state.setError();
        return;
    }
    if (importing::FindInFile(path, joined::kSeparatorOpen) <= 0) {
        run.WriteLog(run.T(QStringLiteral("Error: Keine Bindle Dateien vorhanden! Datei überprüfen.")));
        state.setError();
        return;
    }
    office::Status opened = office::Status::failure(QStringLiteral("no document engine"));
    Document *working = state.word ? state.word->documents().open(path, &opened) : nullptr;
    if (!working) {
        run.WriteLog(run.T(QStringLiteral("Kann RTF-Datei nicht öffnen: ")) + name + QStringLiteral(" (") +
                     opened.message + u')');
        state.setError();
        return;
    }

    // The document opened is the working copy: it is cut in memory and never saved.
    Selection &selection = working->selection();
    if (!MarkerPresent(selection, joined::kEndMarker)) {
        // Cut off before its end marker: with one appended, the last part is written too.
        selection.endKey(Unit::Story);
        selection.insertAfter(joined::kEndMarker + u'\r');
        selection.range().setStyle(joined::kExternalStyle);  // a document without the style keeps the text plain
        selection.homeKey(Unit::Story);
    }
    selection.homeKey(Unit::Story);
    office::doc::Find find = selection.find();
    find.clearFormatting();
    find.setText(joined::kSeparatorOpen);
    find.setForward(true);
    find.setWrap(office::doc::kFindStop);

    QString partName;
    bool complete = true;
    office::doc::RtfStretchSaver saver;  // its memory serves every part
    // Each pass cuts the front of the working copy up to and including the
    // separator it reads, so the copy shrinks and the loop ends.
    while (selection.find().execute()) {
        selection.moveRight(Unit::Character, 1);
        const int nameStart = selection.start();
        if (!FindNext(selection, joined::kSeparatorClose)) {
            logLostMarker(state, joined::kSeparatorClose);
            complete = false;
            break;
        }
        selection.moveLeft(Unit::Character, 1);
        const int nameEnd = selection.end();
        working->range(nameStart, std::max(nameStart, nameEnd)).select();
        partName = selection.text().trimmed();
        if (partName == joined::kEndName) break;

        // Cut off the front: everything up to and including this part's separator.
        FindNext(selection, joined::kSeparatorClose);
        selection.moveRight(Unit::Character, 1);
        selection.homeKey(Unit::Story, MoveMode::Extend);
        selection.deleteText(Unit::Character, 1);

        // The part runs up to the next separator (at the latest the end marker).
        if (!FindNext(selection, joined::kSeparatorOpen)) {
            logLostMarker(state, joined::kSeparatorOpen);
            complete = false;
            break;
        }
        selection.moveLeft(Unit::Character, 1);
        const int partEnd = selection.start();
        selection.homeKey(Unit::Story);
        if (!joined::IsSafePartName(partName)) {
            run.WriteLog(run.T(QStringLiteral("Error: Ungültiger Dateiname im Bindle-Element: ")) + u'"' +
                         joined::PrintablePartName(partName) + u'"');
            state.setError();
            continue;
        }
        if (writePart(state, saver, *working, partEnd, folder, partName)) state.fileList.append(partName);
    }

    if (complete) {
        ++state.splitCount;
        ui.SetFileText(QStringLiteral("--> ") + partName);
        ui.ShowProgress(run::ProgressBar::Run, state.splitCount, total);
    }
    ui.Yield();
    working->setSaved(true);
    working->close();
}

}  // namespace celltrove::tool
