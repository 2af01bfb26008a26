#include "OutputBuffer.h"
#include "TextMetrics.h"
#include "Writers.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace folionix {

namespace {

// Space widths of the document's fonts: the character grid each run is placed on.
class SpaceWidths
{
public:
    explicit SpaceWidths(const Document& document) : m_document(document), m_widths(document.fonts().size())
    {}

    double of(uint16_t font)
    {
        std::optional<double>& width = m_widths[font];
        if (!width) {
            const double measured = m_metrics.forFont(m_document.fonts()[font]).spaceWidth();
            width = measured > 0 ? measured : 1.0;
        }
        return *width;
    }

private:
    const Document& m_document;
    TextMetrics m_metrics;
    std::vector<std::optional<double>> m_widths;
};

// One output line built from runs in drawing order.
class LineBuilder
{
public:
    explicit LineBuilder(double originX) : m_originX(originX) {}

    void place(const TextRun& run, QStringView text, double spaceWidth)
    {
        // A run that continues the previous one is appended as is, so proportional fonts do not drift
        // off the grid; anything else goes to its grid column, overwriting what is already there.
        if (m_hasRun && std::abs(m_endX - run.x) <= 0.5) {
            m_line += text;
        } else {
            const qsizetype column = std::max<qsizetype>(0, std::lround((run.x - m_originX) / spaceWidth));
            if (column >= m_line.size()) {
                m_line += QString(column - m_line.size(), u' ');
                m_line += text;
            } else {
                m_line.replace(column, std::min(text.size(), m_line.size() - column), text.toString());
            }
        }
        m_endX = run.x + run.width;
        m_hasRun = true;
    }

    QString take()
    {
        qsizetype end = m_line.size();
        while (end > 0 && m_line[end - 1] == u' ')
            --end;
        QString line = m_line.left(end);
        m_line.clear();
        m_hasRun = false;
        return line;
    }

private:
    double m_originX;
    QString m_line;
    double m_endX = 0;
    bool m_hasRun = false;
};

class DocumentText
{
public:
    DocumentText(const Document& document, QIODevice& device)
        : m_document(document), m_out(device), m_spaces(document)
    {}

    bool write()
    {
        const std::vector<Page>& pages = m_document.pages();
        for (size_t i = 0; i < pages.size(); ++i) {
            if (i > 0)
                m_out.append('\f');
            writePage(pages[i]);
        }
        return m_out.finish();
    }

private:
    void writePage(const Page& page)
    {
        std::vector<const TextRun*> header;
        std::vector<const TextRun*> footer;
        std::vector<const TextRun*> body;
        body.reserve(page.runs.size());
        for (const TextRun& run : page.runs) {
            if (run.role == ItemRole::Header)
                header.push_back(&run);
            else if (run.role == ItemRole::Footer)
                footer.push_back(&run);
            else
                body.push_back(&run);
        }
        // Column by column; within a column the runs stay in the order they were added.
        std::stable_sort(body.begin(), body.end(),
                         [](const TextRun* a, const TextRun* b) { return a->column < b->column; });

        writeSingleLine(header);
        for (size_t start = 0; start < body.size();) {
            size_t end = start;
            while (end < body.size() && body[end]->column == body[start]->column)
                ++end;
            writeColumn(body, start, end);
            start = end;
        }
        writeSingleLine(footer);
    }

    void writeColumn(const std::vector<const TextRun*>& runs, size_t start, size_t end)
    {
        LineBuilder line(originOf(runs, start, end));
        for (size_t i = start; i < end; ++i) {
            const TextRun& run = *runs[i];
            if (run.lineStart && i > start)
                writeLine(line.take());
            line.place(run, m_document.textOf(run), m_spaces.of(run.font));
        }
        writeLine(line.take());
    }

    void writeSingleLine(const std::vector<const TextRun*>& runs)
    {
        if (runs.empty())
            return;
        LineBuilder line(originOf(runs, 0, runs.size()));
        for (const TextRun* run : runs)
            line.place(*run, m_document.textOf(*run), m_spaces.of(run->font));
        const QString text = line.take();
        if (!text.isEmpty())
            writeLine(text);
    }

    // The grid starts at the leftmost run, which is the column's left edge in any real listing.
    static double originOf(const std::vector<const TextRun*>& runs, size_t start, size_t end)
    {
        double origin = runs[start]->x;
        for (size_t i = start + 1; i < end; ++i)
            origin = std::min(origin, double(runs[i]->x));
        return origin;
    }

    void writeLine(const QString& line)
    {
        m_out.appendUtf8(line);
        m_out.append('\n');
    }

    const Document& m_document;
    OutputBuffer m_out;
    SpaceWidths m_spaces;
};

} // namespace

bool writeText(const Document& document, QIODevice& device)
{
    return DocumentText(document, device).write();
}

} // namespace folionix
