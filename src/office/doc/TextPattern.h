#pragma once

#include "office/doc/Story.h"

#include <QString>

#include <optional>
#include <vector>

namespace office::doc {

/// A compiled find text: a sequence of single-character tests.
class TextPattern {
public:
    /// Plain text with the caret codes ^p ^l ^t ^m ^s ^~ ^- ^^ ^? ^# ^$ ^nnn; with
    /// wildcards, literal characters only (a backslash escapes, ^nnn names one).
    /// nullopt for an empty text or a pattern that is not supported.
    static std::optional<TextPattern> compile(const QString &text, bool wildcards);

    int length() const { return int(m_units.size()); }
    /// True when the pattern matches the story at pos.
    bool matchesAt(const Story &story, int pos, bool matchCase) const;
    /// First match starting in [from, to - length()], or -1.
    int findForward(const Story &story, int from, int to, bool matchCase, bool wholeWord) const;
    /// Last match lying in [from, to), or -1.
    int findBackward(const Story &story, int from, int to, bool matchCase, bool wholeWord) const;

private:
    enum class Kind { Literal, AnyChar, Digit, Letter };
    struct Unit {
        Kind kind;
        char16_t ch;
    };
    bool isWholeWord(const Story &story, int pos) const;

    std::vector<Unit> m_units;
};

/// The replacement text with its caret codes resolved (^p ^l ^t ^m ^s ^^ ^nnn, and ^&
/// for the text found).
QString expandReplacement(const QString &replacement, const QString &found);

}  // namespace office::doc
