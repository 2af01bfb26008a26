#pragma once

#include "Document.h"

#include <QStringView>

namespace folionix {

// What the flow formats (RTF, HTML) see of a document: pages, the columns on them, the lines of each
// column and the listing's items on each line, in reading order. Header, footer, border and the items
// page-event handlers draw (the watermark) are left out; the writers add their own furniture.
class FlowVisitor
{
public:
    virtual ~FlowVisitor() = default;
    virtual void beginPage(int /*pageIndex*/, const Page&) {}
    virtual void endPage(int /*pageIndex*/, const Page&) {}
    // Only columns that hold an item are visited, left to right; numbers from 1.
    virtual void beginColumn(int /*column*/) {}
    virtual void endColumn(int /*column*/) {}
    // Between two lines of a column (never before the first line or after the last). A picture or an
    // RTF piece ends the line before it: the break comes before them, and the next text starts a line.
    virtual void lineBreak() {}
    // A text run of the line. leadingSpaces: the blanks that stand for the gap between the previous
    // run's end (or the column's left edge) and this run on a character grid of the run's font.
    virtual void text(const TextRun& /*run*/, QStringView /*text*/, int /*leadingSpaces*/) {}
    virtual void picture(const PlacedPicture& /*placed*/, const QImage& /*image*/) {}
    virtual void rtfInsert(QStringView /*rtf*/) {}
};

void walkFlow(const Document& document, FlowVisitor& visitor);

} // namespace folionix
