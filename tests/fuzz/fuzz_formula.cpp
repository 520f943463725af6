// Fuzz target: the formula decompiler. The first byte picks the shared-formula
// and Excel 95 modes and the cell, the next two the token length; the rest after
// the tokens is the extra data.
#include "office/sheet/FormulaText.h"

#include <cstddef>
#include <cstdint>

namespace {

class AnyContext : public office::sheet::FormulaContext {
public:
    std::optional<office::sheet::SheetSpan> sheetSpan(int xti) const override {
        if (xti > 3) return std::nullopt;
        return office::sheet::SheetSpan{xti == 1 ? QStringLiteral("Book.xls") : QString(), QStringLiteral("Sheet 1"),
                                        QStringLiteral("Sheet3"), xti == 2};
    }
    std::optional<QString> definedName(int index) const override {
        if (index > 3) return std::nullopt;
        return QStringLiteral("_xlfn.NAME%1").arg(index);
    }
    std::optional<QString> externalName(int xti, int index) const override {
        if (xti > 3 || index > 3) return std::nullopt;
        return QStringLiteral("ADDIN%1").arg(index);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3) return 0;
    const bool shared = data[0] & 1;
    const size_t length = std::min<size_t>(size - 3, size_t(data[1] | (data[2] << 8)));
    const char *p = reinterpret_cast<const char *>(data + 3);
    office::sheet::FormulaTokens formula{QByteArray(p, qsizetype(length)),
                                         QByteArray(p + length, qsizetype(size - 3 - length)), shared,
                                         (data[0] & 2) != 0};
    QString text;
    (void)office::sheet::formulaText(formula, data[0] >> 1, data[0], AnyContext(), text);
    return 0;
}
