// Fuzz target: the workbook reader, from the compound file up to every sheet's cells,
// comments and End jumps.
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    std::unique_ptr<office::sheet::Workbook> book;
    if (!office::sheet::Workbook::openBytes(bytes, book).ok) return 0;
    const QLocale locale(QLocale::German, QLocale::Germany);
    for (int n = 1; n <= book->worksheetCount(); ++n) {
        const office::sheet::Worksheet &sheet = *book->worksheet(n);
        for (const auto &cell : sheet.cells())
            (void)office::sheet::valueToText(sheet.value(cell.row(), cell.column()), locale);
        for (int i = 1; i <= sheet.commentCount(); ++i) (void)sheet.comment(i).text.size();
        for (int col = 1; col <= office::sheet::Worksheet::kColumnCount; col += 17)
            (void)sheet.endUp(office::sheet::Worksheet::kRowCount, col);
        (void)sheet.endLeft(1, office::sheet::Worksheet::kColumnCount);
    }
    return 0;
}
