#pragma once

// An in-memory workbook for the import's tests: cells and comments per sheet,
// sheets addressed by Index with gaps for chart sheets, and a record of saves.

#include "import/ImportWorkbook.h"

#include <QMap>
#include <QPair>
#include <QSet>

#include <map>
#include <memory>

namespace importtest {

struct FakeSheet : celltrove::importing::ImportSheet {
    QString sheetName;
    QMap<QPair<int, int>, QString> cells;
    QStringList comments;
    QSet<QPair<int, int>> formulas;  ///< cells that hold a formula until written
    int writes = 0;
    int showAllCalls = 0;  ///< "Alle Ebenen/Spalten" applied

    QString name() const override { return sheetName; }
    QString cellText(int row, int column) const override { return cells.value({row, column}); }
    bool holdsFormula(int row, int column) const override { return formulas.contains({row, column}); }
    office::Status setCellText(int row, int column, const QString &text) override {
        ++writes;
        formulas.remove({row, column});
        if (text.isEmpty()) cells.remove({row, column});
        else cells[{row, column}] = text;
        return {};
    }
    int commentCount() const override { return int(comments.size()); }
    office::Status setCommentText(int i, const QString &text) override {
        ++writes;
        comments[i - 1] = text;
        return {};
    }
    void showAllColumnsAndLevels() override { ++showAllCalls; }
    office::Status pasteGrid(int row, int column, const QList<QStringList> &grid) override {
        for (int r = 0; r < grid.size(); ++r)
            for (int c = 0; c < grid.at(r).size(); ++c) setCellText(row + r, column + c, grid.at(r).at(c));
        return {};
    }
    void usedRange(int &rows, int &columns) const override {
        rows = 1;
        columns = 1;
        for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
            rows = std::max(rows, it.key().first);
            columns = std::max(columns, it.key().second);
        }
    }
};

/// The workbook's state; it outlives every opening, as a file on disk would.
struct FakeBook {
    std::map<int, FakeSheet> worksheets;  ///< by Index; a missing Index is a chart sheet
    int opens = 0;
    int saves = 0;
};

/// Opens FakeBooks by path; unknown paths cannot be opened.
class FakeWorkbooks {
public:
    FakeBook &add(const QString &path) { return m_books[path]; }
    FakeBook *find(const QString &path) { return m_books.count(path) ? &m_books[path] : nullptr; }
    QStringList openedPaths;

    celltrove::importing::WorkbookOpener opener() {
        return [this](const QString &path, office::Status &status) -> std::unique_ptr<celltrove::importing::ImportWorkbook> {
            openedPaths << path;
            FakeBook *book = find(path);
            if (!book) {
                status = office::Status::failure(QStringLiteral("no such file"));
                return nullptr;
            }
            ++book->opens;
            return std::make_unique<Opened>(*book);
        };
    }

private:
    // Writes go to a copy; a save makes them the book's state, as a file is
    // changed only by saving.
    struct Opened : celltrove::importing::ImportWorkbook {
        explicit Opened(FakeBook &book) : m_book(book), m_sheets(book.worksheets) {}
        celltrove::importing::ImportSheet *worksheetByIndex(int index) override {
            auto it = m_sheets.find(index);
            return it == m_sheets.end() ? nullptr : &it->second;
        }
        office::Status save() override {
            ++m_book.saves;
            m_book.worksheets = m_sheets;
            return {};
        }
        FakeBook &m_book;
        std::map<int, FakeSheet> m_sheets;
    };
    std::map<QString, FakeBook> m_books;
};

}  // namespace importtest
