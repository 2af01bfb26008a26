#include "Writers.h"

#include <QIODevice>

namespace folionix {

bool writeExport(const Document& document, const ExportRequest& request, QString* error)
{
    if (request.fileName.isEmpty() || request.format == 99)
        return true;
    const bool paged = request.format == 2 || request.format == 3 ||
                       ((request.format == 0 || request.format == 1) && request.paging);
    if (paged)
        return writePagedHtml(document, request.fileName, request.html, error);
    return writeFileAtomically(
        request.fileName,
        [&](QIODevice& device) {
            switch (request.format) {
            case 4:
                return writeRtf(document, device, error);
            case 0:
            case 1:
                return writeHtml(document, device, request.html, error);
            default:
                return writeText(document, device);
            }
        },
        error);
}

} // namespace folionix
