#include "import/DocumentHeader.h"

#include "import/TaggedMarkers.h"

namespace celltrove::importing {

using office::doc::Selection;
using office::doc::Unit;

namespace {

// Finds `marker` with wrap-around and takes the text behind it up to the
// paragraph mark. The word processor's "end of line, one back" reaches the same
// point only where its line end includes the mark; the paragraph end is meant.
bool readAfterMarker(office::doc::Application &word, const QString &marker, QString &value) {
    Selection *selection = word.selection();
    office::doc::Find find = selection->find();
    find.clearFormatting();
    find.setWrap(office::doc::kFindContinue);
    if (!find.execute(marker, true)) return false;
    selection->moveRight(Unit::Character, 1);
    const int start = selection->start();
    selection->moveEndUntil(QStringLiteral("\r"));
    selection->setRange(start, selection->end());
    value = TrimBlanks(selection->text());
    return true;
}

}  // namespace

QString TrimBlanks(const QString &text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == u' ') ++from;
    while (to > from && text.at(to - 1) == u' ') --to;
    return text.mid(from, to - from);
}

DocumentHeader ReadDocumentHeader(office::doc::Application &word) {
    DocumentHeader header;
    Selection *selection = word.selection();
    if (!selection) return header;
    selection->homeKey(Unit::Story);
    header.workbookMarkerFound = readAfterMarker(word, markers::kWorkbookName, header.workbookName);

    office::doc::Find find = selection->find();
    find.setFormat(false);
    find.setMatchCase(false);
    find.setMatchWholeWord(false);
    find.setMatchWildcards(false);
    find.setMatchSoundsLike(false);
    find.setMatchAllWordForms(false);
    header.sheetMarkerFound = readAfterMarker(word, markers::kSheetNumber, header.sheetNumber);
    return header;
}

}  // namespace celltrove::importing
