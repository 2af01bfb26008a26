#pragma once

#include "Document.h"
#include "PageGeometry.h"
#include "TextFormat.h"

namespace folionix {

class TextMetrics;

struct FramePen
{
    int width = 20;
    WinColor color = 0;
};

// Records the header, footer and border of a finished page (items with the Header, Footer and Border
// roles), using the page's own size and the current margins and columns.
class PageFrame
{
public:
    PageFrame(Document& document, TextMetrics& metrics) : m_document(document), m_metrics(metrics) {}

    void record(Page& page, int pageNumber, const PageGeometry& geometry, const HeaderFooterFormat& format,
                const FramePen& pen);

private:
    void recordLine(Page& page, ItemRole role, const QString& text, int pageNumber, double y,
                    const TextArea& area, const HeaderFooterFormat& format);
    void recordText(Page& page, ItemRole role, const QString& text, double x, double y, double width,
                    uint16_t font, WinColor color, bool lineStart);
    void recordBorder(Page& page, int style, const TextArea& area, const FramePen& pen);
    void addShape(Page& page, Shape::Kind kind, double x1, double y1, double x2, double y2,
                  const FramePen& pen);

    Document& m_document;
    TextMetrics& m_metrics;
};

} // namespace folionix
