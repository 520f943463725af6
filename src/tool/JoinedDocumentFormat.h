#pragma once

#include <QString>

namespace celltrove::tool::joined {

// The fixed texts of a joined document, written literally and never looked up.
// The split finds them by their text alone: a translation tool may have changed
// their character style, their runs or their paragraphs.

/// First paragraph of a joined document.
inline const QString kToolLine = QStringLiteral("<!--Bindle Tool-->");
/// Second paragraph: this opening, the joined name, kNameLineClose.
inline const QString kNameLineOpen = QStringLiteral("<!-- Bindle-Fn: ");
inline const QString kNameLineClose = QStringLiteral("-->");
/// What proves a joined document (kNameLineOpen without its trailing blank).
inline const QString kNameLineMarker = QStringLiteral("<!-- Bindle-Fn:");
/// A separator is kSeparatorOpen + part name + kSeparatorClose.
inline const QString kSeparatorOpen = QStringLiteral("<BindleRTF>");
inline const QString kSeparatorClose = QStringLiteral("</BindleRTF>");
/// The part name of the end marker.
inline const QString kEndName = QStringLiteral("Ready");
/// The end marker, appended at the very end without a paragraph mark of its own.
inline const QString kEndMarker = kSeparatorOpen + kEndName + kSeparatorClose;
/// Character style of every marker: translation tools leave its text alone.
inline const QString kExternalStyle = QStringLiteral("tw4winExternal");
/// Sub-folder of the working folder that receives the joined document and its log.
inline const QString kBindleFolder = QStringLiteral("bindle");

/// The separator paragraph text for a source file name.
inline QString separatorFor(const QString &fileName) {
    return kSeparatorOpen + fileName + kSeparatorClose;
}

/// Whether a part name read from a joined document may be used as a file name
/// in the joined document's folder: not empty, not "." or "..", and free of
/// path separators ("/" and "\"), NUL and other control characters. A name
/// that exists in the folder is fine: the split replaces that file.
bool IsSafePartName(const QString &name);

/// The part name as a log line shows it: control characters as \uXXXX.
QString PrintablePartName(const QString &name);

}  // namespace celltrove::tool::joined
