#include "PageFrame.h"

#include "TextMetrics.h"

#include <algorithm>

namespace folionix {

namespace {

enum BorderStyle
{
    NoBorder,
    Bottom,
    Top,
    TopBottom,
    Box,
    ColumnLines,
    ColumnsTopBottom,
    All
};

} // namespace

void PageFrame::record(Page& page, int pageNumber, const PageGeometry& geometry,
                       const HeaderFooterFormat& format, const FramePen& pen)
{
    const TextArea area = geometry.textAreaFor(page.width, page.height);
    const double lineHeight = m_metrics.forFont(format.font).lineHeight();
    // Header and footer sit in the middle of their margins.
    const double headerY = std::max(0.0, (area.top - lineHeight) / 2);
    const double footerY = area.bottom + std::max(0.0, (page.height - area.bottom - lineHeight) / 2);
    recordLine(page, ItemRole::Header, format.header, pageNumber, headerY, area, format);
    recordLine(page, ItemRole::Footer, format.footer, pageNumber, footerY, area, format);
    recordBorder(page, geometry.pageBorder(), area, pen);
}

void PageFrame::recordLine(Page& page, ItemRole role, const QString& text, int pageNumber, double y,
                           const TextArea& area, const HeaderFooterFormat& format)
{
    if (text.isEmpty())
        return;
    const FontMetrics& metrics = m_metrics.forFont(format.font);
    const uint16_t font = m_document.internFont(format.font);
    const QStringList parts =
        QString(text).replace(QLatin1String("%d"), QString::number(pageNumber)).split(u'|');
    bool lineStart = true;
    for (qsizetype i = 0; i < std::min<qsizetype>(parts.size(), 3); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty())
            continue;
        const double width = metrics.advanceSum(part);
        double x = area.left;
        if (i == 1)
            x = (area.left + area.right - width) / 2;
        else if (i == 2)
            x = area.right - width;
        recordText(page, role, part, x, y, width, font, format.color, lineStart);
        lineStart = false;
    }
}

void PageFrame::recordText(Page& page, ItemRole role, const QString& text, double x, double y, double width,
                           uint16_t font, WinColor color, bool lineStart)
{
    TextRun run;
    run.x = float(x);
    run.y = float(y);
    run.width = float(width);
    run.height = float(m_metrics.forFont(m_document.fonts()[font]).lineHeight());
    run.textStart = m_document.appendText(text);
    run.textLength = uint32_t(text.size());
    run.seq = m_document.nextSeq();
    run.font = font;
    run.color = color;
    run.role = role;
    run.lineStart = lineStart;
    page.runs.push_back(run);
}

void PageFrame::recordBorder(Page& page, int style, const TextArea& area, const FramePen& pen)
{
    const bool top = style == Top || style == TopBottom || style == ColumnsTopBottom;
    const bool bottom = style == Bottom || style == TopBottom || style == ColumnsTopBottom;
    const bool box = style == Box || style == All;
    const bool columnLines = style == ColumnLines || style == ColumnsTopBottom || style == All;
    if (top)
        addShape(page, Shape::Kind::Line, area.left, area.top, area.right, area.top, pen);
    if (bottom)
        addShape(page, Shape::Kind::Line, area.left, area.bottom, area.right, area.bottom, pen);
    if (box)
        addShape(page, Shape::Kind::Rectangle, area.left, area.top, area.right, area.bottom, pen);
    if (columnLines) {
        // Down the middle of each gap between columns.
        for (int column = 1; column < area.columns; ++column) {
            const double x = area.columnRight(column) + area.spacing / 2;
            addShape(page, Shape::Kind::Line, x, area.top, x, area.bottom, pen);
        }
    }
}

void PageFrame::addShape(Page& page, Shape::Kind kind, double x1, double y1, double x2, double y2,
                         const FramePen& pen)
{
    Shape& shape = m_document.addShape(page, kind, x1, y1, x2, y2, pen.width, pen.color);
    shape.role = ItemRole::Border;
    shape.filled = false;
}

} // namespace folionix
