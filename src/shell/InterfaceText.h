#pragma once

#include <QString>

#include <functional>

namespace celltrove::shell {

/// Looks up the text shown for a German key (the key itself when no translation is loaded).
/// Windows take it as a function so that they show whatever language the main window holds now.
using InterfaceText = std::function<QString(const QString &key)>;

/// The identity lookup: German texts as written.
inline QString germanText(const QString &key) { return key; }

}  // namespace celltrove::shell
