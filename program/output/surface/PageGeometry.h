#pragma once

namespace folionix {

// The text area of one page split into equal columns, in logical twips.
struct TextArea
{
    double left = 0;
    double right = 0;
    double top = 0;
    double bottom = 0;
    int columns = 1;
    double spacing = 0;

    double columnWidth() const;
    double columnLeft(int column) const; // 1-based
    double columnRight(int column) const;
};

// Paper, orientation, margins, columns, border style and output scale. Setters return false and
// change nothing for values the surface must reject.
class PageGeometry
{
public:
    PageGeometry();

    int paperCode() const { return m_paperCode; }
    // Portrait dimensions of the paper, in physical twips.
    void setPaper(int code, double widthTwips, double heightTwips);
    // Keeps the current dimensions (custom paper has no size of its own here).
    void setPaperCode(int code)
    {
        m_paperCode = code;
        ++m_version;
    }

    int orientation() const { return m_orientation; }
    bool setOrientation(int orientation);

    int marginLeft() const { return m_marginLeft; }
    int marginTop() const { return m_marginTop; }
    int marginRight() const { return m_marginRight; }
    int marginBottom() const { return m_marginBottom; }
    bool setMarginLeft(int twips) { return setMargin(m_marginLeft, twips); }
    bool setMarginTop(int twips) { return setMargin(m_marginTop, twips); }
    bool setMarginRight(int twips) { return setMargin(m_marginRight, twips); }
    bool setMarginBottom(int twips) { return setMargin(m_marginBottom, twips); }

    int columns() const { return m_columns; }
    bool setColumns(int columns);
    int columnSpacing() const { return m_columnSpacing; }
    bool setColumnSpacing(int twips);

    // Changes with every setter, so that callers can cache what they derive from the geometry.
    unsigned version() const { return m_version; }

    int scalePercent() const { return m_scale; }
    void setScalePercent(int percent); // 0 or less: unscaled

    int pageBorder() const { return m_pageBorder; }
    bool setPageBorder(int style);

    // Logical page: the paper at the orientation, enlarged by 100 / scale.
    int pageWidth() const;
    int pageHeight() const;
    TextArea textArea() const { return textAreaFor(pageWidth(), pageHeight()); }
    // The text area of a page recorded at another size (its margins are the current ones).
    TextArea textAreaFor(double pageWidth, double pageHeight) const;

private:
    bool setMargin(int& margin, int twips);
    int logical(double physical) const;

    int m_paperCode = 1;
    double m_paperWidth = 0;
    double m_paperHeight = 0;
    int m_orientation = 0;
    int m_marginLeft = 1440;
    int m_marginTop = 1440;
    int m_marginRight = 1440;
    int m_marginBottom = 1440;
    int m_columns = 1;
    int m_columnSpacing = 360;
    int m_scale = 100;
    int m_pageBorder = 0;
    unsigned m_version = 0;
};

} // namespace folionix
