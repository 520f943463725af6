// Fuzz target: the workbook reader, from the compound file up to every sheet's cells,
// comments and End jumps; then the writer on what was read, read back once more.
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
    // Write-back: set a few cells and a comment, save, and read the result again.
    if (book->biffVersion() != 8 || book->worksheetCount() == 0) return 0;
    office::sheet::Worksheet &first = *book->worksheet(1);
    first.setValue(1, 1, QStringLiteral("Übersetzt"), locale);
    first.setValue(2, 1, QStringLiteral("3,5"), locale);
    first.setValue(3, 2, QStringLiteral("06.12.2026"), locale);
    first.setValue(4, 3, QStringLiteral("#N/A"), locale);
    if (first.commentCount() > 0) first.setCommentText(1, QStringLiteral("neu"));
    QByteArray saved;
    if (book->toBytes(saved).ok) {
        std::unique_ptr<office::sheet::Workbook> again;
        (void)office::sheet::Workbook::openBytes(saved, again);
    }
    return 0;
}
