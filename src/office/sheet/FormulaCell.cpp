#include "office/sheet/SheetTypes.h"

namespace office::sheet {
namespace {
// FORMULA body: row 2, column 2, XF 2, result 8, flags 2, cell id 4, token length 2.
constexpr int kTokenLengthAt = 20;
constexpr int kTokensAt = 22;

int tokenLength(const QByteArray &record) {
    if (record.size() < kTokensAt) return -1;
    const int cce = quint8(record[kTokenLengthAt]) | (quint8(record[kTokenLengthAt + 1]) << 8);
    return kTokensAt + cce <= record.size() ? cce : -1;
}
}  // namespace

QByteArray FormulaCell::tokens() const {
    const int cce = tokenLength(record);
    return cce < 0 ? QByteArray() : record.mid(kTokensAt, cce);
}

QByteArray FormulaCell::extra() const {
    const int cce = tokenLength(record);
    return cce < 0 ? QByteArray() : record.mid(kTokensAt + cce);
}

}  // namespace office::sheet
