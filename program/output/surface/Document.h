#pragma once

#include <QImage>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace folionix {

// Windows colour value 0x00BBGGRR; 0x80000000 + n names system colour n.
using WinColor = uint32_t;

// What a recorded item belongs to: the listing itself or the page furniture around it.
enum class ItemRole : uint8_t
{
    Body = 0,
    Header = 1,
    Footer = 2,
    Border = 3,
    Furniture = 4 // drawn by a page-event handler (the watermark): not part of the listing's flow
};

struct FontKey
{
    QString family;
    double pointSize = 8;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontKey&) const = default;
};

// One AddText call (never merged). Geometry in twips: x, y is the top-left of the line box.
// A line ended without any text is kept as an empty run (textLength 0, lineStart) so that the flow
// writers keep blank lines; painting and the JSON dump skip it.
struct TextRun
{
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    uint32_t textStart = 0; // into Document::text()
    uint32_t textLength = 0;
    uint32_t seq = 0;   // drawing order on the page, shared with shapes and pictures
    uint16_t font = 0;  // into Document::fonts()
    uint16_t style = 0; // into Document::styleNames(); 0 is "" (no named style applied)
    WinColor color = 0;
    ItemRole role = ItemRole::Body;
    bool lineStart = false; // first run after a line end, a page or a column break
    uint8_t column = 1;
};

struct Shape
{
    enum class Kind : uint8_t
    {
        Line,
        RoundedBox,
        Rectangle
    };
    Kind kind = Kind::Line;
    ItemRole role = ItemRole::Body;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float rx = 0, ry = 0;
    int32_t penWidth = 1;
    WinColor penColor = 0;
    WinColor brushColor = 0xFFFFFF;
    bool filled = false;
    uint32_t seq = 0;
};

struct PlacedPicture
{
    float x = 0, y = 0, width = 0, height = 0;
    uint32_t picture = 0; // into Document::pictures()
    uint32_t seq = 0;
    ItemRole role = ItemRole::Body;
    uint8_t column = 1;
};

// A piece of RTF the program handed to the surface for the RTF export (page headers, embedded
// pictures), kept at its place in the flow. Only the RTF writer reads it.
struct RtfInsert
{
    uint32_t textStart = 0; // into Document::text()
    uint32_t textLength = 0;
    uint32_t seq = 0;
    uint8_t column = 1;
};

struct TextBox
{
    float left = 0, top = 0, width = 0, height = 0;
    uint32_t textStart = 0;
    uint32_t textLength = 0;
    uint16_t font = 0;
    WinColor color = 0;
    bool wrap = true;
    uint32_t seq = 0;
};

struct Page
{
    float width = 0; // logical twips (after ScaleOutput)
    float height = 0;
    int scalePercent = 100;
    std::vector<TextRun> runs;
    std::vector<Shape> shapes;
    std::vector<PlacedPicture> pictures;
    std::vector<TextBox> textBoxes;
    std::vector<RtfInsert> rtfInserts;
};

// The recorded document: pages of positioned items, with fonts, style names, pictures and all text
// interned once. Every output (preview, printer, PDF, text, JSON, and later RTF and HTML) reads this.
class Document
{
public:
    const std::vector<Page>& pages() const { return m_pages; }
    const std::vector<FontKey>& fonts() const { return m_fonts; }
    const std::vector<QString>& styleNames() const { return m_styleNames; }
    const std::vector<QImage>& pictures() const { return m_pictures; }
    const QString& text() const { return m_text; }
    QStringView textOf(const TextRun& run) const
    {
        return QStringView(m_text).mid(run.textStart, run.textLength);
    }
    QStringView textOf(const TextBox& box) const
    {
        return QStringView(m_text).mid(box.textStart, box.textLength);
    }
    QStringView textOf(const RtfInsert& insert) const
    {
        return QStringView(m_text).mid(insert.textStart, insert.textLength);
    }

    void clear();
    Page& addPage(float width, float height, int scalePercent);
    Page& currentPage() { return m_pages.back(); }
    bool hasPages() const { return !m_pages.empty(); }
    uint16_t internFont(const FontKey& font);
    uint16_t internStyle(const QString& name);
    uint32_t addPicture(const QImage& image);
    // Appends text to the shared buffer and returns its start.
    uint32_t appendText(QStringView text);
    uint32_t nextSeq() { return m_seq++; }
    // Adds a shape of the given kind and corners to page, next in drawing order, drawn with the pen.
    Shape& addShape(Page& page, Shape::Kind kind, double x1, double y1, double x2, double y2,
                    int32_t penWidth, WinColor penColor);

private:
    std::vector<Page> m_pages;
    std::vector<FontKey> m_fonts;
    std::vector<QString> m_styleNames{QString()};
    std::vector<QImage> m_pictures;
    QString m_text;
    uint32_t m_seq = 0;
};

} // namespace folionix
