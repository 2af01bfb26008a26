#include "PageFurniture.h"
#include "EngineState.h"
#include "HeaderCodes.h"

#include <DrawConnections.h>

#include <ErrorTrace.h>
#include <Options.h>

#include <QSizeF>
#include <cmath>

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

void PageFurniture::PrintWaterMark()
{
    mendwick::ErrorTrace trace("frmPreview", "PrintWaterMark");
    mendwick::Guard(trace, [&] {
        PrintSurface& s = Surface();
        if (s.CurrentPage() == 1 && coverSheetSet())
            return;
        const QString file = Options().WatermarkBitmapFile;
        if (file.isEmpty())
            return; // an empty picture shows nothing
        // Each page would load the same file again: keep it while the name stays the same.
        if (file != m_watermarkFile) {
            m_watermarkFile = file;
            m_watermark = QImage(file);
            m_watermarkLoaded = !m_watermark.isNull();
            if (m_watermarkLoaded) {
                const QSizeF size = PictureTwips(m_watermark);
                m_holderWidth = size.width();
                m_holderHeight = size.height();
            }
        }
        if (!m_watermarkLoaded) {
            const QString note = QStringLiteral("Watermark file not found. File name ='") + file + u'\'';
            const double w = std::round(s.TextWidth(note));
            s.DrawTextBox(note, (s.PageWidth() - w) / 2, (s.PageHeight() - m_holderHeight) / 2, w,
                          s.TextHeight(QStringLiteral("A")), true);
            return;
        }
        mendwick::Quietly([&] {
            s.DrawPicture(m_watermark, (s.PageWidth() - m_holderWidth) / 2,
                          (s.PageHeight() - m_holderHeight) / 2);
        });
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
        PrintWaterMark();
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

void PageFurniture::BeforeFooter()
{
    // Nothing to do beyond the trace: the footer text was set with the header.
    mendwick::ErrorTrace trace("frmPreview", "vsPrinter_BeforeFooter");
}

} // namespace folionix
