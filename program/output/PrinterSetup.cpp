#include "PrinterSetup.h"
#include "CurrentSurface.h"

#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>

#include <QLocale>
#include <cmath>

namespace folionix {

namespace {

constexpr WinColor kSystemWindow = 0x80000005u;
constexpr WinColor kSystemAppWorkspace = 0x8000000Cu;

int32_t roundHalfEven(double value)
{
    return int32_t(std::nearbyint(value)); // the default rounding mode rounds halves to even
}

double parseNumber(const QString& text)
{
    bool ok = false;
    double value = text.trimmed().toDouble(&ok);
    if (!ok)
        value = QLocale::system().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw mendwick::AppError(13, QStringLiteral("Type mismatch"), QStringLiteral("basCommonRoutines"));
    return value;
}

PrintSurface& current()
{
    if (!g_vsPrinter)
        throw mendwick::AppError(91, QStringLiteral("Object variable or With block variable not set"),
                                 QStringLiteral("basCommonRoutines"));
    return *g_vsPrinter;
}

} // namespace

int32_t LineSpacingPercent(int32_t choice)
{
    switch (choice) {
    case 2:
        return 150;
    case 3:
        return 200;
    case 4:
        return 50;
    default:
        return 100;
    }
}

int32_t InchesToTwips(double inches)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "InchesToTwips");
    return mendwick::Guard(
        trace, [&] { return roundHalfEven(inches * 1440.0); }, 0);
}

int32_t CmToTwips(double cm)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "CmToTwips");
    return mendwick::Guard(
        trace, [&] { return roundHalfEven(cm * 567.0); }, 0);
}

int32_t CalculateMarginInTwips(const QString& value, const QString& measuringSystem)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "CalculateMarginInTwips");
    return mendwick::Guard(
        trace,
        [&]() -> int32_t {
            const QString system = measuringSystem.toUpper();
            if (system == u"CM") {
                trace.Stage("Convert Cm to twips. Cm= ", value);
                return CmToTwips(parseNumber(value));
            }
            if (system == u"IN") {
                trace.Stage("Convert Inches to twips. inches= ", value);
                return InchesToTwips(parseNumber(value));
            }
            return 360;
        },
        0);
}

void InitialisePrinter(PrintSurface& surface)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "InitialisePrinter");
    mendwick::Guard(trace, [&] {
        const clsOptions& o = Options();
        g_vsPrinter = &surface;

        const QString device = o.Device.trimmed();
        trace.Stage("Set Device = ", device);
        if (!mendwick::Quietly([&] { surface.setDevice(device); }))
            mendwick::Quietly([&] { surface.setDevice(QString()); });

        trace.Stage("Set Papersize = ", qint64(o.PaperSize));
        surface.setPaperSize(o.PaperSize);
        trace.Stage("Set Columns = ", qint64(o.Columns));
        surface.setColumns(o.Columns);

        const auto margin = [&](const char* stage, double value) {
            const QString text = QString::number(value);
            trace.Stage(stage, text);
            return CalculateMarginInTwips(text, o.MeasuringSystem);
        };
        surface.setMarginBottom(margin("Set MarginBottom = ", o.MarginBottom));
        surface.setMarginLeft(margin("Set MarginLeft = ", o.MarginLeft));
        surface.setMarginRight(margin("Set MarginRight = ", o.MarginRight));
        surface.setMarginTop(margin("Set MarginTop = ", o.MarginTop));

        trace.Stage("Set CurrentY = ", qint64(surface.MarginTop()));
        surface.setCurrentY(surface.MarginTop());

        trace.Stage("Set PageOrientation = ", qint64(o.PageOrientation));
        surface.setPageOrientation(o.PageOrientation);
        trace.Stage("Set LineSpacing = ", qint64(LineSpacingPercent(o.LineSpacing)));
        surface.setLineSpacing(LineSpacingPercent(o.LineSpacing));
        trace.Stage("Set Duplex = ", qint64(o.Duplex));
        surface.setDuplex(o.Duplex);
        trace.Stage("Set PrintQuality = ", qint64(o.PrintQuality));
        surface.setPrintQuality(o.PrintQuality);

        trace.Stage("Set ZoomMax = 100");
        surface.setZoomMax(100);
        trace.Stage("Set ZoomMin = 25");
        surface.setZoomMin(25);
        if (surface.controlName() != u"Vp") {
            surface.setZoomMax(400);
            surface.setZoomMin(25);
            trace.Stage("Set Zoom = ", qint64(o.Zoom));
            surface.setZoom(o.Zoom);
            trace.Stage("Set ZoomMode = ", qint64(o.ZoomMode));
            surface.setZoomMode(o.ZoomMode);
        }

        trace.Stage("Set PageBorder = ", qint64(o.PageBorder));
        surface.setPageBorder(o.PageBorder);
        trace.Stage("Set PenWidth = 1");
        surface.setPenWidth(1);
        trace.Stage("Set PenColor = ", qint64(0));
        surface.setPenColor(0);
        trace.Stage("Set IndentLeft = 0 ");
        surface.setIndentLeft(0);
        trace.Stage("Set SpaceAfter = 0");
        surface.setSpaceAfter(0);
        trace.Stage("Set BackColor  ");
        surface.setBackColor(kSystemWindow);
        trace.Stage("Set EmptyColor ");
        surface.setEmptyColor(kSystemAppWorkspace);
        trace.Stage("Set ScaleOutput = ", qint64(o.ScaleOutput));
        surface.setScaleOutput(o.ScaleOutput);
        trace.Stage("Clear Styles");
        surface.styles().Clear();
        surface.setExportOptions(7);
    });
}

void SetPrintFont(const QString& name, int32_t size, int32_t color, bool bold, bool italic, bool underline)
{
    mendwick::Quietly([&] {
        PrintSurface& s = current();
        s.setFontName(name);
        s.setFontSize(size);
        s.setTextColor(Options().ColorMode == 1 ? 0 : WinColor(color));
        s.setFontBold(bold);
        s.setFontItalic(italic);
        s.setFontUnderline(underline);
    });
}

void DefineTokenStyle(const QString& tokenClass)
{
    mendwick::Quietly([&] {
        const clsFont& font = Options().Font(tokenClass);
        SetPrintFont(font.Name, roundHalfEven(font.Size), font.Color, font.Bold, font.Italic, font.Underline);
        current().styles().Add(tokenClass, 1);
    });
}

void ApplyTokenStyle(const QString& styleName)
{
    mendwick::Quietly([&] { current().styles().Apply(styleName); });
}

} // namespace folionix
