#include "import/WordSearch.h"

namespace celltrove::importing {

using office::doc::Find;

namespace {

constexpr int kRed = 255;

void matchOptionsOff(Find &find) {
    find.setMatchCase(false);
    find.setMatchWholeWord(false);
    find.setMatchWildcards(false);
    find.setMatchSoundsLike(false);
    find.setMatchAllWordForms(false);
}

}  // namespace

bool FindPlain(office::doc::Application &word, const QString &text) {
    office::doc::Selection *selection = word.selection();
    if (!selection) return false;
    Find find = selection->find();
    find.clearFormatting();
    find.setText(text);
    find.replacement().setText(QString());
    find.setForward(true);
    find.setWrap(office::doc::kFindContinue);
    find.setFormat(false);
    matchOptionsOff(find);
    return find.execute();
}

bool FindAnywhere(office::doc::Application &word, const QString &text) {
    office::doc::Selection *selection = word.selection();
    if (!selection) return false;
    Find find = selection->find();
    find.clearFormatting();
    find.setWrap(office::doc::kFindContinue);
    find.execute(text, true);
    return find.found();
}

bool ReplaceAllRed(office::doc::Application &word, const QString &text, const QString &replacement) {
    office::doc::Selection *selection = word.selection();
    if (!selection) return false;
    Find find = selection->find();
    find.clearFormatting();
    find.replacement().clearFormatting();
    find.setText(text);
    find.replacement().setText(replacement);
    find.replacement().setFontColor(kRed);
    find.setForward(true);
    find.setWrap(office::doc::kFindContinue);
    find.setFormat(true);
    matchOptionsOff(find);
    return find.execute(office::doc::ReplaceMode::All);
}

}  // namespace celltrove::importing
