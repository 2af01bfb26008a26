#pragma once

#include "Document.h"

#include <QFont>
#include <QHash>
#include <QStringView>
#include <array>
#include <memory>
#include <vector>

namespace folionix {

// The QFont for a recorded font key: unhinted and without kerning, so that widths are the sum of the
// design advances on every device.
QFont toQFont(const FontKey& key);

// Ascent in twips, for painting a run's baseline without measuring a whole font.
double ascentOf(const FontKey& key);

// Measurements of one font in twips (measured at 1440 dpi). Advances are rounded to whole twips, as
// the printer driver's integer metrics would be, so the width of a concatenation is the sum of the
// widths of its parts.
class FontMetrics
{
public:
    explicit FontMetrics(const FontKey& key);

    const FontKey& key() const { return m_key; }
    double lineHeight() const { return m_lineHeight; }
    double ascent() const { return m_ascent; }
    double spaceWidth() const { return m_ascii[' ']; }

    // Sum of all advances; line breaks count as ordinary characters.
    double advanceSum(QStringView text) const;
    // Widest line; CR, LF and CR LF end lines.
    double width(QStringView text) const;
    static int lineCount(QStringView text);
    // Lines needed when the text is word-wrapped to width (words wider than that break anywhere).
    int wrappedLineCount(QStringView text, double width) const;

private:
    double advance(char32_t codePoint) const;
    void wrapLine(QStringView line, double width, int& lines) const;

    FontKey m_key;
    QFont m_font;
    double m_lineHeight = 0;
    double m_ascent = 0;
    std::array<double, 128> m_ascii{};
    mutable QHash<char32_t, double> m_other;
};

// Metrics per font, created on first use and kept for the life of the cache.
class TextMetrics
{
public:
    const FontMetrics& forFont(const FontKey& key);

private:
    std::vector<std::unique_ptr<FontMetrics>> m_fonts;
};

} // namespace folionix
