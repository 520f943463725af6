#include "run/ColumnLetters.h"

namespace celltrove::run {

QString columnLetters(int column) {
    if (column < 1 || column > 256) return QStringLiteral("...");
    QString letters;
    // Bijective base 26: there is no zero digit, so step down by one before each division.
    for (int n = column; n > 0; n = (n - 1) / 26) letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

}  // namespace celltrove::run
