#pragma once

namespace folionix {

// Where the next run goes and how lines end: current position, column, line counter, the tallest run
// on the current line, and whether anything was added since the page or column began.
class TextFlow
{
public:
    double x() const { return m_x; }
    double y() const { return m_y; }
    void setX(double x) { m_x = x; }
    void setY(double y) { m_y = y; }
    int column() const { return m_column; }
    int lineOnPage() const { return m_lineOnPage; }
    void setLineOnPage(int line) { m_lineOnPage = line; }

    int lineSpacing() const { return m_lineSpacing; }
    bool setLineSpacing(int percent);
    int spaceAfter() const { return m_spaceAfter; }
    void setSpaceAfter(int twips) { m_spaceAfter = twips; }
    int indentLeft() const { return m_indentLeft; }
    void setIndentLeft(int twips) { m_indentLeft = twips; }

    // Moves to the top of a column of a (possibly new) page.
    void startColumn(int column, double left, double top);
    bool atColumnTop() const { return m_atColumnTop; }
    bool lineHasRun() const { return m_lineHasRun; }

    // A line of lineHeight no longer fits above bottom; never true at the top of a column, so a line
    // taller than the whole column is placed rather than breaking forever.
    bool needsBreak(double lineHeight, double bottom) const;

    // Accounts for a run placed at the current position; returns whether it starts a line.
    bool placeRun(double width, double height);

    // Ends the current line: down by the tallest run (or fontHeight on an empty line) times the line
    // spacing plus the space after, back to lineLeft. Returns false, doing nothing, for an empty line
    // at the top of a column, so that no page or column starts with a blank line.
    bool endLine(double fontHeight, double lineLeft);

private:
    double m_x = 0;
    double m_y = 0;
    int m_column = 1;
    int m_lineOnPage = 1;
    int m_lineSpacing = 100;
    int m_spaceAfter = 0;
    int m_indentLeft = 0;
    double m_lineHeight = 0; // tallest run on the current line; 0 while the line is empty
    bool m_lineHasRun = false;
    bool m_atColumnTop = true;
};

} // namespace folionix
