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

        m_visitor.beginColumn(column);
        bool firstLine = true;
        bool lineHasRun = false;
        qsizetype lineLength = 0; // characters on the line so far, blanks included
        double endX = 0;
        for (size_t i = start; i < end; ++i) {
            const FlowItem& item = m_items[i];
            if (item.kind == FlowItem::Picture) {
                m_visitor.picture(page.pictures[item.index],
                                  m_document.pictures()[page.pictures[item.index].picture]);
                continue;
            }
            if (item.kind == FlowItem::Insert) {
                m_visitor.rtfInsert(m_document.textOf(page.rtfInserts[item.index]));
                continue;
            }
            const TextRun& run = page.runs[item.index];
            if (run.lineStart) {
                if (!firstLine)
                    m_visitor.lineBreak();
                lineHasRun = false;
                lineLength = 0;
            }
            firstLine = false;
            const QStringView text = m_document.textOf(run);
            if (text.isEmpty())
                continue; // a line ended without text: a blank line
            int spaces = 0;
            // A run that continues the previous one follows it directly, so proportional fonts do not
            // drift off the grid; anything else goes to its grid column.
            if (!(lineHasRun && std::abs(endX - run.x) <= 0.5)) {
                const qsizetype gridColumn = std::lround((run.x - origin) / spaceWidth(run.font));
                if (gridColumn > lineLength)
                    spaces = int(std::min<qsizetype>(gridColumn - lineLength, 100000));
            }
            m_visitor.text(run, text, spaces);
            lineLength += spaces + text.size();
            endX = run.x + run.width;
            lineHasRun = true;
        }
        m_visitor.endColumn(column);
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
};

} // namespace

void walkFlow(const Document& document, FlowVisitor& visitor)
{
    FlowWalk(document, visitor).run();
}

} // namespace folionix
