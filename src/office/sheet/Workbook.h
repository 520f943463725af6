#pragma once

#include "office/ole/CompoundFile.h"
#include "office/ole/OfficeStatus.h"
#include "office/sheet/SheetTypes.h"
#include "office/sheet/StringPool.h"
#include "office/sheet/WorkbookDecryption.h"
#include "office/sheet/Worksheet.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

namespace office::sheet {

class CellTexts;

/// An Excel 97-2003 (BIFF8) or Excel 95 (BIFF5) workbook held in memory: its sheets
/// and cells, the formats and records the display and formula texts need, and every
/// record and stream as read, for lossless writing.
class Workbook {
public:
    Workbook() = default;
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    /// Opens the workbook at path. On failure out stays null and the status says why
    /// (not an OLE2 file, no Workbook stream, an older format, encrypted, damaged).
    static Status open(const QString &path, std::unique_ptr<Workbook> &out);
    /// Opens a workbook from the bytes of an .xls file. An encrypted workbook is
    /// decrypted with the password (Excel's default write-protection password unless
    /// another is given).
    static Status openBytes(const QByteArray &fileBytes, std::unique_ptr<Workbook> &out,
                            const QString &password = kDefaultWorkbookPassword);

    /// Path given to open(); empty for openBytes().
    const QString &path() const { return m_path; }

    // --- sheets ----------------------------------------------------------------
    /// Number of sheets of every kind (Sheets.Count).
    int sheetCount() const { return int(m_sheets.size()); }
    /// Sheet by 1-based index among all sheets, or nullptr.
    Worksheet *sheet(int index) const;
    /// Number of worksheets (Worksheets.Count): charts, macro and dialog sheets excluded.
    int worksheetCount() const { return int(m_worksheets.size()); }
    /// Worksheet by 1-based number among the worksheets, or nullptr.
    Worksheet *worksheet(int number) const;
    /// Worksheet by name (case-insensitive, as the spreadsheet compares), or nullptr.
    Worksheet *worksheet(const QString &name) const;

    // --- workbook settings ---------------------------------------------------
    /// True when dates count from 1904-01-01 (DATEMODE).
    bool isDate1904() const { return m_date1904; }
    /// CODEPAGE value (1200 for UTF-16 in BIFF8 files); 1252 when the file has none.
    int codePage() const { return m_codePage; }
    /// 8 for Excel 97-2003 files, 5 for Excel 95.
    int biffVersion() const { return m_biffVersion; }
    /// True when the stream was encrypted with the default password and has been decrypted.
    bool wasDecrypted() const { return m_decrypted; }

    // --- formats ---------------------------------------------------------------
    /// FORMAT records: number-format index to format code.
    const std::map<int, QString> &formats() const { return m_formats; }
    /// Number of XF records.
    int xfCount() const { return int(m_xfFormats.size()); }
    /// Number-format index of an XF record; -1 when xf is out of range.
    int xfFormatIndex(int xf) const;
    /// True when cells with this XF show numbers as dates or times.
    bool xfIsDate(int xf) const;
    /// Display and formula texts of the cells, with this workbook's parsed number
    /// formats and formula names (made on first use; defined in CellTexts.cpp).
    CellTexts &cellTexts() const;

    // --- strings and formula context --------------------------------------------
    /// Text by index: the shared strings first, then texts of LABEL cells and cached
    /// formula results.
    QString string(std::uint32_t index) const;
    /// A hash of string(index), and whether two strings are equal, without copies.
    std::uint32_t stringHash(std::uint32_t index) const { return m_strings.hashAt(index); }
    /// The characters of string(index) where they lie, without a copy.
    StringPool::Chars stringChars(std::uint32_t index) const { return m_strings.charsAt(index); }
    bool sameString(std::uint32_t a, std::uint32_t b) const { return m_strings.equal(a, b); }
    bool stringIs(std::uint32_t index, QStringView text) const { return m_strings.equal(index, text); }
    int stringCount() const { return m_strings.count(); }
    /// Number of entries read from the shared string table (SST).
    int sharedStringCount() const { return m_sharedStringCount; }
    /// Rich-text runs and phonetic data of the i-th shared string, or nullptr.
    const SstFormatting *sstFormatting(std::uint32_t i) const {
        const auto it = m_sstFormatting.find(i);
        return it == m_sstFormatting.end() ? nullptr : &it->second;
    }
    /// The SST's count of references to its strings.
    std::uint32_t sstReferenceCount() const { return m_sstReferences; }
    /// EXTERNSHEET record body (empty when none).
    const QByteArray &externSheetRecord() const { return m_externSheet; }
    /// SUPBOOK record bodies, in order.
    const std::vector<QByteArray> &supBookRecords() const { return m_supBooks; }
    /// NAME record bodies, in order (a formula's name index is 1-based into them).
    const std::vector<QByteArray> &nameRecords() const { return m_names; }

    // --- editing and saving ------------------------------------------------------
    /// Adds a text to the workbook's strings; returns its index.
    std::uint32_t addString(const QString &text) { return m_strings.add(text); }
    /// An XF like xf but showing numbers as dates: xf itself when it does, else an
    /// existing or a new XF with the built-in short date format (14).
    int dateXfFor(int xf);
    /// True once a cell or comment was changed (or an XF added).
    bool isModified() const;
    /// Saves the workbook over the file it was opened from (see saveAs).
    Status save();
    /// Saves the workbook as BIFF8: the records and streams that were not changed are
    /// written back byte for byte. The file is written to a temporary file in the same
    /// folder and renamed over path only when complete; on failure path is untouched.
    /// Workbooks read from Excel 95 files are refused.
    Status saveAs(const QString &path);
    /// The file image saveAs writes.
    Status toBytes(QByteArray &out) const;
    /// The workbook stream saveAs writes (encrypted again when it was encrypted).
    Status streamBytes(QByteArray &out) const;
    /// XF records added by dateXfFor, after the file's own.
    const std::vector<QByteArray> &addedXfRecords() const { return m_addedXfs; }

    // --- records and streams, for the writer -----------------------------------------
    /// The compound file as read (every stream and storage).
    const ole::CompoundFile &container() const { return m_container; }
    /// Path of the workbook stream in the container ("Workbook" or "Book").
    const QString &streamName() const { return m_streamName; }
    /// The workbook stream, decrypted when it was encrypted.
    const QByteArray &stream() const { return m_stream; }
    /// Records of the workbook globals, from BOF to EOF, in stream order.
    const std::vector<RawRecord> &globalRecords() const { return m_globalRecords; }
    /// Remarks about recoverable damage met while reading (with stream offsets).
    const QStringList &warnings() const { return m_warnings; }

private:
    friend class Biff8Reader;

    // Body of the i-th XF record (the file's or an added one); empty when out of range.
    QByteArray xfRecord(int xf) const;
    // The workbook stream as saveAs writes it, in pieces that follow one another.
    Status streamPieces(std::vector<QByteArray> &pieces) const;
    // The compound file as read, with the workbook stream as it is saved now.
    Status containerToSave(ole::CompoundFile &container) const;
    // Finds the workbook stream in m_container, decrypts it if need be, and reads it.
    // open() and openBytes() without their guard against a failed allocation.
    static Status openFile(const QString &path, std::unique_ptr<Workbook> &out);
    static Status openImage(const QByteArray &fileBytes, std::unique_ptr<Workbook> &out, const QString &password);
    Status readContainer(const QString &password);

    QString m_path;
    std::vector<std::unique_ptr<Worksheet>> m_sheets;
    std::vector<Worksheet *> m_worksheets;
    bool m_date1904 = false;
    int m_codePage = 1252;
    int m_biffVersion = 8;
    bool m_decrypted = false;
    std::map<int, QString> m_formats;
    std::vector<std::uint16_t> m_xfFormats;
    std::vector<bool> m_xfIsDate;
    mutable std::shared_ptr<CellTexts> m_cellTexts;
    StringPool m_strings;
    int m_sharedStringCount = 0;
    std::map<std::uint32_t, SstFormatting> m_sstFormatting;
    std::uint32_t m_sstReferences = 0;
    QByteArray m_externSheet;
    std::vector<QByteArray> m_supBooks;
    std::vector<QByteArray> m_names;
    ole::CompoundFile m_container;
    QString m_streamName;
    QByteArray m_stream;
    std::vector<RawRecord> m_globalRecords;
    std::vector<QByteArray> m_addedXfs;
    QString m_password;
    QStringList m_warnings;
};

}  // namespace office::sheet
