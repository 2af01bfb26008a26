#include "TextMetrics.h"

#include <QFontMetricsF>
#include <QImage>
#include <cmath>

namespace folionix {

namespace {

// A 1x1 image claiming 1440 dpi: fonts measured on it report twips directly.
const QImage& twipsDevice()
{
    static const QImage image = [] {
        QImage img(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = int(std::lround(1440.0 / 0.0254));
        img.setDotsPerMeterX(dotsPerMeter);
        img.setDotsPerMeterY(dotsPerMeter);
        return img;
    }();
    return image;
}

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

QFont toQFont(const FontKey& key)
{
    QFont font(key.family);
    font.setPointSizeF(key.pointSize > 0 ? key.pointSize : 8);
    font.setBold(key.bold);
    font.setItalic(key.italic);
    font.setUnderline(key.underline);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double ascentOf(const FontKey& key)
{
    return QFontMetricsF(toQFont(key), &twipsDevice()).ascent();
}

FontMetrics::FontMetrics(const FontKey& key) : m_key(key), m_font(toQFont(key))
{
    const QFontMetricsF metrics(m_font, &twipsDevice());
    m_lineHeight = std::round(metrics.lineSpacing());
    m_ascent = metrics.ascent();
    for (char16_t c = 0; c < 128; ++c)
        m_ascii[c] = std::round(metrics.horizontalAdvance(QChar(c)));
    // Control characters are shown as their control pictures (U+2400 on), so they take that room.
    for (char16_t c = 0; c < 0x20; ++c)
        m_ascii[c] = std::round(metrics.horizontalAdvance(QString(QChar(char16_t(0x2400 + c)))));
}

double FontMetrics::advance(char32_t codePoint) const
{
    if (codePoint < 128)
        return m_ascii[codePoint];
    const auto it = m_other.constFind(codePoint);
    if (it != m_other.constEnd())
        return *it;
    // Measured as a string so that font fallback (CJK and other scripts) takes part.
    const QFontMetricsF metrics(m_font, &twipsDevice());
    const char32_t cp[1] = {codePoint};
    const double value = std::round(metrics.horizontalAdvance(QString::fromUcs4(cp, 1)));
    m_other.insert(codePoint, value);
    return value;
}

double FontMetrics::advanceSum(QStringView text) const
{
    double sum = 0;
    const qsizetype n = text.size();
    const char16_t* p = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 128) {
            sum += m_ascii[c];
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            sum += advance(QChar::surrogateToUcs4(c, p[i + 1]));
            ++i;
        } else {
            sum += advance(c);
        }
    }
    return sum;
}

double FontMetrics::width(QStringView text) const
{
    double widest = 0;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && !isLineBreak(text[i].unicode()))
            continue;
        widest = std::max(widest, advanceSum(text.sliced(start, i - start)));
        if (i + 1 < n && text[i] == u'\r' && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return widest;
}

int FontMetrics::lineCount(QStringView text)
{
    int lines = 1;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!isLineBreak(text[i].unicode()))
            continue;
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        ++lines;
    }
    return lines;
}

int FontMetrics::wrappedLineCount(QStringView text, double width) const
{
    int lines = 0;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && !isLineBreak(text[i].unicode()))
            continue;
        ++lines;
        wrapLine(text.sliced(start, i - start), width, lines);
        if (i + 1 < n && text[i] == u'\r' && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

// Greedy word wrap of one line; adds the extra lines it needs to lines.
void FontMetrics::wrapLine(QStringView line, double width, int& lines) const
{
    double x = 0;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        qsizetype wordEnd = i;
        while (wordEnd < n && line[wordEnd] != u' ')
            ++wordEnd;
        qsizetype spaceEnd = wordEnd;
        while (spaceEnd < n && line[spaceEnd] == u' ')
            ++spaceEnd;
        const double word = advanceSum(line.sliced(i, wordEnd - i));
        const double spaces = advanceSum(line.sliced(wordEnd, spaceEnd - wordEnd));
        if (x > 0 && x + word > width) {
            ++lines;
            x = 0;
        }
        if (word > width) {
            for (qsizetype k = i; k < wordEnd; ++k) {
                const double a = advance(line[k].unicode());
                if (x > 0 && x + a > width) {
                    ++lines;
                    x = 0;
                }
                x += a;
            }
            x += spaces;
        } else {
            x += word + spaces;
        }
        i = spaceEnd;
    }
}

const FontMetrics& TextMetrics::forFont(const FontKey& key)
{
    for (const auto& font : m_fonts) {
        if (font->key() == key)
            return *font;
    }
    return *m_fonts.emplace_back(std::make_unique<FontMetrics>(key));
}

} // namespace folionix
