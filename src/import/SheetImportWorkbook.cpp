#include "import/SheetImportWorkbook.h"

#include "import/UsedRange.h"
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"

namespace celltrove::importing {

using office::sheet::Workbook;
using office::sheet::Worksheet;

namespace {

constexpr bool kEngineWrites = false;
const QString kNoWriter = QStringLiteral("the workbook engine cannot write workbooks yet");

class SheetAdapter : public ImportSheet {
public:
    explicit SheetAdapter(Worksheet *sheet) : m_sheet(sheet) {}

    QString name() const override { return m_sheet->name(); }
    QString cellText(int row, int column) const override {
        return office::sheet::valueToText(m_sheet->value(row, column));
    }
    office::Status setCellText(int, int, const QString &) override { return office::Status::failure(kNoWriter); }
    int commentCount() const override { return m_sheet->commentCount(); }
    office::Status setCommentText(int, const QString &) override { return office::Status::failure(kNoWriter); }
    office::Status pasteGrid(int, int, const QList<QStringList> &) override {
        return office::Status::failure(kNoWriter);
    }
    void usedRange(int &rows, int &columns) const override {
        const UsedRange used = DetectUsedRange(*m_sheet);
        rows = used.rows;
        columns = used.columns;
    }

private:
    Worksheet *m_sheet;
};

class SheetWorkbook : public ImportWorkbook {
public:
    explicit SheetWorkbook(std::unique_ptr<Workbook> book) : m_book(std::move(book)) {}

    ImportSheet *worksheetByIndex(int index) override {
        Worksheet *sheet = m_book->sheet(index);
        if (!sheet || sheet->kind() != office::sheet::SheetKind::Worksheet) return nullptr;
        m_adapter = std::make_unique<SheetAdapter>(sheet);
        return m_adapter.get();
    }
    office::Status save() override { return office::Status::failure(kNoWriter); }

private:
    std::unique_ptr<Workbook> m_book;
    std::unique_ptr<SheetAdapter> m_adapter;
};

}  // namespace

std::unique_ptr<ImportWorkbook> OpenSheetWorkbook(const QString &path, office::Status &status) {
    std::unique_ptr<Workbook> book;
    status = Workbook::open(path, book);
    if (!status || !book) return nullptr;
    // Until the engine writes workbooks, refuse here: one clear reason per
    // document instead of a failure for every cell.
    if (!kEngineWrites) {
        status = office::Status::failure(kNoWriter);
        return nullptr;
    }
    return std::make_unique<SheetWorkbook>(std::move(book));
}

}  // namespace celltrove::importing
