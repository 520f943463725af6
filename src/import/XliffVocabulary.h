#pragma once

#include <QString>

namespace celltrove::importing::xliff {

/// The XLIFF 1.2 names the export writes and the import reads.
inline const QString kNamespace = QStringLiteral("urn:oasis:names:tc:xliff:document:1.2");
/// Our own header elements (workbook and sheet name), beside XLIFF's.
inline const QString kCelltroveNamespace = QStringLiteral("urn:celltrove:xliff");
inline const QString kDatatype = QStringLiteral("x-excel-sheet");
inline const QString kTargetState = QStringLiteral("needs-translation");
/// Unit id prefix of a comment: "comment:3,2".
inline const QString kCommentIdPrefix = QStringLiteral("comment:");
/// `ctype` of the placeholder of a line feed inside a cell.
inline const QString kLineBreakType = QStringLiteral("lb");
/// `ctype` of a `<ph>` whose content "U+0001" stands for a character XML 1.0
/// cannot hold (control characters, lone surrogates, U+FFFE, U+FFFF).
inline const QString kCharacterType = QStringLiteral("x-char");

/// Longest text a cell or comment holds (UTF-16 characters); a unit text
/// beyond it is refused by the import.
inline constexpr int kMaxUnitText = 32767;
/// Last row and column of a worksheet.
inline constexpr int kMaxRow = 65536;
inline constexpr int kMaxColumn = 256;

/// "3,2" for row 3, column 2 (1-based), as the cell markers write it.
inline QString CellUnitId(int row, int column) {
    return QString::number(row) + u',' + QString::number(column);
}

/// Reads "r,c" into a 1-based row and column inside a worksheet; false otherwise.
inline bool ParseCellUnitId(QStringView id, int &row, int &column) {
    const qsizetype comma = id.indexOf(u',');
    if (comma <= 0) return false;
    bool rowOk = false, columnOk = false;
    row = id.left(comma).toInt(&rowOk);
    column = id.mid(comma + 1).toInt(&columnOk);
    return rowOk && columnOk && row >= 1 && row <= kMaxRow && column >= 1 && column <= kMaxColumn &&
           !id.left(comma).startsWith(u'+') && !id.mid(comma + 1).startsWith(u'+');
}

/// True for a UTF-16 unit XML 1.0 can hold as text on its own (surrogates are
/// checked in pairs by the caller). Tab, line feed and carriage return pass.
inline bool IsXmlCharacter(char16_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

}  // namespace celltrove::importing::xliff
