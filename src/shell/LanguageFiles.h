#pragma once

#include <QString>
#include <QStringList>

namespace celltrove::shell {

/// The language menu's captions for the "*.lng" files of a folder, after "Deutsch":
/// each file name with its first character upper-cased and ".lng" removed. The German
/// file itself ("deutsch.lng" in any case) is the built-in first item and is skipped.
QStringList languageCaptions(const QString &folder);

}  // namespace celltrove::shell
