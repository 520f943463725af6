#include "import/CellImport.h"

#include "import/FormulaReplacement.h"
#include "import/TaggedMarkers.h"
#include "import/WordSearch.h"
#include "count/AnalysisReport.h"
#include "office/doc/StoryCharacters.h"

namespace celltrove::importing {

using office::doc::Selection;
using office::doc::Unit;

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLineBreak = 11;
constexpr int kMaxRow = 65536;
constexpr int kMaxColumn = 256;

bool lastIsCr(const Selection &s) {
    return s.end() > s.start() && s.document()->story().at(s.end() - 1) == kCr;
}
bool firstIsCr(const Selection &s) {
    return s.end() > s.start() && s.document()->story().at(s.start()) == kCr;
}

// Takes the paragraph marks off the end of the selection; one that is the
// whole selection collapses it behind the mark.
void dropTrailingMarks(Selection &s) {
    while (lastIsCr(s)) {
        if (s.end() - s.start() > 1) {
            s.moveEnd(Unit::Character, -1);
        } else {
            s.moveRight(Unit::Character, 1);
            break;
        }
    }
}

void dropLeadingMarks(Selection &s) {
    while (s.type() != office::doc::kSelectionIP && firstIsCr(s)) s.moveStart(Unit::Character, 1);
}

// Leaves the totals line selected. A document without one gets one appended,
// so that the last cell's text ends and the progress has a total; only the
// document in memory changes. The line stands at the document's end, so each
// search for it reads the whole document: search again only after appending.
void selectTotalLine(office::doc::Application &word, Selection &s) {
    if (FindAnywhere(word, markers::kTotalLine)) return;
    s.endKey(Unit::Story);
    s.insertAfter(markers::kTotalLine + QStringLiteral("123\r"));
    (void)s.range().setStyle(markers::kExternalStyle);
    s.homeKey(Unit::Story);
    FindAnywhere(word, markers::kTotalLine);
}

// The number after the selected totals line; 0 or no number gives 1.
int readTotal(Selection &s) {
    s.moveRight(Unit::Character, 1);
    const int start = s.start();
    s.moveUntil(QStringLiteral("\r"));
    s.setRange(start, s.start());
    const int total = TrimBlanks(s.text()).toInt();
    return total == 0 ? 1 : total;
}

// Comment i takes the text between "<comm>" and "</comm>" without the
// paragraph marks around it; only blanks are trimmed from its ends.
int importComments(run::RunContext &run, Selection &s, ImportSheet &sheet) {
    s.homeKey(Unit::Story);
    int written = 0;
    const int count = sheet.commentCount();
    for (int i = 1; i <= count; ++i) {
        office::doc::Find find = s.find();
        find.clearFormatting();
        s.moveLeft(Unit::Character, 1);
        find.setWrap(office::doc::kFindStop);
        if (!find.execute(markers::kCommentOpen, true)) break;
        s.moveRight(Unit::Character, 1);
        const int start = s.start();
        if (!find.execute(markers::kCommentClose, true)) break;
        s.setRange(start, s.start());
        dropLeadingMarks(s);
        dropTrailingMarks(s);
        const QString text = s.type() == office::doc::kSelectionIP ? QString() : s.text();
        WriteCommentBlock(run, sheet, i, text, [&run](const QString &line) { run.WriteLog(line); });
        ++written;
    }
    return written;
}

// A cell text that leaves its cell as it is: nothing, a blank, a single line or
// paragraph break, or the line feed tag alone.
bool leavesCellAlone(const QString &text) {
    if (text.size() > 1) return text == markers::kLineFeedTag;
    return text.isEmpty() || text.front() == u' ' || text.front() == kCr || text.front() == kLineBreak;
}

}  // namespace

void WriteCommentBlock(run::RunContext &run, ImportSheet &sheet, int index, const QString &text, const LogLine &log) {
    run.counter().CountText(text, false, 1);
    QString value = office::doc::unicodeText(text);
    value.replace(markers::kLineFeedTag, QStringLiteral("\r"));
    value = TrimBlanks(value);
    value.replace(kCr, u'\n');
    const office::Status status = sheet.setCommentText(index, value);
    if (!status) log(run.T(QStringLiteral("Error: Kommentar nicht geschrieben: ")) + QString::number(index) +
                     QStringLiteral(" (") + status.message + u')');
}

void WriteMarkedCell(run::RunContext &run, ImportSheet &sheet, const QString &identifier, const QString &text,
                     const LogLine &log) {
    run.counter().CountText(text, false, 1);
    QString value = office::doc::unicodeText(text);
    if (leavesCellAlone(value)) return;
    int row = 0;
    int column = 0;
    if (!ParseCellIdentifier(identifier, row, column)) {
        log(run.T(QStringLiteral("Error: Ungültige Zellmarke: ")) + markers::kCellMarker + identifier);
        run.runError = true;
        return;
    }
    // Paragraph marks and line feed tags both become line feeds; most texts have neither.
    if (value.contains(kCr) || value.contains(u'<')) {
        value.replace(kCr, u'\n');
        value.replace(markers::kLineFeedTag, QStringLiteral("\n"));
    }
    const bool formula = sheet.holdsFormula(row, column);
    const office::Status status = sheet.setCellText(row, column, value);
    if (formula && !sheet.holdsFormula(row, column)) log(ReplacedFormulaLine(run, sheet, row, column));
    if (!status) {
        log(run.T(QStringLiteral("Error: Zelle nicht geschrieben: ")) + identifier + QStringLiteral(" (") +
            status.message + u')');
        run.runError = true;
    }
}

namespace {

QStringView trimmedBlanks(QStringView text) {
    while (!text.isEmpty() && text.front() == u' ') text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ') text.chop(1);
    return text;
}

}  // namespace

bool ParseCellIdentifier(const QString &identifier, int &row, int &column) {
    // Read in place: this runs once for every cell of a document.
    const qsizetype comma = identifier.indexOf(u',');
    if (comma < 0 || identifier.indexOf(u',', comma + 1) >= 0) return false;
    bool rowOk = false;
    bool columnOk = false;
    row = trimmedBlanks(QStringView(identifier).first(comma)).toInt(&rowOk);
    column = trimmedBlanks(QStringView(identifier).sliced(comma + 1)).toInt(&columnOk);
    return rowOk && columnOk && row >= 1 && row <= kMaxRow && column >= 1 && column <= kMaxColumn;
}

ImportTarget ImportCells(run::RunContext &run, ImportEngines &engines, office::doc::Document *document,
                         const QString &folder, const DocumentHeader &header, const QString &documentPath) {
    office::doc::Application &word = engines.word;
    word.activate(document);
    Selection &s = document->selection();
    run::RunUi &ui = run.ui();

    if (!FindAnywhere(word, markers::kCellMarker)) {
        document->setSaved(true);
        document->close();
        return {};
    }
    // Manual line breaks become paragraph marks, so that every line end of a
    // cell text is one kind of mark below.
    ReplaceAllRed(word, QString(kLineBreak), QString(kCr));
    selectTotalLine(word, s);
    const int total = readTotal(s);

    ImportTarget target = OpenImportTarget(run, engines, folder, header, documentPath);
    if (!target) {
        document->setSaved(true);
        document->close();
        return target;
    }
    ImportSheet &sheet = *target.sheet;
    const int comments = importComments(run, s, sheet);

    s.homeKey(Unit::Story);
    office::doc::Find find = s.find();
    find.clearFormatting();
    find.setText(markers::kCellMarker);
    find.setForward(true);
    find.setWrap(office::doc::kFindStop);
    int counter = 0;
    const QLocale locale = QLocale::system();
    while (find.execute()) {
        ++counter;
        ui.ShowProgress(run::ProgressBar::Sheet, counter, total);
        ui.SetProcessText(count::NumberText(double(counter) * 100 / total, locale).left(6) + QStringLiteral(" %"));
        ui.Yield();

        s.moveRight(Unit::Character, 1);
        const int idStart = s.start();
        s.moveUntil(QStringLiteral("-"));
        s.setRange(idStart, s.start());
        const QString identifier = TrimBlanks(s.text());

        FindPlain(word, QString(kCr));
        const int textStart = s.start();
        FindPlain(word, markers::kMarkerStart);
        s.setRange(textStart, s.start());
        dropTrailingMarks(s);
        dropLeadingMarks(s);

        const QString text = s.type() == office::doc::kSelectionIP ? QString() : s.text();
        WriteMarkedCell(run, sheet, identifier, text, [&run](const QString &line) { run.WriteLog(line); });
        find.setText(markers::kCellMarker);
        // Search on behind the text. A text that collapsed to nothing may stand
        // right before the next marker: moving on from there would skip it.
        if (s.type() != office::doc::kSelectionIP) s.moveRight(Unit::Character, 1);
        find.setWrap(office::doc::kFindStop);
    }

    run.WriteLog(QString::number(counter + comments) + run.T(QStringLiteral(" Zellen importiert")));
    run.counter().CountText(QString(), true, 1);
    document->setSaved(true);
    document->close();
    engines.clipboard.clear();
    ui.SetSheetText(QString());
    return target;
}

}  // namespace celltrove::importing
