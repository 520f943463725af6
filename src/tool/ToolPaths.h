#pragma once

#include <QString>

namespace celltrove::tool {

/// Longest folder plus file name the tool works on (characters).
inline constexpr int kToolPathLimit = 251;

/// A path cut at its last "/": the folder (with the "/") and the file name.
struct FolderAndName {
    QString folder;
    QString name;
};

inline FolderAndName splitAtLastSeparator(const QString &path) {
    const qsizetype cut = path.lastIndexOf(u'/') + 1;
    return {path.left(cut), path.mid(cut)};
}

}  // namespace celltrove::tool
