#include "FlowLayout.h"
#include "OutputBuffer.h"
#include "TextMetrics.h"
#include "WinColor.h"
#include "Writers.h"

#include <QBuffer>
#include <QFontInfo>
#include <QHash>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

namespace folionix {

namespace {

// The character formatting a run is written with: indexes into the font and colour tables.
struct CharFormat
{
    int family = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = 0;
};

// The RTF document of a listing's flow.
//
// Each line of the flow is a paragraph; pictures and the RTF pieces the program handed over get
// paragraphs of their own between the lines. Pages are separated by \page. Pages with several columns are
// written as one section of that many newspaper columns (\colsN) with \column between the columns, which word
// processors show as the printed columns; the column gap comes from where the columns start on the
// page.
class RtfFlow : public FlowVisitor
{
public:
    RtfFlow(const Document& document, QIODevice& device) : m_document(document), m_out(device) {}

    bool write()
    {
        collectTables();
        writeHeader();
        walkFlow(m_document, *this);
        m_out.append('}');
        return m_out.finish();
    }

private:
    // Header

    void collectTables()
    {
        const std::vector<FontKey>& fonts = m_document.fonts();
        QHash<QString, int> families;
        m_fontFormats.reserve(fonts.size());
        for (const FontKey& font : fonts) {
            auto it = families.constFind(font.family);
            if (it == families.constEnd()) {
                it = families.insert(font.family, int(m_families.size()));
                m_families.push_back(&font);
            }
            CharFormat format;
            format.family = *it;
            format.halfPoints = int(std::clamp<long>(std::lround(font.pointSize * 2), 1, 3276));
            format.bold = font.bold;
            format.italic = font.italic;
            format.underline = font.underline;
            m_fontFormats.push_back(format);
        }

        // Colours of the listing's runs; entry 0 of the table is the automatic colour.
        std::unordered_map<WinColor, int> byRgb;
        for (const Page& page : m_document.pages()) {
            for (const TextRun& run : page.runs) {
                if (run.role != ItemRole::Body || m_colorIndex.count(run.color))
                    continue;
                const WinColor rgb = fromQColor(toQColor(run.color));
                auto it = byRgb.find(rgb);
                if (it == byRgb.end()) {
                    it = byRgb.emplace(rgb, int(m_colors.size()) + 1).first;
                    m_colors.push_back(rgb);
                }
                m_colorIndex.emplace(run.color, it->second);
            }
        }
    }

    void writeHeader()
    {
        m_out.appendLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
        if (m_families.empty())
            m_out.appendLiteral("{\\f0\\fnil Arial;}");
        for (size_t i = 0; i < m_families.size(); ++i) {
            const FontKey& font = *m_families[i];
            m_out.appendLiteral("{\\f");
            number(int(i));
            if (QFontInfo(toQFont(font)).fixedPitch())
                m_out.appendLiteral("\\fmodern");
            else
                m_out.appendLiteral("\\fnil");
            m_out.appendLiteral("\\fcharset0 ");
            QString name = font.family;
            name.remove(u';');
            writeEscaped(name);
            m_out.appendLiteral(";}");
        }
        m_out.appendLiteral("}\n{\\colortbl;");
        for (const WinColor rgb : m_colors) {
            m_out.appendLiteral("\\red");
            number(int(rgb & 0xFF));
            m_out.appendLiteral("\\green");
            number(int(rgb >> 8 & 0xFF));
            m_out.appendLiteral("\\blue");
            number(int(rgb >> 16 & 0xFF));
            m_out.append(';');
        }
        m_out.appendLiteral("}\n");
        writePageSetup();
        m_out.appendLiteral("\\pard\\plain\n");
    }

    // Paper of the first page; margins where the listing's text starts (the page furniture in them is
    // not exported), the right and bottom ones mirroring the left and top.
    void writePageSetup()
    {
        const std::vector<Page>& pages = m_document.pages();
        const Page* first = pages.empty() ? nullptr : &pages.front();
        const int width = first ? int(std::lround(first->width)) : 12240;
        const int height = first ? int(std::lround(first->height)) : 15840;
        double left = 1440;
        double top = 1440;
        const Page* marginPage = nullptr; // the first page with listing text
        int columns = 1;
        double columnPitch = 0;
        for (const Page& page : pages) {
            double columnLeft[2] = {-1, -1};
            for (const TextRun& run : page.runs) {
                if (run.role != ItemRole::Body || run.textLength == 0)
                    continue;
                columns = std::max(columns, int(run.column));
                if (run.column >= 1 && run.column <= 2) {
                    double& edge = columnLeft[run.column - 1];
                    edge = edge < 0 ? run.x : std::min(edge, double(run.x));
                }
                if (!marginPage) {
                    marginPage = &page;
                    left = run.x;
                    top = run.y;
                } else if (marginPage == &page) {
                    left = std::min(left, double(run.x));
                    top = std::min(top, double(run.y));
                }
            }
            for (const PlacedPicture& picture : page.pictures) {
                if (picture.role == ItemRole::Body)
                    columns = std::max(columns, int(picture.column));
            }
            for (const RtfInsert& insert : page.rtfInserts)
                columns = std::max(columns, int(insert.column));
            if (columnPitch <= 0 && columnLeft[0] >= 0 && columnLeft[1] > columnLeft[0])
                columnPitch = columnLeft[1] - columnLeft[0];
        }
        const int marginX = int(std::clamp(std::lround(left), 360L, std::max(360L, long(width / 4))));
        const int marginY = int(std::clamp(std::lround(top), 360L, std::max(360L, long(height / 4))));

        m_out.appendLiteral("\\paperw");
        number(width);
        m_out.appendLiteral("\\paperh");
        number(height);
        m_out.appendLiteral("\\margl");
        number(marginX);
        m_out.appendLiteral("\\margr");
        number(marginX);
        m_out.appendLiteral("\\margt");
        number(marginY);
        m_out.appendLiteral("\\margb");
        number(marginY);
        if (width > height)
            m_out.appendLiteral("\\landscape");
        m_out.appendLiteral("\\viewkind1\n\\sectd");
        if (width > height)
            m_out.appendLiteral("\\lndscpsxn");
        if (columns > 1) {
            // Columns a pitch apart across the text width: whatever of the pitch is not column is gap.
            const double textWidth = width - 2.0 * marginX;
            double gap = 720;
            if (columnPitch > 0)
                gap =
                    std::clamp((columns * columnPitch - textWidth) / (columns - 1), 0.0, textWidth / columns);
            m_out.appendLiteral("\\sbknone\\cols");
            number(columns);
            m_out.appendLiteral("\\colsx");
            number(int(std::lround(gap)));
        }
        m_out.append('\n');
    }

    // Flow

    void beginPage(int pageIndex, const Page&) override
    {
        if (pageIndex > 0)
            m_out.appendLiteral("\\page\n");
        m_column = 1;
    }

    void beginColumn(int column) override
    {
        for (; m_column < column; ++m_column)
            m_out.appendLiteral("\\column\n");
        m_open = Open::Nothing;
    }

    void endColumn(int) override
    {
        // The column's last line (a blank one too) has had no break after it.
        if (m_open != Open::Nothing)
            m_out.appendLiteral("\\par\n");
        m_open = Open::Nothing;
    }

    void lineBreak() override
    {
        closePiece();
        m_out.appendLiteral("\\par\n");
        m_open = Open::Blank;
    }

    void text(const TextRun& run, QStringView text, int leadingSpaces) override
    {
        closePiece();
        m_open = Open::Text;
        setFormat(run);
        static constexpr char Blanks[] = "                                ";
        for (int left = leadingSpaces; left > 0; left -= 32)
            m_out.append(Blanks, std::min(left, 32));
        writeEscaped(text);
    }

    void picture(const PlacedPicture& placed, const QImage& image) override
    {
        if (image.isNull())
            return;
        closeParagraph();
        const QByteArray& hex = hexOf(placed.picture, image);
        if (hex.isEmpty())
            return;
        m_out.appendLiteral("{\\pict\\pngblip\\picw");
        number(image.width());
        m_out.appendLiteral("\\pich");
        number(image.height());
        m_out.appendLiteral("\\picwgoal");
        number(std::max(1, int(std::lround(placed.width))));
        m_out.appendLiteral("\\pichgoal");
        number(std::max(1, int(std::lround(placed.height))));
        m_out.append('\n');
        m_out.append(hex.constData(), hex.size());
        m_out.appendLiteral("}\\par\n");
        m_open = Open::Nothing;
    }

    void rtfInsert(QStringView rtf) override
    {
        closeParagraph();
        // A piece is a document of its own: its header is not valid inside the body, the group is.
        qsizetype start = 0;
        if (rtf.startsWith(u"{\\rtf")) {
            qsizetype p = 5;
            while (p < rtf.size() && rtf[p].isDigit())
                ++p;
            if (p < rtf.size() && rtf[p] == u' ')
                ++p;
            m_out.append('{');
            start = p;
        }
        // Braces are kept balanced so that a broken piece cannot end the document early.
        int depth = start > 0 ? 1 : 0;
        const char16_t* p = rtf.utf16();
        for (qsizetype i = start; i < rtf.size(); ++i) {
            const char16_t c = p[i];
            if (c == u'\\' && i + 1 < rtf.size() && p[i + 1] < 0x80) {
                m_out.append('\\');
                m_out.append(char(p[++i]));
            } else if (c == u'{') {
                ++depth;
                m_out.append('{');
            } else if (c == u'}') {
                if (depth == 0)
                    continue;
                --depth;
                m_out.append('}');
            } else if (c < 0x80) {
                m_out.append(char(c));
            } else {
                i = unicode(p, i, rtf.size());
            }
        }
        for (; depth > 0; --depth)
            m_out.append('}');
        // What follows starts from the document's defaults again: a piece may leave its formatting.
        m_out.appendLiteral("\\pard\\plain\n");
        m_format = CharFormat();
        m_open = endsParagraph(rtf) ? Open::Nothing : Open::Piece;
    }

    // Before a picture or an RTF piece: the flow has ended the line before them with a break, so only a
    // paragraph of text without one (or a piece's own) is still open.
    void closeParagraph()
    {
        if (m_open == Open::Text || m_open == Open::Piece)
            m_out.appendLiteral("\\par\n");
        m_open = Open::Nothing;
    }

    // A piece that did not end its paragraph shares it with nothing that follows.
    void closePiece()
    {
        if (m_open == Open::Piece) {
            m_out.appendLiteral("\\par\n");
            m_open = Open::Nothing;
        }
    }

    // Whether a piece ends with \par, so that the next line needs no paragraph end of its own.
    static bool endsParagraph(QStringView rtf)
    {
        qsizetype end = rtf.size();
        while (end > 0 && (rtf[end - 1] == u'}' || rtf[end - 1].isSpace()))
            --end;
        rtf = rtf.left(end);
        if (!rtf.endsWith(u"\\par"))
            return false;
        qsizetype slashes = 0;
        for (qsizetype i = rtf.size() - 4; i >= 0 && rtf[i] == u'\\'; --i)
            ++slashes;
        return slashes % 2 == 1;
    }

    // Formatting

    void setFormat(const TextRun& run)
    {
        const CharFormat& font = m_fontFormats[run.font];
        int color = m_lastColorIndex;
        if (!m_haveLastColor || run.color != m_lastColor) {
            const auto it = m_colorIndex.find(run.color);
            color = it != m_colorIndex.end() ? it->second : 0;
            m_lastColor = run.color;
            m_lastColorIndex = color;
            m_haveLastColor = true;
        }
        CharFormat& current = m_format;
        if (font.family == current.family && font.halfPoints == current.halfPoints &&
            font.bold == current.bold && font.italic == current.italic &&
            font.underline == current.underline && color == current.color)
            return;
        if (font.family != current.family) {
            m_out.appendLiteral("\\f");
            number(font.family);
        }
        if (font.halfPoints != current.halfPoints) {
            m_out.appendLiteral("\\fs");
            number(font.halfPoints);
        }
        if (font.bold != current.bold) {
            if (font.bold)
                m_out.appendLiteral("\\b");
            else
                m_out.appendLiteral("\\b0");
        }
        if (font.italic != current.italic) {
            if (font.italic)
                m_out.appendLiteral("\\i");
            else
                m_out.appendLiteral("\\i0");
        }
        if (font.underline != current.underline) {
            if (font.underline)
                m_out.appendLiteral("\\ul");
            else
                m_out.appendLiteral("\\ulnone");
        }
        if (color != current.color) {
            m_out.appendLiteral("\\cf");
            number(color);
        }
        m_out.append(' ');
        current = font;
        current.color = color;
    }

    // Characters

    // Text with \ { } escaped, everything outside ASCII as \uN? and control characters as their
    // visible pictures (U+2400 to U+241F).
    void writeEscaped(QStringView text)
    {
        const char16_t* p = text.utf16();
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = p[i];
            if (c >= 0x20 && c < 0x80) {
                if (c == u'\\' || c == u'{' || c == u'}')
                    m_out.append('\\');
                m_out.append(char(c));
            } else if (c < 0x20) {
                unicodeEscape(char16_t(0x2400 + c));
            } else {
                i = unicode(p, i, n);
            }
        }
    }

    // Writes the character at i (with its low surrogate) as \u; returns the index of its last unit.
    qsizetype unicode(const char16_t* p, qsizetype i, qsizetype n)
    {
        const char16_t c = p[i];
        if (!QChar::isSurrogate(c)) {
            unicodeEscape(c);
            return i;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            unicodeEscape(c);
            unicodeEscape(p[i + 1]);
            return i + 1;
        }
        unicodeEscape(0xFFFD);
        return i;
    }

    void unicodeEscape(char16_t unit)
    {
        m_out.appendLiteral("\\u");
        number(int(int16_t(unit)));
        m_out.append('?');
    }

    void number(int value)
    {
        char digits[16];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        m_out.append(digits, result.ptr - digits);
    }

    // Pictures

    // The hex of a picture's PNG, made once per picture of the document.
    const QByteArray& hexOf(uint32_t index, const QImage& image)
    {
        QByteArray& hex = m_pictureHex[index];
        if (!hex.isEmpty())
            return hex;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return hex;
        static constexpr char Digits[] = "0123456789abcdef";
        hex.reserve(png.size() * 2 + png.size() / 64 + 1);
        for (qsizetype i = 0; i < png.size(); ++i) {
            const auto byte = uchar(png[i]);
            hex.append(Digits[byte >> 4]);
            hex.append(Digits[byte & 0xF]);
            if (i % 64 == 63)
                hex.append('\n');
        }
        return hex;
    }

    const Document& m_document;
    OutputBuffer m_out;
    std::vector<const FontKey*> m_families; // the font table: first font of each family
    std::vector<CharFormat> m_fontFormats;  // per document font
    std::vector<WinColor> m_colors;         // the colour table after the automatic entry
    std::unordered_map<WinColor, int> m_colorIndex;
    std::unordered_map<uint32_t, QByteArray> m_pictureHex;
    WinColor m_lastColor = 0; // the colour of the previous run and its table entry
    int m_lastColorIndex = 0;
    bool m_haveLastColor = false;
    CharFormat m_format; // what \pard\plain leaves: the first font, 12 points, automatic colour
    int m_column = 1;
    // What the paragraph being written holds: text of a line, nothing yet after a line break (a blank
    // line unless a picture or a piece comes next), or an RTF piece that left its paragraph open.
    enum class Open : uint8_t
    {
        Nothing,
        Text,
        Blank,
        Piece
    };
    Open m_open = Open::Nothing;
};

} // namespace

bool writeRtf(const Document& document, QIODevice& device, QString* error)
{
    if (RtfFlow(document, device).write())
        return true;
    if (error) {
        *error = device.errorString();
        if (error->isEmpty() || *error == QLatin1String("Unknown error"))
            *error = QStringLiteral("The RTF file could not be written completely");
    }
    return false;
}

} // namespace folionix
