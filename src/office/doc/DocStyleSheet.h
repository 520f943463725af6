#pragma once

#include "office/doc/DocCharProps.h"
#include "office/ole/OfficeStatus.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace office::doc {

class Styles;

/// The style sheet (STSH) of a Word file.
namespace DocStyleSheet {

/// Style indexes of the file that this engine's style sheet maps to: Word keeps
/// 0..14 for its fixed styles ("Normal" 0, "Default Paragraph Font" 10), so the
/// document's further styles follow from 15 on.
constexpr int kIstdNormal = 0;
constexpr int kIstdDefaultParagraphFont = 10;
constexpr int kFixedStyles = 15;
/// The file's style index of the document's style `index`.
int istdOfStyle(int index);
/// The document's style index of a file style index as this writer numbers them
/// (-1 for the empty fixed slots).
int styleOfIstd(int istd);

/// The STSH of a document's styles. fontIndex gives the font table index of a font name.
QByteArray write(const Styles &styles, const std::function<int(const QString &)> &fontIndex);

/// One style as read from a file.
struct Entry {
    int istd = 0;
    int sti = 0;   ///< built-in style number, 0x0FFE for user styles
    int kind = 0;  ///< stk: 1 paragraph, 2 character, 3 table, 4 list
    QString name;
    DocCharProps look;  ///< the character formatting the style gives (font as an index)
};
/// The styles of the STSH at [offset, offset + length) of the table stream.
Status read(const QByteArray &tableStream, quint32 offset, quint32 length, std::vector<Entry> &entries);

}  // namespace DocStyleSheet

}  // namespace office::doc
