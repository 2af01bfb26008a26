#pragma once

#include <PrintSurface.h>

#include <QImage>
#include <QString>

namespace folionix {

// Everything on a page that is not the listing: header, footer and border, and the return of the
// output position to the top left at each new page or column. Wired to the events of the surface a
// run draws on, so that every front end makes the same pages.
class PageFurniture : public SurfaceEvents
{
public:
    // Starts a fresh page or column with header and footer set.
    void PrepareNewPage();
    void PrintHeaderAndFooter();
    void PrintPageHeaderFooter();
    // The watermark picture, centred on the page at its own size; a note in its place when the file
    // cannot be loaded; nothing on a cover sheet.
    void PrintWaterMark();

    void NewPage() override;
    void NewColumn() override;
    void EndPage() override;
    void BeforeHeader() override;
    void BeforeFooter() override;

private:
    void BreakToNextColumnOrPage(bool pageOnly);
    bool m_preparing = false;
    // The watermark holder: the picture last loaded (kept while the file name stays the same) and its
    // size in twips, 1755 × 945 before any picture.
    QString m_watermarkFile;
    QImage m_watermark;
    bool m_watermarkLoaded = false;
    double m_holderWidth = 1755;
    double m_holderHeight = 945;
};

} // namespace folionix
