#include "import/WordSearch.h"

namespace celltrove::importing {

using office::doc::Find;

namespace {

constexpr int kRed = 255;
const QString kInternalStyle = QStringLiteral("tw4winInternal");

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

bool ReplaceAllAsInternal(office::doc::Application &word, const QString &pattern, const QString &replacement,
                          run::RunUi *ui) {
    if (ui) ui->Yield();
    office::doc::Selection *selection = word.selection();
    if (!selection) return false;
    Find find = selection->find();
    find.clearFormatting();
    find.replacement().clearFormatting();
    // The style must be the document's own; without it the text is replaced unstyled.
    if (selection->document()->styles().indexOf(kInternalStyle) >= 0) find.replacement().setStyle(kInternalStyle);
    find.setText(pattern);
    find.replacement().setText(replacement);
    find.setForward(true);
    find.setWrap(office::doc::kFindContinue);
    find.setFormat(true);
    find.setMatchCase(false);
    find.setMatchWholeWord(false);
    find.setMatchAllWordForms(false);
    find.setMatchSoundsLike(false);
    find.setMatchWildcards(true);
    return find.execute(office::doc::ReplaceMode::All);
}

void ReplaceInFirstTable(office::doc::Document &document, const QString &text, const QString &replacement) {
    if (document.tables().count() < 1) return;
    office::doc::Range range = document.tables().item(1).range();
    Find find = range.find();
    find.clearFormatting();
    find.replacement().clearFormatting();
    find.setText(text);
    find.replacement().setText(replacement);
    find.execute(office::doc::ReplaceMode::All);
}

void ClearBlankTableCells(office::doc::Document &document, run::RunUi *ui) {
    if (document.tables().count() < 1) return;
    const office::doc::Table table = document.tables().item(1);
    const int rows = table.rowCount();
    for (int row = 1; row <= rows; ++row) {
        // Cells are addressed afresh: emptying one moves the ones after it.
        const int columns = int(document.tableLayout()[0].rows[std::size_t(row - 1)].cells.size());
        for (int column = 1; column <= columns; ++column) {
            if (ui) ui->Yield();
            office::doc::Range r = table.cell(row, column).range();
            // A cell's text ends in CR and character 7, so one character of content makes three.
            const QString text = r.text();
            if (text.size() == 3 && (text[0] == QChar(u' ') || text[0] == QChar(0xA0))) r.deleteText();
        }
    }
}

}  // namespace celltrove::importing
