#include "office/sheet/CellErrorText.h"

namespace office::sheet {

namespace {

struct ErrorName {
    std::uint8_t code;
    const char *text;
};

constexpr ErrorName kErrors[] = {
    {0x00, "#NULL!"}, {0x07, "#DIV/0!"}, {0x0F, "#VALUE!"}, {0x17, "#REF!"},
    {0x1D, "#NAME?"}, {0x24, "#NUM!"},   {0x2A, "#N/A"},
};

}  // namespace

QString cellErrorText(std::uint8_t code) {
    for (const ErrorName &e : kErrors)
        if (e.code == code) return QString::fromLatin1(e.text);
    return QStringLiteral("#N/A");
}

bool isKnownCellError(std::uint8_t code) {
    for (const ErrorName &e : kErrors)
        if (e.code == code) return true;
    return false;
}

}  // namespace office::sheet
