#pragma once

#include <QSettings>
#include <QStringList>

#include <memory>

namespace celltrove::run {

/// The per-user settings: text values in INI format under the application name
/// "CellTroveExcel", in the groups "Tools", "ProjectFolders" and "Count".
/// A missing key yields the caller's default; values are never validated here.
class SettingsStore {
public:
    /// The user's store.
    SettingsStore();
    /// A store in the INI file at `iniPath` (tests, portable setups).
    explicit SettingsStore(const QString &iniPath);

    QString value(const QString &group, const QString &key, const QString &fallback = QString()) const;
    void setValue(const QString &group, const QString &key, const QString &value);

    /// "Tools/Language": a language menu caption; empty means the German texts.
    QString language() const;
    void setLanguage(const QString &language);
    /// "ProjectFolders/ShowPath", stored as "True"/"False".
    bool showPath() const;
    void setShowPath(bool show);

    /// "ProjectFolders/Project1" … "Project8" in order, empty entries included.
    QStringList projectFolders() const;
    /// Makes `folder` the most recent project: it goes to number 1, the older
    /// entries move down one place and the one equal to `folder` (ignoring case)
    /// drops out; at most 8 are kept. Nothing but number 1 is written when no
    /// project was stored before.
    void SaveProjectPath(const QString &folder);

    /// Writes pending changes to disk; false when the file cannot be written.
    bool sync();

    static constexpr int kProjectCount = 8;

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace celltrove::run
