#include "FlowLayout.h"
#include "Writers.h"

namespace folionix {

// Placeholder until the writer lands.
bool writeHtml(const Document&, QIODevice&, const HtmlExportOptions&, QString* error)
{
    if (error)
        *error = QStringLiteral("HTML export is not available");
    return false;
}

bool writePagedHtml(const Document&, const QString&, const HtmlExportOptions&, QString* error)
{
    if (error)
        *error = QStringLiteral("HTML export is not available");
    return false;
}

QString pagedHtmlFileName(const QString& fileName, int)
{
    return fileName;
}

void removePagedHtmlFiles(const QString&, int) {}

} // namespace folionix
