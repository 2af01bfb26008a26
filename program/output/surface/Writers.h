#pragma once

#include "Document.h"

#include <QString>
#include <functional>

class QIODevice;
class QPainter;

namespace folionix {

// Paints one page of the document (logical twips scaled to the painter's device). Serves the PDF
// writer, the printer and the preview alike.
void paintPage(QPainter& painter, const Document& document, int pageIndex);

// Writes through a temporary file that replaces path only when write succeeded: a failed or
// interrupted write never leaves a half file under the user's name.
bool writeFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write, QString* error);

// PDF with embedded fonts and selectable text, one PDF page per document page.
bool writePdf(const Document& document, QIODevice& device, QString* error);
bool writePdf(const Document& document, const QString& path, QString* error);

// The inspection dump: pages with their size and every recorded item (see ARCHITECTURE.md).
bool writeJson(const Document& document, QIODevice& device);

// Plain text: each output line as laid out, a form feed between pages.
bool writeText(const Document& document, QIODevice& device);

// RTF of the listing's flow: font and colour tables, character formatting per run, lines kept with
// their blanks, a page break per page, column breaks, pictures embedded as PNG and the RTF pieces
// handed over through RtfHeader at their place. Every character escaped (\ { } and non-ASCII as \u).
bool writeRtf(const Document& document, QIODevice& device, QString* error);

struct HtmlExportOptions
{
    QString title;
    // Paged HTML: the bar at the top and the one at the bottom of each page; each "%s" is filled with
    // a link's attributes (first, previous, next, last page), the two "%d" with the page number and
    // the page count.
    QString navigationBar[2];
};

// One self-contained HTML page: a CSS class per token style, blanks kept, every character escaped so
// that the listed source never runs in a browser, pages shown as separators.
bool writeHtml(const Document& document, QIODevice& device, const HtmlExportOptions& options, QString* error);

// Paged HTML: one file per page, named pagedHtmlFileName(fileName, n), each written atomically, with
// the navigation bars. Page files of an earlier export beyond the new page count are removed.
bool writePagedHtml(const Document& document, const QString& fileName, const HtmlExportOptions& options,
                    QString* error);
// "site.html", 3 -> "site3.html" (in the same folder).
QString pagedHtmlFileName(const QString& fileName, int page);
// Removes the page files an export to fileName wrote (the base name, digits only, the extension) from
// page number fromPage on; other files that merely start with the base name stay.
void removePagedHtmlFiles(const QString& fileName, int fromPage);

// The export EndDoc makes: format 4 RTF, 0 and 1 plain HTML (paged when paging is set), 2 and 3 paged
// HTML, 99 nothing, any other plain text. Written atomically; false with a reason on failure.
struct ExportRequest
{
    QString fileName;
    int format = 0;
    bool paging = false;
    HtmlExportOptions html;
};
bool writeExport(const Document& document, const ExportRequest& request, QString* error);

} // namespace folionix
