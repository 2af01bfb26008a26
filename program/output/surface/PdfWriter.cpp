#include "Writers.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <zlib.h>

namespace folionix {

namespace {

// The physical paper of a page: its logical size shrunk back by the output scale, in points.
QPageLayout layoutOf(const Page* page)
{
    double width = 12240; // Letter, for a document without pages
    double height = 15840;
    if (page) {
        const double scale = page->scalePercent > 0 ? page->scalePercent / 100.0 : 1.0;
        width = page->width * scale;
        height = page->height * scale;
    }
    const bool landscape = width > height;
    const QSizeF portrait = landscape ? QSizeF(height / 20, width / 20) : QSizeF(width / 20, height / 20);
    return QPageLayout(QPageSize(portrait, QPageSize::Point),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

} // namespace

bool writePdf(const Document& document, QIODevice& device, QString* error)
{
    if (!device.isOpen() && !device.open(QIODevice::WriteOnly)) {
        if (error)
            *error = device.errorString();
        return false;
    }
    const std::vector<Page>& pages = document.pages();
    QPdfWriter writer(&device);
    // At 1440 dpi painter units are twips, the unit of the whole document.
    writer.setResolution(1440);
    writer.setTitle(QStringLiteral("Folionix"));
    writer.setCreator(QStringLiteral("Folionix"));
    writer.setPageLayout(layoutOf(pages.empty() ? nullptr : &pages.front()));

    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("Cannot start the PDF document");
        return false;
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(layoutOf(&pages[i]));
            if (!writer.newPage()) {
                if (error)
                    *error = QStringLiteral("Cannot add a page to the PDF document");
                painter.end();
                return false;
            }
        }
        paintPage(painter, document, int(i));
    }
    painter.end();
    return true;
}

bool writePdf(const Document& document, const QString& path, QString* error)
{
    return writeFileAtomically(
        path, [&](QIODevice& device) { return writePdf(document, device, error); }, error);
}

} // namespace folionix

// Qt's PDF engine compresses every page stream at zlib's default level, and on listings that costs
// about a third of the whole export. The engine starts its streams through deflateInit_, which this
// program provides itself: streams asked for at the default level are made at the fastest level
// instead (the files stay valid, a little larger, and are written much faster). Explicit levels are
// passed on unchanged.
extern "C" int deflateInit_(z_streamp stream, int level, const char* version, int streamSize)
{
    if (level == Z_DEFAULT_COMPRESSION)
        level = Z_BEST_SPEED;
    return deflateInit2_(stream, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY, version, streamSize);
}
