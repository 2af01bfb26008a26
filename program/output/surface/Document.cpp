#include "Document.h"

#include "AppError.h"

#include <limits>

namespace folionix {

// A long listing holds millions of runs; keep them at 40 bytes.
static_assert(sizeof(TextRun) == 40);

void Document::clear()
{
    m_pages.clear();
    m_fonts.clear();
    m_styleNames.assign(1, QString());
    m_pictures.clear();
    m_text.clear();
    m_seq = 0;
}

Shape& Document::addShape(Page& page, Shape::Kind kind, double x1, double y1, double x2, double y2,
                          int32_t penWidth, WinColor penColor)
{
    Shape& shape = page.shapes.emplace_back();
    shape.kind = kind;
    shape.x1 = float(x1);
    shape.y1 = float(y1);
    shape.x2 = float(x2);
    shape.y2 = float(y2);
    shape.penWidth = penWidth;
    shape.penColor = penColor;
    shape.seq = nextSeq();
    return shape;
}

Page& Document::addPage(float width, float height, int scalePercent)
{
    // Pages of one listing hold about as many runs as the one before; reserving that avoids the
    // doubling copies of a few hundred thousand runs per page.
    const size_t expectedRuns = m_pages.empty() ? 0 : m_pages.back().runs.size();
    Page& page = m_pages.emplace_back();
    page.width = width;
    page.height = height;
    page.scalePercent = scalePercent;
    page.runs.reserve(expectedRuns);
    return page;
}

uint16_t Document::internFont(const FontKey& font)
{
    // A document uses a handful of fonts; the surface caches the index of the current one.
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i] == font)
            return uint16_t(i);
    }
    if (m_fonts.size() > std::numeric_limits<uint16_t>::max())
        throw mendwick::AppError(mendwick::errnum::OutOfMemory, QStringLiteral("Too many fonts"),
                                 QStringLiteral("Document"));
    m_fonts.push_back(font);
    return uint16_t(m_fonts.size() - 1);
}

uint16_t Document::internStyle(const QString& name)
{
    for (size_t i = 0; i < m_styleNames.size(); ++i) {
        if (m_styleNames[i] == name)
            return uint16_t(i);
    }
    if (m_styleNames.size() > std::numeric_limits<uint16_t>::max())
        throw mendwick::AppError(mendwick::errnum::OutOfMemory, QStringLiteral("Too many styles"),
                                 QStringLiteral("Document"));
    m_styleNames.push_back(name);
    return uint16_t(m_styleNames.size() - 1);
}

uint32_t Document::addPicture(const QImage& image)
{
    m_pictures.push_back(image);
    return uint32_t(m_pictures.size() - 1);
}

uint32_t Document::appendText(QStringView text)
{
    const qsizetype start = m_text.size();
    if (qsizetype(std::numeric_limits<uint32_t>::max()) - start < text.size())
        throw mendwick::AppError(mendwick::errnum::OutOfMemory, QStringLiteral("Out of memory"),
                                 QStringLiteral("Document"));
    m_text.append(text);
    return uint32_t(start);
}

} // namespace folionix
