#pragma once

#include <PrintSurface.h>

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

    void NewPage() override;
    void NewColumn() override;
    void EndPage() override;
    void BeforeHeader() override;

private:
    void BreakToNextColumnOrPage(bool pageOnly);
    bool m_preparing = false;
};

} // namespace folionix
