// Fuzz target: the import of one document, from its header and markers to the
// cell and table ways, into a workbook held in memory (sheets 1 to 3, some
// cells, comments and a formula). The bytes are the document "Text_Mappe.xls-1.rtf".
#include "FakeWorkbook.h"

#include "import/ImportRun.h"
#include "run/RunUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    const QString name = QStringLiteral("Text_Mappe.xls-1.rtf");
    QFile file(folder + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    importtest::FakeWorkbooks books;
    importtest::FakeBook &book = books.add(folder + QStringLiteral("Mappe.xls"));
    for (int index : {1, 2, 3}) {
        importtest::FakeSheet &sheet = book.worksheets[index];
        sheet.sheetName = QStringLiteral("Blatt%1").arg(index);
        sheet.cells[{1, 1}] = QStringLiteral("Hallo");
        sheet.cells[{2, 3}] = QStringLiteral("Welt");
        sheet.formulas.insert({2, 3});
        sheet.comments = {QStringLiteral("Notiz"), QStringLiteral("zweite")};
    }
    celltrove::run::RunRequest request;
    request.folder = folder;
    request.selectedFiles = {name};
    request.fileTypeFilter = celltrove::run::FileTypeFilter::Rtf;
    celltrove::run::TextLookup texts;
    celltrove::run::SettingsStore settings(folder + QStringLiteral("settings.ini"));
    celltrove::run::SilentRunUi ui;
    (void)celltrove::importing::RunImport(request, texts, settings, ui, books.opener());
    return 0;
}
