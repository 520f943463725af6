#pragma once

#include "office/doc/DocTypes.h"
#include "office/doc/FindSettings.h"

#include <QString>

#include <memory>

namespace office::doc {

class Document;
class Range;
class Selection;

/// The replacement part of a find: text and the formatting given to replaced text.
class Replacement {
public:
    explicit Replacement(FindSettings *settings) : m_settings(settings) {}
    QString text() const { return m_settings->replacementText; }
    void setText(const QString &text) { m_settings->replacementText = text; }
    /// Forgets the replacement colour and style.
    void clearFormatting() {
        m_settings->replacementColor = kColorAutomatic;
        m_settings->replacementStyle.clear();
    }
    /// Colour 0x00BBGGRR (255 is red) given to the replaced text.
    void setFontColor(int color) { m_settings->replacementColor = color; }
    int fontColor() const { return m_settings->replacementColor; }
    /// Character style given to the replaced text.
    void setStyle(const QString &styleName) { m_settings->replacementStyle = styleName; }
    QString style() const { return m_settings->replacementStyle; }

private:
    FindSettings *m_settings;
};

/// Find and replace on the selection or on a range. The options live in the
/// Application's FindSettings and persist from one search to the next.
///
/// Find text: literal text in which ^p (paragraph mark), ^l (line break), ^t (tab),
/// ^^ and ^nnn (character number) stand for single characters. With wildcards
/// on, only patterns made of literal characters (escaped with a backslash or
/// written with ^nnn) are accepted; any other pattern finds nothing.
/// A successful find selects the match (or moves the range onto it); a failed
/// one leaves the selection as it was.
class Find {
public:
    /// settings may be null (a range of no document): the find then has options of its own.
    Find(FindSettings *settings, Selection *selection);
    Find(FindSettings *settings, Range *range);

    void clearFormatting() {}  // there are no find formatting criteria to clear
    QString text() const { return m_settings->text; }
    void setText(const QString &text) { m_settings->text = text; }
    bool forward() const { return m_settings->forward; }
    void setForward(bool forward) { m_settings->forward = forward; }
    int wrap() const { return m_settings->wrap; }
    void setWrap(int wrap) { m_settings->wrap = wrap; }
    bool format() const { return m_settings->format; }
    void setFormat(bool on) { m_settings->format = on; }
    bool matchCase() const { return m_settings->matchCase; }
    void setMatchCase(bool on) { m_settings->matchCase = on; }
    bool matchWholeWord() const { return m_settings->matchWholeWord; }
    void setMatchWholeWord(bool on) { m_settings->matchWholeWord = on; }
    bool matchWildcards() const { return m_settings->matchWildcards; }
    void setMatchWildcards(bool on) { m_settings->matchWildcards = on; }
    bool matchSoundsLike() const { return m_settings->matchSoundsLike; }
    void setMatchSoundsLike(bool on) { m_settings->matchSoundsLike = on; }
    bool matchAllWordForms() const { return m_settings->matchAllWordForms; }
    void setMatchAllWordForms(bool on) { m_settings->matchAllWordForms = on; }
    Replacement replacement() { return Replacement(m_settings); }
    bool found() const { return m_settings->found; }

    /// Searches with the current options; true when found.
    bool execute();
    /// Sets the find text and direction (they persist), then searches.
    bool execute(const QString &findText, bool forward);
    /// Searches and replaces one match or all of them; true when anything was replaced.
    bool execute(ReplaceMode replace);

private:
    Document *document() const;
    bool findOne();
    int replaceAll();

    std::shared_ptr<FindSettings> m_own;
    FindSettings *m_settings;
    Selection *m_selection = nullptr;
    Range *m_range = nullptr;
};

}  // namespace office::doc
