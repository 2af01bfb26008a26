#include "PageFurniture.h"
#include "EngineState.h"
#include "HeaderCodes.h"

#include <DrawConnections.h>

#include <ErrorTrace.h>
#include <Options.h>

namespace folionix {

namespace {

bool isContentsOrCover()
{
    return g_iDocumentSection == SectionContents || g_iDocumentSection == SectionCoverSheet;
}

bool coverSheetSet()
{
    return !Options().CoverSheetFileName.trimmed().isEmpty();
}

} // namespace

void PageFurniture::PrepareNewPage()
{
    mendwick::ErrorTrace trace("frmPreview", "PrepareNewPage");
    if (m_preparing)
        return;
    m_preparing = true;
    // After a failure the guard stays set, so a broken surface is not driven again.
    mendwick::Guard(trace, [&] {
        PrintSurface& s = Surface();
        const int indent = s.IndentLeft();
        BreakToNextColumnOrPage(false);
        PrintHeaderAndFooter();
        s.setCurrentY(s.MarginTop());
        s.setIndentLeft(indent);
        m_preparing = false;
        s.setHeaderFlag(false);
    });
}

void PageFurniture::BreakToNextColumnOrPage(bool pageOnly)
{
    mendwick::Quietly([&] {
        PrintSurface& s = Surface();
        // Line counts alone miss a page whose only line is still open.
        if (s.LineOnPage() < 2 && s.CurrentColumn() < 2 && s.AtColumnTop())
            return;
        s.setLineOnPage(1);
        if (!pageOnly && s.CurrentColumn() < s.Columns() && s.Columns() > 1)
            s.NewColumn();
        else
            s.NewPage();
    });
}

void PageFurniture::PrintHeaderAndFooter()
{
    mendwick::ErrorTrace trace("frmPreview", "PrintHeaderAndFooter");
    mendwick::Guard(trace, [&] {
        if (isContentsOrCover()) {
            Surface().setHeaderText(QString());
            Surface().setFooterText(QString());
            return;
        }
        PrintPageHeader();
        PrintPageFooter();
    });
}

void PageFurniture::PrintPageHeaderFooter()
{
    mendwick::ErrorTrace trace("frmPreview", "PrintPageHeaderFooter");
    mendwick::Guard(trace, [&] {
        PrintSurface& s = Surface();
        if (isContentsOrCover()) {
            s.setHeaderText(QString());
            s.setFooterText(QString());
            return;
        }
        ApplyHeaderFont();
        s.setHeaderText(GetHeaderText());
        s.setFooterText(GetFooterText());
    });
}

void PageFurniture::NewPage()
{
    mendwick::ErrorTrace trace("frmPreview", "vsPrinter_NewPage");
    mendwick::Guard(trace, [&] {
        PrintSurface& s = Surface();
        if (s.PageCount() > 0) {
            DrawConnectionsInstance().AdjustCoordinates(2);
            DrawConnectionsInstance().DrawConnections();
        }
        PrintPageHeaderFooter();
        s.setPageBorder((coverSheetSet() && s.PageCount() == 1) ? 0 : Options().PageBorder);
        s.RefreshTextArea();
        s.setCurrentX(s.TextAreaLeft());
        s.setCurrentY(s.MarginTop());
        s.setLineOnPage(1);
    });
}

void PageFurniture::NewColumn()
{
    mendwick::ErrorTrace trace("frmPreview", "VSPrinter_NewColumn");
    mendwick::Guard(trace, [&] {
        PrintSurface& s = Surface();
        s.RefreshTextArea();
        s.setCurrentX(s.TextAreaLeft());
        if (s.CurrentColumn() >= 2)
            DrawConnectionsInstance().AdjustCoordinates(1);
    });
}

void PageFurniture::EndPage()
{
    mendwick::ErrorTrace trace("frmPreview", "vsPrinter_EndPage");
    mendwick::Guard(trace, [&] {
        if (Surface().PageCount() > 0)
            DrawConnectionsInstance().DrawConnections();
    });
}

void PageFurniture::BeforeHeader()
{
    mendwick::ErrorTrace trace("frmPreview", "vsPrinter_BeforeHeader");
    PrintHeaderAndFooter();
}

} // namespace folionix
