#include "office/sheet/TabSeparatedText.h"

#include "office/sheet/AtomicFile.h"
#include "office/sheet/Worksheet.h"

#include <QStringEncoder>

namespace office::sheet {

namespace {

bool needsQuotes(QStringView field) {
    for (QChar c : field) {
        const char16_t u = c.unicode();
        if (u == u'\t' || u == u'"' || u == u'\n' || u == u'\r') return true;
    }
    return false;
}

void appendField(QString &out, const QString &field) {
    if (!needsQuotes(field)) {
        out.append(field);
        return;
    }
    out.append(u'"');
    for (QChar c : field) {
        if (c == u'"') out.append(u'"');
        out.append(c);
    }
    out.append(u'"');
}

// Ends the current row and `count - 1` empty ones, each padded to the full width.
void endRows(QString &out, int &tabs, int columns, int count) {
    for (int r = 0; r < count; ++r) {
        for (; tabs < columns - 1; ++tabs) out.append(u'\t');
        out.append(QStringLiteral("\r\n"));
        tabs = 0;
    }
}

}  // namespace

QString quotedTextField(const QString &field) {
    QString out;
    appendField(out, field);
    return out;
}

QString tabSeparatedText(const Worksheet &sheet) {
    const auto [lastRow, lastColumn] = sheet.filledExtent();
    const int rows = std::max(lastRow, 1);
    const int columns = std::max(lastColumn, 1);
    QString out;
    int row = 1;   // the row being written
    int tabs = 0;  // tabs written in it: the next field belongs to column tabs + 1
    for (const Cell &cell : sheet.cells()) {
        if (cell.row() > rows) break;
        if (cell.column() > columns) continue;
        const QString text = sheet.textOf(cell);
        if (text.isEmpty()) continue;
        if (cell.row() > row) {
            endRows(out, tabs, columns, cell.row() - row);
            row = cell.row();
        }
        for (; tabs < cell.column() - 1; ++tabs) out.append(u'\t');
        appendField(out, text);
    }
    endRows(out, tabs, columns, rows - row + 1);
    return out;
}

Status saveSheetAsText(const Worksheet &sheet, const QString &path, TextFileEncoding encoding) {
    const QString text = tabSeparatedText(sheet);
    QByteArray bytes;
    if (encoding == TextFileEncoding::Utf8) {
        bytes = text.toUtf8();
    } else {
        QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        bytes = encoder.encode(text);
    }
    return writeFileAtomically(path, bytes);
}

}  // namespace office::sheet
