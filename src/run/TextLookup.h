#pragma once

#include <QString>

namespace celltrove::run {

/// The interface texts of the loaded language. Every user-visible text is a
/// German literal passed through `LookupText`; the German text is the key.
///
/// A language file is "<name>.lng": lines ending in CR LF, each "key=value".
/// The first line is a free header and never matches; the last entry of a key
/// wins; keys match exactly and case-sensitively, blanks and "&" included; a
/// value runs from the "=" to the next CR (or the end of the file).
class TextLookup {
public:
    /// Loads "<name>.lng" from the language folder (LanguageFolder()). See the overload.
    bool LoadLanguageFile(const QString &name);
    /// Loads "<name>.lng" from `folder`, the file name matched case-insensitively.
    /// The bytes are read as UTF-8 when valid (a BOM is skipped), otherwise as
    /// Windows-1252. On failure nothing is loaded and every lookup returns its key.
    bool LoadLanguageFile(const QString &folder, const QString &name);
    /// Takes `content` as the language file's text (for tests and embedding).
    void setLanguageText(const QString &content) { m_text = content; }

    /// The translation of `key`, or `key` itself when the language has none.
    QString LookupText(const QString &key) const;
    QString operator()(const QString &key) const { return LookupText(key); }
    /// True when the loaded language has an entry for `key` (even one equal to the key).
    bool HasText(const QString &key) const;

private:
    QString m_text;
};

}  // namespace celltrove::run
