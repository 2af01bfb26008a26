#include "ValidationSurface.h"
#include "PrinterSetup.h"

#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>

#include <cstdlib>

namespace folionix {

PrintSurface& frmValidation::surface()
{
    static PrintSurface hidden(QStringLiteral("vsValidation"));
    return hidden;
}

frmValidation& ValidationWindow()
{
    static frmValidation window;
    return window;
}

void frmValidation::ValidatePrinterOptions()
{
    mendwick::ErrorTrace trace("frmValidation", "ValidatePrinterOptions");
    mendwick::Guard(trace, [&] {
        clsOptions& o = Options();
        PrintSurface& s = surface();
        if (!s.IsPaperSizeSupported(o.PaperSize)) {
            trace.Stage("Set Papersize = 1");
            o.PaperSize = 1;
        }
        if (o.PageBorder < 0 || o.PageBorder > 9) {
            trace.Stage("Set PaperBorder = 3");
            o.PageBorder = 3;
        }
        if (o.LineSpacing < 1 || o.LineSpacing > 4) {
            trace.Stage("Set Linespacing to 100 ");
            o.LineSpacing = 1;
        }
        if (o.PageOrientation != 0 && o.PageOrientation != 1) {
            trace.Stage("Set PageOrientation = 0");
            o.PageOrientation = 0;
        }
        const bool binOk = (o.PaperBin >= 1 && o.PaperBin <= 11) || o.PaperBin == 14 || o.PaperBin == 15 ||
                           o.PaperBin == 256;
        if (!binOk) {
            trace.Stage("Set PaperBin = 7");
            o.PaperBin = 7;
        }
        if (o.Duplex < 1 || o.Duplex > 3) {
            trace.Stage("Set Duplex = 1");
            o.Duplex = 1;
        }
        const int64_t quality = std::llabs(int64_t(o.PrintQuality));
        if (quality < 1 || quality > 4) {
            trace.Stage("Set PrintQuality = -4");
            o.PrintQuality = -4;
        }
        if (o.ScaleOutput < 0) {
            trace.Stage("Set ScaleOutput  = 100");
            o.ScaleOutput = 100;
        }
        if (o.Columns < 1 || o.Columns > 5) {
            trace.Stage("Set Columns = 1 ");
            o.Columns = 1;
        }
        if (!(o.ZoomMode == 0 || o.ZoomMode == 1 || o.ZoomMode == 2 || o.ZoomMode == 4 || o.ZoomMode == 5)) {
            trace.Stage("Set ZoomMode = zmPercentage ");
            o.ZoomMode = 0;
            o.Zoom = 100;
        }
        if (o.MeasuringSystem != u"cm" && o.MeasuringSystem != u"in") {
            trace.Stage("Set MeasuringSystem= 'In'");
            o.MeasuringSystem = QStringLiteral("in");
        }
        const struct
        {
            double& value;
            const char* stage;
        } margins[] = {{o.MarginBottom, "Set MarginBottom= 0.5"},
                       {o.MarginTop, "Set MarginTop= 0.5"},
                       {o.MarginLeft, "Set MarginLeft= 0.5"},
                       {o.MarginRight, "Set MarginRight= 0.5"}};
        for (const auto& m : margins) {
            if (!(m.value >= 0)) {
                trace.Stage(m.stage);
                m.value = 0.5;
            }
        }
        s.setMarginBottom(CalculateMarginInTwips(QString::number(o.MarginBottom), o.MeasuringSystem));
        s.setMarginLeft(CalculateMarginInTwips(QString::number(o.MarginLeft), o.MeasuringSystem));
        s.setMarginRight(CalculateMarginInTwips(QString::number(o.MarginRight), o.MeasuringSystem));
        s.setMarginTop(CalculateMarginInTwips(QString::number(o.MarginTop), o.MeasuringSystem));
        s.RefreshTextArea();
    });
}

} // namespace folionix
