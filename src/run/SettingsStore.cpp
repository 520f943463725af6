#include "run/SettingsStore.h"

namespace celltrove::run {

namespace {

const QString kApplication = QStringLiteral("CellTroveExcel");
const QString kProjectGroup = QStringLiteral("ProjectFolders");

QString projectKey(int number) { return QStringLiteral("Project") + QString::number(number); }

}  // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kApplication, kApplication)) {}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QString SettingsStore::value(const QString &group, const QString &key, const QString &fallback) const {
    const QVariant v = m_settings->value(group + u'/' + key);
    return v.isValid() ? v.toString() : fallback;
}

void SettingsStore::setValue(const QString &group, const QString &key, const QString &value) {
    m_settings->setValue(group + u'/' + key, value);
}

QString SettingsStore::language() const { return value(QStringLiteral("Tools"), QStringLiteral("Language")); }
void SettingsStore::setLanguage(const QString &language) {
    setValue(QStringLiteral("Tools"), QStringLiteral("Language"), language);
}

bool SettingsStore::showPath() const {
    return value(kProjectGroup, QStringLiteral("ShowPath")).compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0;
}
void SettingsStore::setShowPath(bool show) {
    setValue(kProjectGroup, QStringLiteral("ShowPath"), show ? QStringLiteral("True") : QStringLiteral("False"));
}

QStringList SettingsStore::projectFolders() const {
    QStringList folders;
    for (int i = 1; i <= kProjectCount; ++i) folders << value(kProjectGroup, projectKey(i));
    return folders;
}

void SettingsStore::SaveProjectPath(const QString &folder) {
    // The list as it stood before this save plays the part of the menu's items.
    const QStringList previous = projectFolders();
    setValue(kProjectGroup, projectKey(1), folder);
    if (previous.first().isEmpty()) return;
    for (int i = 1; i < kProjectCount; ++i) {
        const QString &item = previous.at(i - 1);
        if (item.isEmpty()) continue;
        bool stored = false;
        for (int j = 1; j <= i && !stored; ++j)
            stored = value(kProjectGroup, projectKey(j)).compare(item, Qt::CaseInsensitive) == 0;
        if (!stored) setValue(kProjectGroup, projectKey(i + 1), item);
    }
}

bool SettingsStore::sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

}  // namespace celltrove::run
