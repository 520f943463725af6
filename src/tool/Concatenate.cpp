#include "tool/Concatenate.h"

#include "import/FindInFile.h"
#include "run/PathLengthCheck.h"
#include "tool/JoinedDocumentFormat.h"
#include "tool/ToolPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace celltrove::tool {

using office::doc::MoveMode;
using office::doc::Unit;

namespace {

constexpr int kGreyColorIndex = 15;
constexpr int kNoProofing = 1024;
const QString kParagraphMark = QStringLiteral("\r");

void logSaveFailure(ToolRunState &state, const QString &path, const office::Status &status) {
    state.run.WriteLog(QStringLiteral(" "));
    state.run.WriteLog(state.run.T(QStringLiteral("Kann Datei nicht speichern: ")) + path + QStringLiteral(" (") +
                       status.message + u')');
    state.setError();
}

// The three lines of a file refused by a check.
void logRefusal(ToolRunState &state, const QString &reason) {
    state.run.WriteLog(QStringLiteral(" "));
    state.run.WriteLog(reason);
    state.run.WriteLog(
        state.run.T(QStringLiteral("Error: Datei aus der Konkatenier-Liste entfernen oder überprüfen.")));
    state.setError();
}

bool carriesMarker(ToolRunState &state, bool holdsMarker, const QString &shown, const QString &name) {
    if (!holdsMarker) return false;
    logRefusal(state, state.run.T(QStringLiteral("Error: Datei enthält mind. ein Bindle-Element: ")) + shown + name);
    return true;
}

// A file of the joined name already in the working folder may be one of the
// user's sources: the joined document is then built under a hidden name of its own.
QString joinedWorkPathFor(const QString &folder, const QString &joinedName) {
    const QString path = folder + joinedName;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return path;
    QString temporary = folder + u'.' + joinedName + QStringLiteral(".tmp");
    for (int n = 2; QFileInfo::exists(temporary) || QFileInfo(temporary).isSymLink(); ++n)
        temporary = folder + u'.' + joinedName + u'.' + QString::number(n) + QStringLiteral(".tmp");
    return temporary;
}

}  // namespace

void EnsureExternalStyle(ToolRunState &state) {
    if (!state.joined) return;
    office::doc::Styles &styles = state.joined->styles();
    for (int i = 0; i < styles.count(); ++i)
        if (styles.at(i)->nameLocal() == joined::kExternalStyle) return;
    office::doc::Style *style = styles.add(joined::kExternalStyle, office::doc::StyleType::Character);
    style->font().setName(QStringLiteral("Courier New"));
    style->font().setColorIndex(kGreyColorIndex);
    style->setLanguageId(kNoProofing);
}

void CatBegin(ToolRunState &state, const QString &folder, const QString &joinedName) {
    if (!state.word) return;
    state.joined = state.word->documents().add();
    state.joinedWorkPath = joinedWorkPathFor(folder, joinedName);
    const QString &path = state.joinedWorkPath;
    const office::Status saved = state.joined->saveAs(path, office::doc::SaveFormat::Rtf);
    if (!saved) logSaveFailure(state, path, saved);
    office::doc::Selection &selection = state.joined->selection();
    selection.typeText(joined::kToolLine + kParagraphMark);
    selection.typeText(joined::kNameLineOpen + joinedName + joined::kNameLineClose + kParagraphMark + kParagraphMark);
    EnsureExternalStyle(state);
    selection.endKey(Unit::Story);
}

void CatFile(ToolRunState &state, const QString &sourcePath, const QString &joinedName, int position, int total) {
    run::RunContext &run = state.run;
    const auto [folder, name] = splitAtLastSeparator(sourcePath);
    if (!run::PathLengthCheck(run, folder, name, kToolPathLimit)) {
        state.setError();
        return;
    }

    run::RunUi &ui = run.ui();
    ui.ShowProgressWindow();
    ui.SetProgressCaption(run.T(QStringLiteral("Bindle Tool")) + QStringLiteral(" - ") +
                          run.T(QStringLiteral("Konkateniere Dateien...")));
    ui.SetFileText(sourcePath);
    ui.Yield();
    ui.ShowProgress(run::ProgressBar::Run, position + 1, total);
    ui.Yield();

    // Exact comparison: a name differing only in case is another file.
    if (name == joinedName) {
        logRefusal(state,
                   run.T(QStringLiteral("Error: Datei lässt sich nicht in sich selbst einfügen! ")) + joinedName);
        return;
    }
    const QList<bool> markers = importing::FileContains(folder + name, {joined::kNameLineMarker, joined::kSeparatorOpen});
    if (carriesMarker(state, markers[0], QStringLiteral("<!-- Bindle-Fn:...--> "), name)) return;
    if (carriesMarker(state, markers[1], joined::kSeparatorOpen + u' ', name)) return;

    office::Status inserted = office::Status::failure(QStringLiteral("no joined document"));
    int separatorStart = 0;
    int separatorEnd = 0;
    if (state.joined) {
        office::doc::Selection &selection = state.joined->selection();
        separatorStart = selection.start();
        selection.insertAfter(joined::separatorFor(name) + kParagraphMark + kParagraphMark);
        selection.range().setStyle(joined::kExternalStyle);
        selection.moveRight(Unit::Character, 1);
        separatorEnd = selection.start();
        selection.endKey(Unit::Story);
        inserted = selection.insertFile(folder + name);
        selection.endKey(Unit::Story);
    }
    if (!inserted) {
        // The file was read whole before anything was inserted: taking the
        // separator out again leaves the joined document as it was.
        if (state.joined) state.joined->range(separatorStart, separatorEnd).deleteText();
        run.WriteLog(QStringLiteral(" "));
        run.WriteLog(run.T(QStringLiteral("Cat error: ")) + name + QStringLiteral(" (") + inserted.message + u')');
        state.setError();
        return;
    }
    ++state.joinedFileCount;
}

void CatEnd(ToolRunState &state) {
    office::doc::Document *document = state.joined;
    if (!document) return;
    document->range(document->paragraphs(1).start(), document->paragraphs(2).end()).select();
    office::doc::Selection &selection = document->selection();
    selection.moveLeft(Unit::Character, 1, MoveMode::Extend);  // row 2's paragraph mark stays unstyled
    selection.range().setStyle(joined::kExternalStyle);
    selection.endKey(Unit::Story);
    selection.insertAfter(joined::kEndMarker);
    selection.range().setStyle(joined::kExternalStyle);
    const office::Status saved = document->save();
    if (!saved) logSaveFailure(state, document->fullName(), saved);
    document->close();
    state.joined = nullptr;
}

void CatMove(ToolRunState &state, const QString &folder, const QString &joinedName) {
    const QString source = state.joinedWorkPath.isEmpty() ? folder + joinedName : state.joinedWorkPath;
    const QString target = folder + joined::kBindleFolder + u'/' + joinedName;
    QString reason;
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        QFile old(target);
        old.setPermissions(old.permissions() | QFileDevice::WriteOwner);
        if (!old.remove()) reason = old.errorString();
    }
    if (reason.isEmpty()) {
        QFile joinedFile(source);
        if (joinedFile.rename(target)) return;
        reason = joinedFile.errorString();
    }
    state.run.WriteLog(QStringLiteral(" "));
    state.run.WriteLog(state.run.T(QStringLiteral("Error: Datei kann nicht nach \"bindle\" verschoben werden: ")) +
                       QDir::toNativeSeparators(source) + QStringLiteral(" (") + reason + u')');
    state.setError();
}

}  // namespace celltrove::tool
