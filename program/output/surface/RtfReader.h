#pragma once

#include "Document.h"

#include <QImage>
#include <QString>
#include <QStringView>
#include <vector>

namespace folionix {

class PrintSurface;

// The character formatting of a span of RTF text.
struct RtfCharFormat
{
    QString fontName;      // from the font table; "" when the document names none
    double pointSize = 12; // \fs is in half points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    WinColor color = 0; // from the colour table; \cf0 is the automatic colour (black)
    bool operator==(const RtfCharFormat&) const = default;
};

// Text of one format; a tab is kept as '\t'.
struct RtfSpan
{
    QString text;
    RtfCharFormat format;
};

struct RtfParagraph
{
    std::vector<RtfSpan> spans;
    int alignment = 0;  // 0 left, 1 right, 2 centre, 3 justified
    int leftIndent = 0; // twips
    bool pageBreakBefore = false;
    bool columnBreakBefore = false;
    std::vector<QImage> pictures; // pictures of the paragraph (PNG and JPEG blips), in order
};

struct RtfDocument
{
    std::vector<RtfParagraph> paragraphs;
    // The text of the document: paragraphs joined by '\n' (a \line inside a paragraph too).
    QString plainText() const;
};

// Reads the RTF subset Folionix writes and cover sheets use: font and colour tables, \plain \b \i \ul
// \ulnone \f \fs \cf, \par \line \tab \page \column \pard \ql \qc \qr \qj \li, escapes (\\ \{ \}
// \'hh in the document's code page, \uN with \ucN), \pict with \pngblip or \jpegblip; other control
// words and \* destinations are skipped. Never fails: whatever cannot be read is left out.
RtfDocument readRtf(QStringView rtf);

// Renders RTF text on the surface at the current position: a paragraph per paragraph with its fonts,
// sizes, bold, italic, underline, colours, tabs (to the next half-inch stop), left indent, page and
// column breaks and pictures (at their goal size, each on a line of its own). Alignment stays in the
// document only: the surface places text from the left. The surface's font and colour are put back
// afterwards.
void renderRtf(PrintSurface& surface, const RtfDocument& document);

} // namespace folionix
