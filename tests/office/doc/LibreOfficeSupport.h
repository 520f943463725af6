#pragma once

#include "office/doc/Document.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace doctest {

/// A paragraph or a table in reading order, as compared with LibreOffice.
struct Block {
    bool isTable = false;
    QString text;                    ///< paragraph text, line breaks as "\n"
    QList<QStringList> cells;        ///< table cells
    QStringList styles;              ///< character style names of a paragraph's runs, in order of first use
    bool operator==(const Block &) const = default;
};

/// What our engine reads, in LibreOffice's terms.
QList<Block> engineBlocks(const office::doc::Document &doc);
/// The "blocks" of one file in lo_writer_dump.py's output.
QList<Block> libreOfficeBlocks(const QJsonObject &file);
/// Runs lo_writer_dump.py on the files; an empty object when it fails.
QJsonObject libreOfficeDump(const QStringList &files);
/// Removes characters the two programs spell differently (optional and
/// non-breaking hyphens, zero-width marks, the object placeholder).
QString normalizeForComparison(QString text);
std::string describe(const QList<Block> &blocks);

}  // namespace doctest
