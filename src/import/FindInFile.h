#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace celltrove::importing {

/// Size of the blocks FindInFile reads: large, as it reads every document of
/// an import through before the document is opened.
inline constexpr qint64 kFindInFileBlock = 1 << 20;

/// The 1-based byte position of the first occurrence of `text` in the file at
/// `path` at or after the 1-based byte position `start`, or 0 when there is none,
/// when `text` is empty or when the file cannot be read. The file is read in
/// blocks of kFindInFileBlock bytes, never whole; the text is compared byte for byte in
/// the Latin-1 code page, exactly and case-sensitively.
qint64 FindInFile(const QString &path, const QString &text, qint64 start = 1);

/// Which of `texts` occur in the file at `path`, compared as FindInFile compares:
/// one flag per text (false for an empty one), found in one reading of the file;
/// all false when the file cannot be read.
QList<bool> FileContains(const QString &path, const QStringList &texts);

}  // namespace celltrove::importing
