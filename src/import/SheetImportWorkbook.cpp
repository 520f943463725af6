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

// True when `pasted` is what the table form made of a cell showing `shown`: the
// same text, with a single blank or no-break space emptied.
bool comesBackUnchanged(const QString &pasted, const QString &shown) {
    if (pasted == shown) return true;
    return pasted.isEmpty() && (shown == QStringLiteral(" ") || shown == QStringLiteral("\u00A0"));
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
        if (!m_sheet->setValue(row, column, text, m_typing, &truncated))
            return office::Status::failure(QStringLiteral("Zelle liegt außerhalb des Blatts"));
        return truncated ? cutReport() : office::Status::success();
    }
    int commentCount() const override { return m_sheet->commentCount(); }
    office::Status setCommentText(int i, const QString &text) override {
        bool truncated = false;
        if (!m_sheet->setCommentText(i, text, &truncated)) return office::Status::failure(QStringLiteral("Kommentar fehlt"));
        return truncated ? cutReport() : office::Status::success();
    }
    int commentIndexAt(int row, int column) const override {
        for (int i = 1; i <= m_sheet->commentCount(); ++i)
            if (m_sheet->comment(i).row == row && m_sheet->comment(i).column == column) return i;
        return 0;
    }
    void showAllColumnsAndLevels() override {
        m_sheet->showAllColumns();
        m_sheet->showAllOutlineLevels();
    }
    office::Status pasteGrid(int row, int column, const QList<QStringList> &grid) override {
        // The grid is the table the export made of what the cells show. A cell whose
        // text came back as it went out keeps its value: typing its shown text again
        // would round numbers to their format, turn dates into texts under another
        // locale and replace formulas by their results.
        bool cut = false;
        for (qsizetype r = 0; r < grid.size(); ++r)
            for (qsizetype c = 0; c < grid[r].size(); ++c) {
                const int atRow = row + int(r), atColumn = column + int(c);
                if (comesBackUnchanged(grid[r][c], m_sheet->text(atRow, atColumn))) continue;
                bool truncated = false;
                (void)m_sheet->setValue(atRow, atColumn, grid[r][c], QLocale::system(), &truncated);
                cut |= truncated;
            }
        return cut ? cutReport() : office::Status::success();
    }
    void usedRange(int &rows, int &columns) const override {
        const UsedRange used = DetectUsedRange(*m_sheet);
        rows = used.rows;
        columns = used.columns;
    }

private:
    Worksheet *m_sheet;
    const office::sheet::TypingLocale m_typing;  // the system locale, its symbols looked up once
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
