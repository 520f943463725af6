#include "import/StreamedCellImport.h"

#include "import/CellImport.h"
#include "import/StreamedStory.h"
#include "import/TaggedMarkers.h"
#include "count/AnalysisReport.h"

#include <QFile>
#include <QStringList>

#include <limits>

namespace celltrove::importing {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLineBreak = 11;

// Before the cells are read every manual line break becomes a paragraph mark.
bool isMark(char16_t c) { return c == kCr || c == kLineBreak; }

QString markedText(const StreamedStory &story, qint64 from, qint64 to) {
    QString text = story.text(from, to);
    text.replace(QChar(kLineBreak), QChar(kCr));
    return text;
}

// A selection [start, end) without the paragraph marks at its ends, as the
// whole-document import trims it: a single mark left at the end collapses the
// selection behind it.
struct Span {
    qint64 start;
    qint64 end;
    bool empty() const { return start >= end; }
};

void dropTrailingMarks(const StreamedStory &story, Span &s) {
    while (s.end > s.start && isMark(story.at(s.end - 1))) {
        if (s.end - s.start > 1) {
            --s.end;
        } else {
            s.start = s.end;
            break;
        }
    }
}

void dropLeadingMarks(const StreamedStory &story, Span &s) {
    while (s.start < s.end && isMark(story.at(s.start))) ++s.start;
}

// The comment blocks, read alongside the cells: the k-th "<comm>" … "</comm>"
// goes into the sheet's k-th comment. Works on what has been read so far and
// carries on when more comes.
class CommentBlocks {
public:
    CommentBlocks(run::RunContext &run, ImportSheet &sheet, LogLine log)
        : m_run(run), m_sheet(sheet), m_count(sheet.commentCount()), m_log(std::move(log)) {
        if (m_count < 1) m_state = Done;
    }

    void advance(const StreamedStory &story) {
        while (m_state != Done) {
            const QString &marker = m_state == Open ? markers::kCommentOpen : markers::kCommentClose;
            const qint64 at = story.findRead(marker, m_from);
            if (at < 0) {
                if (story.ended()) m_state = Done;
                else m_from = std::max(m_from, story.readEnd() - marker.size() + 1);
                return;
            }
            if (m_state == Open) {
                m_textStart = at + marker.size();
                m_from = m_textStart;
                m_state = Close;
                continue;
            }
            Span s{m_textStart, at};
            dropLeadingMarks(story, s);
            dropTrailingMarks(story, s);
            WriteCommentBlock(m_run, m_sheet, m_index, s.empty() ? QString() : markedText(story, s.start, s.end),
                              m_log);
            ++m_written;
            // The next search starts where "move left one character" leaves the selection.
            m_from = s.empty() ? std::max<qint64>(s.end - 1, 0) : s.start;
            m_state = ++m_index > m_count ? Done : Open;
        }
    }

    /// The oldest story position the blocks may still need.
    qint64 keepFrom() const {
        if (m_state == Done) return std::numeric_limits<qint64>::max();
        return m_state == Close ? m_textStart : m_from;
    }
    int written() const { return m_written; }

private:
    enum State { Open, Close, Done };
    run::RunContext &m_run;
    ImportSheet &m_sheet;
    const int m_count;
    LogLine m_log;
    State m_state = Open;
    qint64 m_from = 0;
    qint64 m_textStart = 0;
    int m_index = 1;
    int m_written = 0;
};

// The number on the totals line, for the progress only: the line stands at the
// document's end, so it is looked for in the file's last bytes. As the
// whole-document import reads it, a 0 or no number counts as 1 and a missing
// line as 123; a line not written there plainly also gives 123.
int totalFromFileEnd(const QString &path) {
    constexpr int kMissing = 123;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return kMissing;
    constexpr qint64 kTail = 64 * 1024;
    file.seek(std::max<qint64>(0, file.size() - kTail));
    const QByteArray tail = file.read(kTail);
    const QByteArray marker = markers::kTotalLine.toLatin1();
    const qsizetype at = tail.lastIndexOf(marker);
    if (at < 0) return kMissing;
    qsizetype end = at + marker.size();
    while (end < tail.size() && !QByteArrayView("\\{}\r\n").contains(tail.at(end))) ++end;
    const int total = TrimBlanks(QString::fromLatin1(tail.mid(at + marker.size(), end - at - marker.size()))).toInt();
    return total == 0 ? 1 : total;
}

struct Header {
    DocumentHeader header;
    bool usable = false;
};

// The workbook and sheet markers as the whole-document import reads them: the
// first workbook marker, then the first sheet marker after its paragraph end.
// Where that sheet marker only stands before it, the whole document is needed.
Header readHeader(StreamedStory &story) {
    Header h;
    // The text after `marker` up to its paragraph end, trimmed; the end is -1 when
    // either is missing.
    auto valueAfter = [&story](const QString &marker, qint64 from, QString &value) -> qint64 {
        const qint64 at = story.find(marker, from);
        if (at < 0) return -1;
        const qint64 start = at + marker.size();
        const qint64 end = story.findChar(kCr, kCr, start);
        if (end >= 0) value = TrimBlanks(story.text(start, end));
        return end;
    };
    const qint64 nameEnd = valueAfter(markers::kWorkbookName, 0, h.header.workbookName);
    if (nameEnd < 0) return h;
    h.header.workbookMarkerFound = true;
    if (valueAfter(markers::kSheetNumber, nameEnd, h.header.sheetNumber) < 0) return h;
    h.header.sheetMarkerFound = true;
    h.usable = true;
    return h;
}

// Reads the rest of the story, keeping nothing: false when it holds a table.
bool restIsPlain(StreamedStory &story) {
    while (story.readMore()) story.forget(story.readEnd());
    return !story.failed();
}

}  // namespace

StreamedImport ImportCellsStreamed(run::RunContext &run, ImportEngines &engines, const QString &folder,
                                   const QString &documentPath, office::doc::RtfTextStream &stream) {
    StreamedImport result;
    StreamedStory story(stream);

    const Header header = readHeader(story);
    if (!header.usable) return result;
    if (story.find(markers::kCellMarker, 0) < 0) {
        if (story.failed()) return result;
        result.outcome = StreamedImport::NoCellMarker;
        return result;
    }

    const count::TextCounter countsBefore = run.counter();
    const bool errorBefore = run.runError;
    TargetRefusal refusal;
    ImportTarget target = OpenImportTargetSilently(run, engines, folder, header.header, documentPath, refusal);
    if (!target) {
        // A refused workbook ends the cell way; a table further on would send
        // the document the table way instead, which refuses in words of its own.
        if (!restIsPlain(story)) return result;
        refusal.report(run);
        result.outcome = StreamedImport::Imported;
        return result;
    }
    ImportSheet &sheet = *target.sheet;
    run::RunUi &ui = run.ui();

    // Lines for the log wait until the document is known to be read to its end.
    QStringList commentLines;
    QStringList cellLines;
    CommentBlocks comments(run, sheet, [&commentLines](const QString &line) { commentLines.append(line); });
    const LogLine cellLog = [&cellLines](const QString &line) { cellLines.append(line); };
    const auto readWhole = [&] {
        run.counter() = countsBefore;
        run.runError = errorBefore;
        return StreamedImport{};
    };

    const int total = totalFromFileEnd(documentPath);
    const QLocale locale = QLocale::system();
    const auto showProgress = [&](int counter) {
        ui.ShowProgress(run::ProgressBar::Sheet, counter, total);
        ui.SetProcessText(count::NumberText(double(counter) * 100 / total, locale).left(6) + QStringLiteral(" %"));
    };
    int shownStep = -1;
    int shownCounter = 0;
    int counter = 0;
    qint64 pos = 0;
    for (;;) {
        const qint64 marker = story.find(markers::kCellMarker, pos);
        comments.advance(story);
        if (marker < 0) break;
        ++counter;
        // Formatting the percentage for every cell would cost more than the
        // rest of the cell's import: the progress moves in steps of 1/1000.
        if (const int step = int(qint64(counter) * 1000 / total); counter == 1 || step != shownStep) {
            showProgress(counter);
            shownStep = step;
            shownCounter = counter;
        }
        ui.Yield();

        const qint64 idStart = marker + markers::kCellMarker.size();
        const qint64 dash = story.findChar(u'-', u'-', idStart);
        if (dash < 0 && story.failed()) return readWhole();
        const qint64 idEnd = dash < 0 ? idStart : dash;
        const QString identifier = TrimBlanks(story.text(idStart, idEnd));
        const qint64 paragraphEnd = story.findChar(kCr, kLineBreak, idEnd);
        // Without a marker further on, the whole-document import goes round to
        // the document's start or appends a totals line: leave that to it.
        const qint64 next = paragraphEnd < 0 ? -1 : story.find(markers::kMarkerStart, paragraphEnd + 1);
        comments.advance(story);
        if (next < 0) return readWhole();

        Span s{paragraphEnd, next};
        dropTrailingMarks(story, s);
        dropLeadingMarks(story, s);
        WriteMarkedCell(run, sheet, identifier, s.empty() ? QString() : markedText(story, s.start, s.end), cellLog);
        pos = s.end;
        story.forget(std::min(pos, comments.keepFrom()));
    }
    if (story.failed()) return readWhole();
    comments.advance(story);
    if (counter != shownCounter) showProgress(counter);

    for (const QString &line : std::as_const(commentLines)) run.WriteLog(line);
    for (const QString &line : std::as_const(cellLines)) run.WriteLog(line);
    run.WriteLog(QString::number(counter + comments.written()) + run.T(QStringLiteral(" Zellen importiert")));
    run.counter().CountText(QString(), true, 1);
    engines.clipboard.clear();
    ui.SetSheetText(QString());
    result.outcome = StreamedImport::Imported;
    result.target = std::move(target);
    return result;
}

}  // namespace celltrove::importing
