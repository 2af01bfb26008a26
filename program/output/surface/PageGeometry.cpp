#include "PageGeometry.h"

#include "PaperSizes.h"

#include <cmath>

namespace folionix {

double TextArea::columnWidth() const
{
    return (right - left - (columns - 1) * spacing) / columns;
}

double TextArea::columnLeft(int column) const
{
    return left + (column - 1) * (columnWidth() + spacing);
}

double TextArea::columnRight(int column) const
{
    return columnLeft(column) + columnWidth();
}

PageGeometry::PageGeometry()
{
    const PaperSizeInfo* letter = paperSizeInfo(1);
    setPaper(1, letter->widthTwips, letter->heightTwips);
}

void PageGeometry::setPaper(int code, double widthTwips, double heightTwips)
{
    m_paperCode = code;
    m_paperWidth = widthTwips;
    m_paperHeight = heightTwips;
    ++m_version;
}

bool PageGeometry::setOrientation(int orientation)
{
    if (orientation != 0 && orientation != 1)
        return false;
    m_orientation = orientation;
    ++m_version;
    return true;
}

bool PageGeometry::setColumns(int columns)
{
    if (columns < 1 || columns > 255) // the page records keep the column in a byte
        return false;
    m_columns = columns;
    ++m_version;
    return true;
}

bool PageGeometry::setColumnSpacing(int twips)
{
    if (twips < 0)
        return false;
    m_columnSpacing = twips;
    ++m_version;
    return true;
}

void PageGeometry::setScalePercent(int percent)
{
    m_scale = percent > 0 ? percent : 100;
    ++m_version;
}

bool PageGeometry::setPageBorder(int style)
{
    if (style < 0 || style > 7)
        return false;
    m_pageBorder = style;
    return true;
}

int PageGeometry::pageWidth() const
{
    return logical(m_orientation == 1 ? m_paperHeight : m_paperWidth);
}

int PageGeometry::pageHeight() const
{
    return logical(m_orientation == 1 ? m_paperWidth : m_paperHeight);
}

TextArea PageGeometry::textAreaFor(double pageWidth, double pageHeight) const
{
    TextArea area;
    area.left = m_marginLeft;
    area.right = pageWidth - m_marginRight;
    area.top = m_marginTop;
    area.bottom = pageHeight - m_marginBottom;
    area.columns = m_columns;
    area.spacing = m_columnSpacing;
    return area;
}

bool PageGeometry::setMargin(int& margin, int twips)
{
    if (twips < 0)
        return false;
    margin = twips;
    ++m_version;
    return true;
}

int PageGeometry::logical(double physical) const
{
    return int(std::lround(physical * 100.0 / m_scale));
}

} // namespace folionix
