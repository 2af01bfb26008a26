#include "FlowLayout.h"

#include "TextMetrics.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace folionix {

namespace {

// One listing item of a page: where it is in the flow and what it is.
struct FlowItem
{
    uint32_t seq;
    uint8_t column;
    enum Kind : uint8_t
    {
        Run,
        Picture,
        Insert
    } kind;
    uint32_t index;
};

class FlowWalk
{
public:
    FlowWalk(const Document& document, FlowVisitor& visitor)
        : m_document(document), m_visitor(visitor), m_spaceWidths(document.fonts().size())
    {}

    void run()
    {
        const std::vector<Page>& pages = m_document.pages();
        for (size_t i = 0; i < pages.size(); ++i)
            walkPage(int(i), pages[i]);
    }

private:
    void walkPage(int index, const Page& page)
    {
        m_items.clear();
        for (size_t i = 0; i < page.runs.size(); ++i) {
            const TextRun& run = page.runs[i];
            if (run.role == ItemRole::Body)
                m_items.push_back({run.seq, run.column, FlowItem::Run, uint32_t(i)});
        }
        for (size_t i = 0; i < page.pictures.size(); ++i) {
            const PlacedPicture& picture = page.pictures[i];
            if (picture.role == ItemRole::Body)
                m_items.push_back({picture.seq, picture.column, FlowItem::Picture, uint32_t(i)});
        }
        for (size_t i = 0; i < page.rtfInserts.size(); ++i)
            m_items.push_back(
                {page.rtfInserts[i].seq, page.rtfInserts[i].column, FlowItem::Insert, uint32_t(i)});
        // Column by column, each in drawing order.
        std::sort(m_items.begin(), m_items.end(), [](const FlowItem& a, const FlowItem& b) {
            return a.column != b.column ? a.column < b.column : a.seq < b.seq;
        });

        m_visitor.beginPage(index, page);
        for (size_t start = 0; start < m_items.size();) {
            size_t end = start;
            while (end < m_items.size() && m_items[end].column == m_items[start].column)
                ++end;
            walkColumn(page, start, end);
            start = end;
        }
        m_visitor.endPage(index, page);
    }

    void walkColumn(const Page& page, size_t start, size_t end)
    {
        const int column = m_items[start].column;
        // The character grid starts at the leftmost run of the column: its left edge in a listing.
        double origin = 0;
        bool haveOrigin = false;
        for (size_t i = start; i < end; ++i) {
            if (m_items[i].kind != FlowItem::Run)
                continue;
            const double x = page.runs[m_items[i].index].x;
            origin = haveOrigin ? std::min(origin, x) : x;
            haveOrigin = true;
        }

        m_origin = origin;
        m_visitor.beginColumn(column);
        bool lineOpen = false;    // a line of this column has begun and not been broken yet
        bool brokenEarly = false; // a picture or RTF piece already ended the line before it
        m_lineLength = 0;
        for (size_t i = start; i < end; ++i) {
            const FlowItem& item = m_items[i];
            if (item.kind != FlowItem::Run) {
                // Pictures and RTF pieces stand between lines: the line before them ends here.
                flushLine();
                if (lineOpen) {
                    m_visitor.lineBreak();
                    lineOpen = false;
                    brokenEarly = true;
                    m_lineLength = 0;
                }
                if (item.kind == FlowItem::Picture)
                    m_visitor.picture(page.pictures[item.index],
                                      m_document.pictures()[page.pictures[item.index].picture]);
                else
                    m_visitor.rtfInsert(m_document.textOf(page.rtfInserts[item.index]));
                continue;
            }
            const TextRun& run = page.runs[item.index];
            if (run.lineStart) {
                flushLine();
                if (lineOpen && !brokenEarly)
                    m_visitor.lineBreak();
                m_lineLength = 0;
            }
            lineOpen = true;
            brokenEarly = false;
            if (run.textLength > 0) // a line ended without text is a blank line
                m_line.push_back(&run);
        }
        flushLine();
        m_visitor.endColumn(column);
    }

    // Hands the runs gathered for the current line to the visitor, left to right, each at its column
    // of the character grid. A run drawn over earlier ones (the script indicator over the gutter's
    // first blank) takes the characters it covers from them, as it does on the page.
    void flushLine()
    {
        if (m_line.empty())
            return;
        m_segments.clear();
        qsizetype maxEnd = 0;
        qsizetype previousEnd = 0;
        double previousEndX = 0;
        bool havePrevious = false;
        for (const TextRun* run : m_line) {
            const qsizetype length = run->textLength;
            // A run that continues the previous one follows it directly, so proportional fonts do not
            // drift off the grid; anything else goes to its grid column.
            const qsizetype column =
                havePrevious && std::abs(previousEndX - run->x) <= 0.5
                    ? previousEnd
                    : std::max<qsizetype>(0, std::lround((run->x - m_origin) / spaceWidth(run->font)));
            if (column < maxEnd)
                coverSegments(column, column + length);
            m_segments.push_back({run, column, 0, length});
            previousEnd = column + length;
            previousEndX = run->x + run->width;
            havePrevious = true;
            maxEnd = std::max(maxEnd, previousEnd);
        }
        std::stable_sort(m_segments.begin(), m_segments.end(),
                         [](const Segment& a, const Segment& b) { return a.column < b.column; });
        for (const Segment& segment : m_segments) {
            if (segment.length <= 0)
                continue;
            const int spaces =
                int(std::min<qsizetype>(std::max<qsizetype>(0, segment.column - m_lineLength), 100000));
            m_visitor.text(*segment.run, m_document.textOf(*segment.run).mid(segment.from, segment.length),
                           spaces);
            m_lineLength += spaces + segment.length;
        }
        m_line.clear();
    }

    // Takes the columns [begin, end) away from the segments already on the line.
    void coverSegments(qsizetype begin, qsizetype end)
    {
        const size_t count = m_segments.size();
        for (size_t k = 0; k < count; ++k) {
            Segment& segment = m_segments[k];
            const qsizetype start = segment.column;
            const qsizetype stop = segment.column + segment.length;
            if (segment.length <= 0 || end <= start || begin >= stop)
                continue;
            if (begin <= start && end >= stop) {
                segment.length = 0;
            } else if (begin > start && end < stop) {
                // Covered in the middle: the segment is split around the new run.
                Segment right{segment.run, end, segment.from + (end - start), stop - end};
                segment.length = begin - start;
                m_segments.push_back(right);
            } else if (begin > start) {
                segment.length = begin - start;
            } else {
                const qsizetype cut = end - start;
                segment.column += cut;
                segment.from += cut;
                segment.length -= cut;
            }
        }
    }

    double spaceWidth(uint16_t font)
    {
        std::optional<double>& width = m_spaceWidths[font];
        if (!width) {
            const double measured = m_metrics.forFont(m_document.fonts()[font]).spaceWidth();
            width = measured > 0 ? measured : 1.0;
        }
        return *width;
    }

    const Document& m_document;
    FlowVisitor& m_visitor;
    TextMetrics m_metrics;
    std::vector<std::optional<double>> m_spaceWidths;
    std::vector<FlowItem> m_items;
    // The line being gathered and where the flow stands on it.
    struct Segment
    {
        const TextRun* run;
        qsizetype column; // grid column of the segment's first character
        qsizetype from;   // offset into the run's text
        qsizetype length;
    };
    std::vector<const TextRun*> m_line;
    std::vector<Segment> m_segments;
    double m_origin = 0;
    qsizetype m_lineLength = 0;
};

} // namespace

void walkFlow(const Document& document, FlowVisitor& visitor)
{
    FlowWalk(document, visitor).run();
}

} // namespace folionix
