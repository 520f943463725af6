#pragma once

#include <QString>
#include <QStringList>

namespace celltrove::shell {

/// Whether a file name is listed under the filter text of the file-type list. The test looks
/// only at the filter's last five characters: "(*.*)" lists every file, ".rtf)" and ".xls)"
/// list names whose last three characters are "rtf" or "xls" in any case, anything else
/// lists every file. So "x.xlsx" is not an Excel file and "A.XLS" is.
bool passesFileFilter(const QString &filterText, const QString &fileName);

/// The plain files of a folder that pass the filter, by name ignoring case.
QStringList listFolderFiles(const QString &folder, const QString &filterText);

/// The text after the last separator of a path ("/home/x/Projekt" gives "Projekt");
/// a trailing separator is ignored.
QString lastPathComponent(const QString &path);

/// The path with exactly one trailing separator.
QString withTrailingSeparator(const QString &path);

}  // namespace celltrove::shell
