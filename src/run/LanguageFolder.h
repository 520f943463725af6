#pragma once

#include <QString>

namespace celltrove::run {

/// The folder whose "*.lng" files the programs offer: the program's own folder when any
/// lies there (a build tree, a copied program), otherwise the installed folder
/// share/celltrove/lng beside the program's bin folder.
QString LanguageFolderFor(const QString &programFolder);
/// LanguageFolderFor the running program's folder.
QString LanguageFolder();

}  // namespace celltrove::run
