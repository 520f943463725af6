#pragma once

#include "office/sheet/FormulaContext.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace office::sheet {

class Workbook;

/// What a workbook's formulas refer to, read once from its EXTERNSHEET, SUPBOOK,
/// EXTERNNAME and NAME records. Damaged entries are left out: a formula that
/// uses them gets no text instead of a wrong one.
class WorkbookFormulaContext : public FormulaContext {
public:
    explicit WorkbookFormulaContext(const Workbook &book);

    std::optional<SheetSpan> sheetSpan(int xti) const override;
    std::optional<QString> definedName(int index) const override;
    std::optional<QString> externalName(int xti, int index) const override;

private:
    enum class BookKind { Self, AddIn, External, Unknown };
    struct SupBook {
        BookKind kind = BookKind::Unknown;
        QString fileName;
        QStringList sheetNames;
        QStringList externalNames;
    };
    struct Xti {
        int supBook = -1;
        int firstSheet = 0;
        int lastSheet = 0;
    };

    void readSupBooks(const Workbook &book);
    void readExternSheet(const Workbook &book);
    void readNames(const Workbook &book);

    std::vector<SupBook> m_supBooks;
    std::vector<Xti> m_xti;
    QStringList m_sheetNames;        ///< every sheet in BOUNDSHEET order
    std::vector<QString> m_names;    ///< NAME records in order; null for damaged ones
};

}  // namespace office::sheet
