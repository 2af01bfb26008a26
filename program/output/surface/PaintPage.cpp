#include "PageItems.h"
#include "TextMetrics.h"
#include "WinColor.h"
#include "Writers.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>

namespace folionix {

namespace {

// How the document's fonts are painted, made when a page first uses them. The painter works in twips,
// so QFont sizes are set as the device would see them at 1440 dpi and the painter's scale brings text
// and geometry to the device together.
class PaintFonts
{
public:
    struct Entry
    {
        QFont font;
        double ascent = 0;
        // Latin-1 text goes out as glyph runs: no shaping, glyphs placed at the layout's own advances.
        QRawFont raw;
        std::array<quint32, 256> glyphs{};
        std::array<float, 256> advances{};
        bool underline = false;
    };

    PaintFonts(const Document& document, double deviceDpi)
        : m_document(document), m_fonts(document.fonts().size()), m_sizeFactor(1440.0 / deviceDpi)
    {}

    const Entry& entry(uint16_t index)
    {
        std::optional<Entry>& slot = m_fonts[index];
        if (!slot)
            slot = make(m_document.fonts()[index]);
        return *slot;
    }

private:
    Entry make(const FontKey& key) const
    {
        Entry entry;
        entry.font = toQFont(key);
        entry.ascent = ascentOf(key);
        entry.underline = key.underline;
        entry.raw = QRawFont::fromFont(entry.font);
        entry.raw.setPixelSize(entry.font.pointSizeF() * 20); // twips
        entry.font.setPointSizeF(entry.font.pointSizeF() * m_sizeFactor);
        if (entry.raw.isValid()) {
            const Latin1Glyphs& latin1 = latin1Glyphs(key, entry.raw);
            entry.glyphs = latin1.glyphs;
            entry.advances = latin1.advances;
        }
        return entry;
    }

    struct Latin1Glyphs
    {
        std::array<quint32, 256> glyphs{};
        std::array<float, 256> advances{};
    };

    // Looking glyphs up costs more than painting a page of them, so every page and every document
    // shares one table per font. Plain numbers only: nothing here outlives the font database badly.
    static const Latin1Glyphs& latin1Glyphs(const FontKey& key, const QRawFont& raw)
    {
        static std::mutex mutex;
        static std::vector<std::pair<FontKey, std::unique_ptr<Latin1Glyphs>>> tables;
        const std::lock_guard lock(mutex);
        for (const auto& [known, table] : tables) {
            if (known == key)
                return *table;
        }
        auto table = std::make_unique<Latin1Glyphs>();
        QChar latin1[256];
        for (char16_t c = 0; c < 256; ++c)
            latin1[c] = QChar(c);
        int count = 256;
        if (raw.glyphIndexesForChars(latin1, 256, table->glyphs.data(), &count) && count == 256) {
            QPointF advances[256];
            raw.advancesForGlyphIndexes(table->glyphs.data(), advances, 256, QRawFont::UseDesignMetrics);
            for (size_t c = 0; c < 256; ++c)
                table->advances[c] = float(std::round(advances[c].x()));
        } else {
            table->glyphs.fill(0); // every run takes the shaping path
        }
        return *tables.emplace_back(key, std::move(table)).second;
    }

    const Document& m_document;
    std::vector<std::optional<Entry>> m_fonts;
    double m_sizeFactor;
};

// Whether next continues the text drawn from head on: the same font on the same line, right after
// previous, in head's colour — or only blanks, which leave no ink whatever their colour.
bool joinable(const Document& document, const TextRun& head, const TextRun& previous, const TextRun& next)
{
    if (next.font != head.font || next.y != head.y || std::abs(previous.x + previous.width - next.x) > 0.5f)
        return false;
    if (next.color == head.color)
        return true;
    if (document.fonts()[next.font].underline)
        return false; // an underline has the colour of its text
    const QStringView text = document.textOf(next);
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

class PagePainter
{
public:
    PagePainter(QPainter& painter, const Document& document, const Page& page, double deviceDpi)
        : m_painter(painter), m_document(document), m_page(page), m_fonts(document, deviceDpi)
    {}

    void paint()
    {
        PageItemCursor cursor(m_page);
        for (auto kind = cursor.next(); kind != PageItemCursor::Kind::End; kind = cursor.next()) {
            switch (kind) {
            case PageItemCursor::Kind::Run:
                cursor.skipRuns(paintRuns(cursor.runIndex(), cursor.nextOtherSeq()));
                continue;
            case PageItemCursor::Kind::Shape:
                paintShape(cursor.shape());
                break;
            case PageItemCursor::Kind::Picture:
                paintPicture(cursor.picture());
                break;
            case PageItemCursor::Kind::TextBox:
                paintTextBox(cursor.textBox());
                break;
            case PageItemCursor::Kind::End:
                break;
            }
            cursor.skip(kind);
        }
    }

private:
    // Paints the run at first joined with the runs that continue it on the line (one drawText instead
    // of one per token) and returns how many runs it used.
    size_t paintRuns(size_t first, uint32_t stopSeq)
    {
        const std::vector<TextRun>& runs = m_page.runs;
        const TextRun& head = runs[first];
        if (head.textLength == 0)
            return 1; // a blank line: nothing to paint
        size_t end = first + 1;
        bool contiguousText = true;
        while (end < runs.size() && runs[end].seq < stopSeq &&
               joinable(m_document, head, runs[end - 1], runs[end])) {
            contiguousText =
                contiguousText && runs[end].textStart == runs[end - 1].textStart + runs[end - 1].textLength;
            ++end;
        }

        usePen(QPen(toQColor(head.color)));
        const PaintFonts::Entry& font = m_fonts.entry(head.font);
        if (!paintGlyphs(font, first, end))
            paintString(font, first, end, contiguousText);
        return end - first;
    }

    // Places each glyph at the layout's own position; false when the runs need shaping or fallback
    // fonts (beyond Latin-1, control characters, glyphs missing from the font).
    bool paintGlyphs(const PaintFonts::Entry& font, size_t first, size_t end)
    {
        if (!font.raw.isValid())
            return false;
        m_glyphs.clear();
        m_positions.clear();
        // Positions are relative to the first run's start on the baseline, where the run is drawn: the
        // underline runs from there.
        const float originX = m_page.runs[first].x;
        const float baseline = float(m_page.runs[first].y + font.ascent);
        for (size_t i = first; i < end; ++i) {
            const TextRun& run = m_page.runs[i];
            float x = run.x - originX;
            for (QChar c : m_document.textOf(run)) {
                const char16_t code = c.unicode();
                if (code >= 256 || code < 0x20 || font.glyphs[code] == 0)
                    return false;
                m_glyphs.append(font.glyphs[code]);
                m_positions.append(QPointF(x, 0));
                x += font.advances[code];
            }
        }
        if (m_glyphs.isEmpty())
            return true;
        QGlyphRun glyphRun;
        glyphRun.setRawFont(font.raw);
        glyphRun.setGlyphIndexes(m_glyphs);
        glyphRun.setPositions(m_positions);
        glyphRun.setUnderline(font.underline);
        m_painter.drawGlyphRun(QPointF(originX, baseline), glyphRun);
        return true;
    }

    void paintString(const PaintFonts::Entry& font, size_t first, size_t end, bool contiguousText)
    {
        const std::vector<TextRun>& runs = m_page.runs;
        const TextRun& head = runs[first];
        QString text;
        if (contiguousText) {
            // The runs follow each other in the shared buffer too: paint straight from it.
            const TextRun& last = runs[end - 1];
            text = QString::fromRawData(m_document.text().constData() + head.textStart,
                                        qsizetype(last.textStart + last.textLength - head.textStart));
        } else {
            for (size_t i = first; i < end; ++i)
                text += m_document.textOf(runs[i]);
        }
        // Control characters of the source (a NUL byte, a stray escape) show as their visible control
        // pictures, as in the other export formats, instead of vanishing.
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20; })) {
            text.detach();
            for (QChar& c : text)
                if (c.unicode() < 0x20)
                    c = QChar(char16_t(0x2400 + c.unicode()));
        }
        useFont(head.font);
        m_painter.drawText(QPointF(head.x, head.y + font.ascent), text);
    }

    void paintShape(const Shape& shape)
    {
        QPen pen(toQColor(shape.penColor), shape.penWidth);
        pen.setCapStyle(Qt::FlatCap);
        usePen(pen);
        useBrush(shape.filled ? QBrush(toQColor(shape.brushColor)) : QBrush(Qt::NoBrush));
        const QRectF rect = QRectF(QPointF(shape.x1, shape.y1), QPointF(shape.x2, shape.y2)).normalized();
        switch (shape.kind) {
        case Shape::Kind::Line:
            m_painter.drawLine(QPointF(shape.x1, shape.y1), QPointF(shape.x2, shape.y2));
            break;
        case Shape::Kind::Rectangle:
            m_painter.drawRect(rect);
            break;
        case Shape::Kind::RoundedBox:
            m_painter.drawRoundedRect(rect, shape.rx, shape.ry, Qt::AbsoluteSize);
            break;
        }
    }

    void paintPicture(const PlacedPicture& picture)
    {
        const QImage& image = m_document.pictures()[picture.picture];
        m_painter.drawImage(QRectF(picture.x, picture.y, picture.width, picture.height), image);
    }

    void paintTextBox(const TextBox& box)
    {
        useFont(box.font);
        usePen(QPen(toQColor(box.color)));
        const int flags = Qt::AlignLeft | Qt::AlignTop | (box.wrap ? Qt::TextWordWrap : 0);
        m_painter.drawText(QRectF(box.left, box.top, box.width, box.height), flags,
                           m_document.textOf(box).toString());
    }

    void useFont(uint16_t font)
    {
        if (font != m_font) {
            m_painter.setFont(m_fonts.entry(font).font);
            m_font = font;
        }
    }

    void usePen(const QPen& pen)
    {
        if (!m_pen || *m_pen != pen) {
            m_painter.setPen(pen);
            m_pen = pen;
        }
    }

    void useBrush(const QBrush& brush)
    {
        if (!m_brush || *m_brush != brush) {
            m_painter.setBrush(brush);
            m_brush = brush;
        }
    }

    QPainter& m_painter;
    const Document& m_document;
    const Page& m_page;
    PaintFonts m_fonts;
    int m_font = -1;
    std::optional<QPen> m_pen;
    std::optional<QBrush> m_brush;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
};

} // namespace

void paintPage(QPainter& painter, const Document& document, int pageIndex)
{
    if (pageIndex < 0 || size_t(pageIndex) >= document.pages().size())
        return;
    const Page& page = document.pages()[size_t(pageIndex)];
    painter.save();
    // Logical twips to device units: the device's resolution, then the page's output scale.
    const QPaintDevice* device = painter.device();
    const double scale = page.scalePercent > 0 ? page.scalePercent / 100.0 : 1.0;
    const double dpiX = device ? device->logicalDpiX() : 1440.0;
    const double dpiY = device ? device->logicalDpiY() : 1440.0;
    painter.scale(dpiX / 1440.0 * scale, dpiY / 1440.0 * scale);
    PagePainter(painter, document, page, dpiY).paint();
    painter.restore();
}

} // namespace folionix
