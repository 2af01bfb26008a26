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

} // namespace folionix
