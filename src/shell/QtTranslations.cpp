#include "shell/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace celltrove::shell {

int languageOfCaption(const QString &caption) {
    const QString name = caption.trimmed();
    if (name.isEmpty()) return QLocale::AnyLanguage;
    for (const QLocale &locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        if (locale.language() == QLocale::C) continue;
        if (QLocale::languageToString(locale.language()).compare(name, Qt::CaseInsensitive) == 0 ||
            locale.nativeLanguageName().compare(name, Qt::CaseInsensitive) == 0)
            return locale.language();
    }
    return QLocale::AnyLanguage;
}

QtTranslations::QtTranslations(QString folder)
    : m_folder(folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : std::move(folder)),
      m_translator(std::make_unique<QTranslator>()) {}

QtTranslations::~QtTranslations() {
    if (m_installed) QCoreApplication::removeTranslator(m_translator.get());
}

bool QtTranslations::setLanguage(const QString &caption) {
    if (m_installed) QCoreApplication::removeTranslator(m_translator.get());
    m_installed = false;
    m_loaded.clear();
    const int language = languageOfCaption(caption);
    if (language == QLocale::AnyLanguage || language == QLocale::English) return false;
    const QLocale locale(static_cast<QLocale::Language>(language));
    // "qt_de" is Qt's catalogue of catalogues: qtbase_de and the other modules' files.
    if (!m_translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"), m_folder)) return false;
    m_installed = QCoreApplication::installTranslator(m_translator.get());
    if (m_installed) m_loaded = locale.name().section(u'_', 0, 0);
    return m_installed;
}

}  // namespace celltrove::shell
