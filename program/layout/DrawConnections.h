#pragma once

#include "Connection.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

namespace folionix {

class PrintSurface;
struct clsFont;

// Statement block connections of printed VBScript: a thin vertical line left of each open block
// (If, For, Do, Select, With, …) with a short tick into its opening, middle and closing keywords.
// Keeps a stack of the keywords met, each with the print position it was printed at, and draws onto
// g_vsPrinter. Every operation traces its entry as "clsDrawConnections"; a failure is reported through
// the tracer and the operation returns, keeping what the stack held at that point.
class clsDrawConnections
{
public:
    clsDrawConnections();

    // Index of the top record; -1 when the stack is empty.
    int32_t Tos() const { return int32_t(m_store.size()) - 1; }
    // The records, bottom first, as the page now sees them (continued ones at the top of the text
    // area). A copy: reading it costs one pass over the stack.
    std::vector<clsConnection> ConnectionStack() const;
    // Slots of the stack's storage: one when empty, 100 more whenever a push finds it full.
    int32_t Slots() const { return m_store.capacity(); }

    // Looks at one statement, part by part between colons, and pushes the block keywords it begins
    // with. Keyword is the statement's first keyword token, or "#"; a statement whose first word is not
    // that keyword pushes nothing. Colons inside string literals and everything from a comment on are
    // not looked at.
    void FilterConnectionKeyword(const QString& SourceLine, const QString& Keyword);
    // Records Keyword at the current print position; exactly one of the kind flags should be set.
    void PushKeyword(const QString& Keyword, bool StartKeyword, bool MiddleKeyword, bool EndKeyword);
    // Drops the top record; nothing when empty.
    void PopKeyword();
    // Closes the innermost block when the top record ends it (an end record, or a "Case"): pops down to
    // and including the nearest start record. Nothing otherwise.
    void Unstack();
    // Empties the stack (procedure boundaries, a new file). Lines already drawn stay on the page.
    void UnstackAll();
    // Draws the open connections down to the current line and closes every block whose end keyword it
    // meets. Each tick is drawn once; a vertical line is extended by the part not drawn yet, so the cost
    // of a line end is the number of open blocks plus the records pushed since the last call. Leaves the
    // surface's font and pen as it found them.
    void DrawConnections();
    // Moves every open record to the top of the text area and marks it continued: 1 for a new column,
    // 2 for a new page (the value changes nothing else).
    void AdjustCoordinates(int32_t AdjustmentReason);

private:
    // How far a start record's vertical line has been drawn in the current column.
    struct Progress
    {
        double drawnTo = 0;
        uint32_t segment = 0; // drawnTo counts only while this is the current column segment
    };
    struct Entry
    {
        clsConnection record;
        Progress progress;
    };
    // The stack's storage: a first block of one slot, then blocks of 100 added as pushes fill them, so
    // that growing never moves the records already stored.
    class Store
    {
    public:
        size_t size() const { return m_size; }
        int32_t capacity() const;
        Entry& operator[](size_t index);
        const Entry& operator[](size_t index) const;
        void push(Entry entry);
        void pop();
        // Removes [first, last]; the entries above move down.
        void erase(size_t first, size_t last);
        // Empty, with one slot.
        void reset();

    private:
        std::vector<std::unique_ptr<Entry[]>> m_blocks;
        size_t m_size = 0;
    };
    struct Geometry
    {
        double H = 0; // line height of the Keywords font
        double G = 0; // tick length: half the width of "W"
    };

    // One colon-separated part; false when the rest of the statement is not to be looked at.
    bool filterSegment(QStringView segment, const QString& keyword, bool first);
    Geometry keywordGeometry(PrintSurface& surface, const clsFont& keywords);
    bool isContinued(size_t index) const { return index < m_continued; }
    int32_t yPosOf(size_t index) const;
    void drawVertical(PrintSurface& surface, size_t index, double x, double y1, double y2);
    // Removes the block that the end record at index closes: that record and everything below it down
    // to and including the nearest start record. Returns where the removed range began.
    size_t closeBlockAt(size_t index);
    void popTop();

    Store m_store;
    // Start records DrawConnections has met and not closed, ascending: the lines it extends.
    std::vector<size_t> m_openStarts;
    size_t m_visited = 0;   // records below this index have been met by DrawConnections
    size_t m_continued = 0; // records below this index are continued (pushes only come after them)
    int32_t m_continuedTop = 0;
    uint32_t m_segment = 1; // advances at every column and page change

    // Measurements of the Keywords font, kept while the surface and the font stay the same.
    const PrintSurface* m_measuredOn = nullptr;
    QString m_measuredName;
    double m_measuredSize = 0;
    bool m_measuredBold = false;
    bool m_measuredItalic = false;
    Geometry m_measured;
};

// The process-wide drawer used by the statement output and the page events; created on first use and
// kept until exit.
clsDrawConnections& DrawConnectionsInstance();

} // namespace folionix
