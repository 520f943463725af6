#include "office/doc/Find.h"

#include "office/doc/Document.h"
#include "office/doc/Range.h"
#include "office/doc/Selection.h"
#include "office/doc/TextPattern.h"

namespace office::doc {

Find::Find(FindSettings *settings, Selection *selection) : m_settings(settings), m_selection(selection) {
    if (!m_settings) {
        m_own = std::make_shared<FindSettings>();
        m_settings = m_own.get();
    }
}

Find::Find(FindSettings *settings, Range *range) : m_settings(settings), m_range(range) {
    if (!m_settings) {
        m_own = std::make_shared<FindSettings>();
        m_settings = m_own.get();
    }
}

Document *Find::document() const {
    if (m_selection) return m_selection->document();
    return m_range ? m_range->document() : nullptr;
}

bool Find::execute() {
    m_settings->found = findOne();
    return m_settings->found;
}

bool Find::execute(const QString &findText, bool forward) {
    m_settings->text = findText;
    m_settings->forward = forward;
    return execute();
}

bool Find::execute(ReplaceMode replace) {
    if (replace == ReplaceMode::None) return execute();
    if (replace == ReplaceMode::All) {
        m_settings->found = replaceAll() > 0;
        return m_settings->found;
    }
    // Replace one: find the next match, replace it and select the replacement.
    if (!findOne()) return m_settings->found = false;
    Document *doc = document();
    const int start = m_selection ? m_selection->start() : m_range->start();
    const int end = m_selection ? m_selection->end() : m_range->end();
    const QString found = doc->story().text(start, end);
    const int newEnd = doc->replace(start, end, expandReplacement(m_settings->replacementText, found),
                                    doc->story().charFormatAt(start));
    if (m_selection) m_selection->setRange(start, newEnd);
    else m_range->setRange(start, newEnd);
    return m_settings->found = true;
}

bool Find::findOne() {
    Document *doc = document();
    if (!doc) return false;
    const auto pattern = TextPattern::compile(m_settings->text, m_settings->matchWildcards);
    if (!pattern) return false;
    const Story &story = doc->story();
    // Wildcard searches are always case-sensitive.
    const bool matchCase = m_settings->matchCase || m_settings->matchWildcards;
    const bool wholeWord = m_settings->matchWholeWord && !m_settings->matchWildcards;
    const bool forward = m_settings->forward;
    int at = -1;
    if (m_range) {
        at = forward ? pattern->findForward(story, m_range->start(), m_range->end(), matchCase, wholeWord)
                     : pattern->findBackward(story, m_range->start(), m_range->end(), matchCase, wholeWord);
        if (at < 0) return false;
        m_range->setRange(at, at + pattern->length());
        return true;
    }
    const int length = story.length();
    if (forward) {
        at = pattern->findForward(story, m_selection->end(), length, matchCase, wholeWord);
        if (at < 0 && m_settings->wrap == kFindContinue) at = pattern->findForward(story, 0, length, matchCase, wholeWord);
    } else {
        at = pattern->findBackward(story, 0, m_selection->start(), matchCase, wholeWord);
        if (at < 0 && m_settings->wrap == kFindContinue) at = pattern->findBackward(story, 0, length, matchCase, wholeWord);
    }
    if (at < 0) return false;
    m_selection->setRange(at, at + pattern->length());
    return true;
}

// Replaces every match in the search region, walking forward. On the selection
// the region is the whole story when wrapping, else the selected text, or from
// the insertion point on; on a range it is the range.
int Find::replaceAll() {
    Document *doc = document();
    if (!doc) return 0;
    const auto pattern = TextPattern::compile(m_settings->text, m_settings->matchWildcards);
    if (!pattern) return 0;
    const bool matchCase = m_settings->matchCase || m_settings->matchWildcards;
    const bool wholeWord = m_settings->matchWholeWord && !m_settings->matchWildcards;
    const Story &story = doc->story();
    int from = 0;
    int to = story.length();
    if (m_range) {
        from = m_range->start();
        to = m_range->end();
    } else if (m_settings->wrap != kFindContinue) {
        if (m_selection->start() != m_selection->end()) {
            from = m_selection->start();
            to = m_selection->end();
        } else if (m_settings->forward) {
            from = m_selection->start();
        } else {
            to = m_selection->start();
        }
    }
    const int styleIndex = m_settings->format && !m_settings->replacementStyle.isEmpty()
                               ? doc->styles().indexOf(m_settings->replacementStyle)
                               : -1;
    const bool characterStyle = styleIndex >= 0 && doc->styles().at(styleIndex)->type() == StyleType::Character;
    const bool recolour = m_settings->format && m_settings->replacementColor != kColorAutomatic;
    const int colour = m_settings->replacementColor;
    int count = 0;
    for (int p = from;;) {
        const int at = pattern->findForward(story, p, to, matchCase, wholeWord);
        if (at < 0) break;
        const int matchEnd = at + pattern->length();
        const QString replacement = expandReplacement(m_settings->replacementText, story.text(at, matchEnd));
        const int lengthBefore = story.length();
        const int end = doc->replace(at, matchEnd, replacement, story.charFormatAt(at));
        if (characterStyle) {
            const int style = styleIndex == Styles::kDefaultParagraphFont ? -1 : styleIndex;
            doc->editCharFormat(at, end, [style](CharFormat &f) { f.style = style; });
        } else if (styleIndex >= 0) {
            doc->setParagraphStyle(at, end, styleIndex);
        }
        if (recolour) doc->editCharFormat(at, end, [colour](CharFormat &f) { f.color = colour; });
        to += story.length() - lengthBefore;
        // Marks that cannot be deleted (the final paragraph mark, cell marks) stay
        // behind the replacement; the search goes on after them.
        const int inserted = end - at;
        const int kept = std::max(0, story.length() - lengthBefore + (matchEnd - at) - inserted);
        p = end + kept;
        ++count;
    }
    if (m_range) m_range->setRange(from, to);
    return count;
}

}  // namespace office::doc
