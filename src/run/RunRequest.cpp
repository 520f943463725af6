#include "run/RunRequest.h"

namespace celltrove::run {

QString ExportFormatCaption(ExportFormat format) {
    switch (format) {
    case ExportFormat::TaggedRtf: return QStringLiteral("Excel --> Word (*.RTF)");
    case ExportFormat::RtfTables: return QStringLiteral("Excel --> Word (*.RTF) - Tables");
    case ExportFormat::Doc: return QStringLiteral("Excel --> Word (*.DOC)");
    case ExportFormat::Text: return QStringLiteral("Excel --> Text (*.TXT)");
    case ExportFormat::UnicodeText: return QStringLiteral("Excel --> UnicodeText (*uni.TXT)");
    case ExportFormat::Html: return QStringLiteral("Excel --> Internet (*.HTML)");
    case ExportFormat::Xliff: return QStringLiteral("Excel --> XLIFF (*.xlf)");
    }
    return {};
}

QString WithTrailingSeparator(const QString &folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

}  // namespace celltrove::run
