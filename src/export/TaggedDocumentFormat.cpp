#include "export/TaggedDocumentFormat.h"

#include <celltrove/Version.h>

#include <algorithm>

namespace celltrove::exporting {

namespace {

// Decimal digits of a non-negative number into `out`, which holds at least 10.
qsizetype putDigits(char16_t *out, int n) {
    char16_t reversed[10];
    qsizetype count = 0;
    do {
        reversed[count++] = char16_t(u'0' + n % 10);
        n /= 10;
    } while (n > 0 && count < 10);
    for (qsizetype i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
    return count;
}

}  // namespace

void AppendCellMarker(QString &out, int row, int column) {
    // Digits are put directly: the export writes one marker per cell.
    char16_t digits[24];
    qsizetype n = putDigits(digits, std::max(row, 0));
    digits[n++] = u',';
    n += putDigits(digits + n, std::max(column, 0));
    out.append(tagged::kCellMarkerStart);
    out.append(QStringView(digits, n));
    out.append(tagged::kCellMarkerEnd);
}

QString HeaderLine(const QString &productLabel) {
    return tagged::kHeaderStart + productLabel + QString::number(kVersionMajor) + u'.' + QString::number(kVersionMinor) +
           QStringLiteral(" Build: ") + QString::number(kBuildNumber) + QStringLiteral(" -->");
}

QString TaggedFileName(const QString &workbookFileName, int sheetIndex) {
    return QStringLiteral("Text_") + workbookFileName + u'-' + QString::number(sheetIndex) + QStringLiteral(".rtf");
}

void AppendCellParagraphText(QString &out, QStringView cellText) {
    // A CR would end the paragraph and split the cell in two; CR LF is one line end.
    const qsizetype size = cellText.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = cellText[i].unicode();
        if (c != u'\r' && c != u'\n') continue;
        out.append(cellText.mid(from, i - from));
        out.append(QChar(tagged::kLineBreak));
        if (c == u'\r' && i + 1 < size && cellText[i + 1] == u'\n') ++i;
        from = i + 1;
    }
    out.append(cellText.mid(from));
}

}  // namespace celltrove::exporting
