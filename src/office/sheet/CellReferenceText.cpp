#include "office/sheet/CellReferenceText.h"

#include <QRegularExpression>

namespace office::sheet {

QString columnLetters(int column0) {
    QString letters;
    for (int n = column0 + 1; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

QString cellReferenceText(int row0, int column0, bool rowRelative, bool columnRelative) {
    QString text;
    if (!columnRelative) text += QLatin1Char('$');
    text += columnLetters(column0);
    if (!rowRelative) text += QLatin1Char('$');
    text += QString::number(row0 + 1);
    return text;
}

bool sheetNameNeedsQuotes(const QString &name) {
    // Plain names are letters, digits, '_' and '.', do not start with a digit and
    // cannot be mistaken for a cell reference ("A1", "IV65536", "R1C1").
    static const QRegularExpression cellLike(QStringLiteral("^([A-Za-z]{1,3}[0-9]+|[Rr][0-9]*[Cc][0-9]*)$"));
    if (name.isEmpty() || name.front().isDigit() || cellLike.match(name).hasMatch()) return true;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.'))) return true;
    return false;
}

QString quotedName(const QString &text) {
    QString inner = text;
    inner.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

}  // namespace office::sheet
