#pragma once

#include <QString>
#include <QStringView>

namespace office::doc {

/// Text as typing puts it into a story: a line feed becomes a paragraph mark
/// (CR LF one mark) and table marks (character 7) cannot be typed. Text without
/// either is returned as it is, without a copy.
QString normalizeTypedText(const QString &text);
/// Whether typing changes `text` (it holds a line feed or a character 7).
bool typingChanges(QStringView text);

}  // namespace office::doc
