#include "TextFlow.h"

#include <algorithm>

namespace folionix {

bool TextFlow::setLineSpacing(int percent)
{
    if (percent <= 0)
        return false;
    m_lineSpacing = percent;
    return true;
}

void TextFlow::startColumn(int column, double left, double top)
{
    m_column = column;
    m_x = left;
    m_y = top;
    m_lineOnPage = 1;
    m_lineHeight = 0;
    m_lineHasRun = false;
    m_atColumnTop = true;
}

bool TextFlow::needsBreak(double lineHeight, double bottom) const
{
    return !m_atColumnTop && m_y + lineHeight > bottom;
}

bool TextFlow::placeRun(double width, double height)
{
    const bool lineStart = !m_lineHasRun;
    m_x += width;
    m_lineHeight = std::max(m_lineHeight, height);
    m_lineHasRun = true;
    m_atColumnTop = false;
    return lineStart;
}

bool TextFlow::endLine(double fontHeight, double lineLeft)
{
    if (m_atColumnTop && !m_lineHasRun)
        return false;
    const double height = m_lineHasRun ? m_lineHeight : fontHeight;
    m_y += height * m_lineSpacing / 100.0 + m_spaceAfter;
    m_x = lineLeft;
    ++m_lineOnPage;
    m_lineHeight = 0;
    m_lineHasRun = false;
    return true;
}

} // namespace folionix
