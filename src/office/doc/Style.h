#pragma once

#include "office/doc/WordColor.h"

#include <QString>

#include <memory>
#include <vector>

namespace office::doc {

/// Style types as the object model numbers them.
enum class StyleType { Paragraph = 1, Character = 2, Table = 3, List = 4 };

/// The font of a style. Changing it marks the style sheet as changed.
class StyleFont {
public:
    explicit StyleFont(int *revision) : m_revision(revision) {}

    QString name() const { return m_name; }
    void setName(const QString &name) { set(m_name, name); }
    /// Colour 0x00BBGGRR or kColorAutomatic.
    int color() const { return m_color; }
    void setColor(int color) { set(m_color, color); }
    /// Palette index 0..16 (15 grey 50 %, 6 red); -1 when the colour is not in the palette.
    int colorIndex() const { return indexFromColor(m_color); }
    void setColorIndex(int index) { set(m_color, colorFromIndex(index)); }
    /// Size in half points, 0 = not set.
    int halfPoints() const { return m_halfPoints; }
    void setHalfPoints(int halfPoints) { set(m_halfPoints, halfPoints); }
    /// -1 not set, 0 off, 1 on.
    int bold() const { return m_bold; }
    void setBold(int bold) { set(m_bold, bold); }
    int italic() const { return m_italic; }
    void setItalic(int italic) { set(m_italic, italic); }

private:
    template <typename T>
    void set(T &field, const T &value) {
        if (field == value) return;
        field = value;
        ++*m_revision;
    }
    int *m_revision;
    QString m_name;
    int m_color = kColorAutomatic;
    int m_halfPoints = 0;
    int m_bold = -1;
    int m_italic = -1;
};

/// One style of a document's style sheet.
class Style {
public:
    Style(const QString &name, StyleType type, int *revision) : m_font(revision), m_revision(revision), m_name(name), m_type(type) {}

    QString nameLocal() const { return m_name; }
    StyleType type() const { return m_type; }
    StyleFont &font() { return m_font; }
    const StyleFont &font() const { return m_font; }
    /// Proofing language (LCID); 1024 = no proofing; -1 = not set.
    int languageId() const { return m_language; }
    void setLanguageId(int lcid) {
        if (m_language == lcid) return;
        m_language = lcid;
        ++*m_revision;
    }

private:
    StyleFont m_font;
    int *m_revision;
    QString m_name;
    StyleType m_type;
    int m_language = -1;
};

/// A document's style sheet. Index 0 is the paragraph style "Normal", index 1 the
/// character style "Default Paragraph Font"; styles are never removed, so an index
/// stays valid for the document's life.
class Styles {
public:
    Styles();
    Styles(const Styles &) = delete;
    Styles &operator=(const Styles &) = delete;

    static constexpr int kNormal = 0;
    static constexpr int kDefaultParagraphFont = 1;

    int count() const { return int(m_styles.size()); }
    /// Style by index (0-based), nullptr when out of range.
    Style *at(int index) { return index >= 0 && index < count() ? m_styles[size_t(index)].get() : nullptr; }
    const Style *at(int index) const { return index >= 0 && index < count() ? m_styles[size_t(index)].get() : nullptr; }
    /// Style by name (names compare case-insensitively, as the word processor's do), nullptr when absent.
    Style *item(const QString &name) { return at(indexOf(name)); }
    int indexOf(const QString &name) const;
    /// Adds a style; returns the existing one when the name is taken (whatever its type).
    Style *add(const QString &name, StyleType type);
    /// Makes this style sheet a copy of `other`, revision included.
    void copyFrom(const Styles &other);

    /// Grows with every change to any style; a writer compares it to know whether
    /// the style sheet it wrote is still current.
    int revision() const { return m_revision; }

private:
    std::vector<std::unique_ptr<Style>> m_styles;
    int m_revision = 0;
};

}  // namespace office::doc
