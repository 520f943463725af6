#pragma once

#include <QString>

#include <memory>

class QTranslator;

namespace celltrove::shell {

/// Qt's own texts (context menus, file dialogs, spin boxes) in the interface language,
/// from the catalogues of Qt's translations folder. Installed on the application while
/// this object lives.
class QtTranslations {
public:
    /// `folder` holds the "qt_<locale>.qm" files; empty for Qt's own translations folder.
    explicit QtTranslations(QString folder = {});
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    /// Switches to the language of a language menu caption ("Deutsch", "English",
    /// "Français", matched against the languages' own and English names). English, and a
    /// language Qt has no catalogue for, leave Qt's built-in English texts.
    /// False when no catalogue was loaded.
    bool setLanguage(const QString &caption);

    /// The locale name ("de") whose catalogue is loaded; empty for none.
    QString loadedLocale() const { return m_loaded; }

private:
    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
    bool m_installed = false;
    QString m_loaded;
};

/// The language a menu caption names; QLocale::AnyLanguage when none.
int languageOfCaption(const QString &caption);

}  // namespace celltrove::shell
