#pragma once

#include <QString>
#include <QStringList>

namespace celltrove::run {

/// The export formats, in the order the main window lists them.
enum class ExportFormat {
    TaggedRtf,    ///< "Excel --> Word (*.RTF)"
    RtfTables,    ///< "Excel --> Word (*.RTF) - Tables"
    Doc,          ///< "Excel --> Word (*.DOC)"
    Text,         ///< "Excel --> Text (*.TXT)"
    UnicodeText,  ///< "Excel --> UnicodeText (*uni.TXT)"
    Html,         ///< "Excel --> Internet (*.HTML)"
    Xliff,        ///< "Excel --> XLIFF (*.xlf)"
};

/// The caption of a format as the main window shows it and the log names it.
QString ExportFormatCaption(ExportFormat format);

/// The file-type filter of the main window's file list.
enum class FileTypeFilter {
    Excel,  ///< "Excel-Dateien (*.xls)"
    Rtf,    ///< "RTF-Dateien (*.rtf)"
    All,    ///< "Alle Dateien (*.*)"
    Xliff,  ///< "XLIFF-Dateien (*.xlf)"
};

/// The option check boxes and the column range of the main window.
struct RunOptions {
    bool exportNumbers = false;  ///< "chkZahlen": numeric values are exported too
    bool formulas = false;       ///< "chkFormeln": the workbook shows formulas
    bool comments = true;        ///< "chkcomments": comment blocks are written
    bool allLevels = true;       ///< "chkSpalten": text cells whatever their first character
    bool columnRange = false;    ///< "chkBereich": only columns rangeStart … rangeEnd
    int rangeStart = 1;          ///< first exported column, 1-based (1 … 256)
    int rangeEnd = 256;          ///< last exported column, 1-based (1 … 256)
};

/// What the user chose for one run: everything a run driver reads from the
/// main window when it starts.
struct RunRequest {
    /// The working folder, ending in the platform's separator ("/").
    QString folder;
    /// The selected entries of the file list, file names relative to `folder`,
    /// in list order.
    QStringList selectedFiles;
    ExportFormat format = ExportFormat::TaggedRtf;
    FileTypeFilter fileTypeFilter = FileTypeFilter::Excel;
    RunOptions options;
    /// XLIFF source and target language (BCP 47, "de-DE"); an empty source
    /// language means the system locale's, an empty target language is left out.
    QString sourceLanguage;
    QString targetLanguage;
};

/// `folder` with exactly one trailing "/" (unchanged when it has one).
QString WithTrailingSeparator(const QString &folder);

}  // namespace celltrove::run
