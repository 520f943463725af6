#include "export/ExportFormats.h"

#include "export/TaggedDocumentFormat.h"
#include "export/XliffExport.h"

namespace celltrove::exporting {

using run::ExportFormat;

OutputFormat SelectExportFormat(ExportFormat format) {
    switch (format) {
        case ExportFormat::Doc:
            return {QStringLiteral(".doc"), 6};
        case ExportFormat::Text:
            return {QStringLiteral(".txt"), 2};
        case ExportFormat::UnicodeText:
            return {QStringLiteral("-uni.txt"), 7};
        case ExportFormat::Html:
            return {QStringLiteral(".html"), -1};
        case ExportFormat::Xliff:
            return {QStringLiteral(".xlf"), -1};
        default:
            return {QStringLiteral(".rtf"), 6};
    }
}

QString OutputFileName(ExportFormat format, const QString &workbookFileName, int sheetIndex) {
    const QString index = QString::number(sheetIndex);
    const QString extension = SelectExportFormat(format).extension;
    switch (format) {
        case ExportFormat::TaggedRtf:
            return TaggedFileName(workbookFileName, sheetIndex);
        case ExportFormat::RtfTables:
            return QStringLiteral("Tab_") + workbookFileName + u'-' + index + extension;
        case ExportFormat::Doc:
            return QStringLiteral("Doc_") + workbookFileName + u'-' + index + extension;
        case ExportFormat::Text:
        case ExportFormat::UnicodeText:
            return workbookFileName + index + extension;
        case ExportFormat::Html:
            return workbookFileName + extension;
        case ExportFormat::Xliff:
            return XliffFileName(workbookFileName);
    }
    return {};
}

}  // namespace celltrove::exporting
