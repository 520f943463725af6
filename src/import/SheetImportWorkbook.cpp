#include "import/SheetImportWorkbook.h"

#include "import/UsedRange.h"
#include "office/sheet/ValueText.h"
#include "office/sheet/Workbook.h"

namespace celltrove::importing {

using office::sheet::Workbook;
using office::sheet::Worksheet;

namespace {

// Longest text a cell holds; longer texts are cut by the engine.
constexpr int kMaxCellText = 32767;

office::Status cutReport() {
    return office::Status::failure(
        QStringLiteral("Text länger als %1 Zeichen, nur der Anfang wurde übernommen").arg(kMaxCellText));
}

class SheetAdapter : public ImportSheet {
public:
    explicit SheetAdapter(Worksheet *sheet) : m_sheet(sheet) {}

    QString name() const override { return m_sheet->name(); }
    QString cellText(int row, int column) const override {
        return office::sheet::valueToText(m_sheet->value(row, column));
    }
    bool holdsFormula(int row, int column) const override {
        const office::sheet::Cell *cell = m_sheet->cell(row, column);
        return cell && cell->isFormula();
    }
    office::Status setCellText(int row, int column, const QString &text) override {
        bool truncated = false;
        if (!m_sheet->setValue(row, column, text, QLocale::system(), &truncated))
            return office::Status::failure(QStringLiteral("Zelle liegt außerhalb des Blatts"));
        return truncated ? cutReport() : office::Status::success();
    }
    int commentCount() const override { return m_sheet->commentCount(); }
    office::Status setCommentText(int i, const QString &text) override {
        bool truncated = false;
        if (!m_sheet->setCommentText(i, text, &truncated)) return office::Status::failure(QStringLiteral("Kommentar fehlt"));
        return truncated ? cutReport() : office::Status::success();
    }
    void showAllColumnsAndLevels() override {
        m_sheet->showAllColumns();
        m_sheet->showAllOutlineLevels();
    }
    office::Status pasteGrid(int row, int column, const QList<QStringList> &grid) override {
        return m_sheet->pasteGrid(row, column, grid) > 0 ? cutReport() : office::Status::success();
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
    office::Status save() override { return m_book->save(); }

private:
    std::unique_ptr<Workbook> m_book;
    std::unique_ptr<SheetAdapter> m_adapter;
};

}  // namespace

std::unique_ptr<ImportWorkbook> OpenSheetWorkbook(const QString &path, office::Status &status) {
    std::unique_ptr<Workbook> book;
    status = Workbook::open(path, book);
    if (!status || !book) return nullptr;
    return std::make_unique<SheetWorkbook>(std::move(book));
}

}  // namespace celltrove::importing
