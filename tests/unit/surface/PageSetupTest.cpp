#include "AppError.h"
#include "PaperSizes.h"
#include "SurfaceTestSupport.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <cmath>

using folionix::PrintSurface;
using surfacetest::EventLog;

namespace {

struct PaperCase
{
    int code;
    int portraitWidth;
    int portraitHeight;
};

// Twips: 1440 an inch, 1440 / 25.4 a millimetre, rounded.
const PaperCase PaperCases[] = {
    {1, 12240, 15840},  // Letter
    {3, 15840, 24480},  // Tabloid
    {4, 24480, 15840},  // Ledger (landscape by definition)
    {5, 12240, 20160},  // Legal
    {7, 10440, 15120},  // Executive
    {8, 16838, 23811},  // A3
    {9, 11906, 16838},  // A4
    {11, 8391, 11906},  // A5
    {12, 14570, 20636}, // B4 (JIS)
    {13, 10318, 14570}, // B5 (JIS)
    {20, 5940, 13680},  // Envelope #10
    {27, 6236, 12472},  // Envelope DL
    {24, 24480, 31680}, // C sheet
    {66, 23811, 33676}, // A2
};

class PaperSizeTest : public ::testing::TestWithParam<PaperCase>
{};

TEST_P(PaperSizeTest, PortraitAndLandscapeDimensions)
{
    const PaperCase& c = GetParam();
    PrintSurface surface;
    surface.setDevice(QStringLiteral("PDF"));
    surface.setPaperSize(c.code);
    EXPECT_EQ(surface.PaperSize(), c.code);
    EXPECT_EQ(surface.PageWidth(), c.portraitWidth);
    EXPECT_EQ(surface.PageHeight(), c.portraitHeight);
    surface.setPageOrientation(1);
    EXPECT_EQ(surface.PageWidth(), c.portraitHeight);
    EXPECT_EQ(surface.PageHeight(), c.portraitWidth);
}

INSTANTIATE_TEST_SUITE_P(Codes, PaperSizeTest, ::testing::ValuesIn(PaperCases),
                         [](const auto& info) { return "Code" + std::to_string(info.param.code); });

TEST(PaperSizes, EveryCodeWithAQtSizeAgreesWithItWithinAMillimetre)
{
    int mapped = 0;
    for (int code = folionix::FirstPaperCode; code <= folionix::LastPaperCode; ++code) {
        const folionix::PaperSizeInfo* info = folionix::paperSizeInfo(code);
        if (code == 48 || code == 49) {
            EXPECT_EQ(info, nullptr) << "reserved code " << code;
            continue;
        }
        ASSERT_NE(info, nullptr) << code;
        EXPECT_EQ(info->code, code);
        if (info->pageSizeId == QPageSize::Custom)
            continue;
        ++mapped;
        const QSizeF qt = QPageSize(info->pageSizeId).size(QPageSize::Millimeter);
        EXPECT_NEAR(info->widthTwips / 1440 * 25.4, qt.width(), 1.0) << code;
        EXPECT_NEAR(info->heightTwips / 1440 * 25.4, qt.height(), 1.0) << code;
        EXPECT_GT(folionix::paperCodeFor(QPageSize(info->pageSizeId)), 0) << code;
    }
    EXPECT_EQ(mapped, 65); // all but the reserved codes and Tabloid Extra
}

TEST(PaperSizes, UnsupportedCodesRaiseInvalidPropertyValueAndKeepThePaper)
{
    PrintSurface surface;
    surface.setDevice(QStringLiteral("PDF"));
    surface.setPaperSize(9);
    for (int code : {0, -1, 48, 49, 69, 256, 1000}) {
        EXPECT_FALSE(surface.IsPaperSizeSupported(code)) << code;
        try {
            surface.setPaperSize(code);
            ADD_FAILURE() << "code " << code << " accepted";
        } catch (const mendwick::AppError& e) {
            EXPECT_EQ(e.number(), 380);
        }
        EXPECT_EQ(surface.PaperSize(), 9);
        EXPECT_EQ(surface.PageWidth(), 11906);
    }
}

TEST(PageSetup, DefaultsAreLetterPortraitWithInchMarginsAndOneColumn)
{
    PrintSurface surface;
    EXPECT_EQ(surface.PaperSize(), 1);
    EXPECT_EQ(surface.PageOrientation(), 0);
    EXPECT_EQ(surface.PageWidth(), 12240);
    EXPECT_EQ(surface.PageHeight(), 15840);
    EXPECT_EQ(surface.MarginLeft(), 1440);
    EXPECT_EQ(surface.MarginTop(), 1440);
    EXPECT_EQ(surface.MarginRight(), 1440);
    EXPECT_EQ(surface.MarginBottom(), 1440);
    EXPECT_EQ(surface.Columns(), 1);
    EXPECT_EQ(surface.ColumnSpacing(), 360);
    EXPECT_EQ(surface.ScaleOutput(), 100);
    EXPECT_EQ(surface.TextAreaLeft(), 1440);
    EXPECT_EQ(surface.TextAreaRight(), 10800);
    EXPECT_EQ(surface.TextAreaTop(), 1440);
    EXPECT_EQ(surface.TextAreaBottom(), 14400);
}

struct ColumnCase
{
    int columns;
    int spacing;
    int marginLeft;
    int marginRight;
    double expectedLeft[3];
    double expectedRight[3];
};

// Letter is 12240 wide.
const ColumnCase ColumnCases[] = {
    {1, 360, 1440, 1440, {1440}, {10800}},
    {2, 360, 1440, 1440, {1440, 6300}, {5940, 10800}},
    {2, 0, 720, 720, {720, 6120}, {6120, 11520}},
    {3,
     480,
     1000,
     1000,
     {1000, 4573.333333333333, 8146.666666666667},
     {4093.333333333333, 7666.666666666667, 11240}},
};

class ColumnGeometryTest : public ::testing::TestWithParam<ColumnCase>
{};

TEST_P(ColumnGeometryTest, TextAreaFollowsTheCurrentColumn)
{
    const ColumnCase& c = GetParam();
    PrintSurface surface;
    surface.setColumns(c.columns);
    surface.setColumnSpacing(c.spacing);
    surface.setMarginLeft(c.marginLeft);
    surface.setMarginRight(c.marginRight);
    surface.StartDoc();
    for (int column = 1; column <= c.columns; ++column) {
        if (column > 1)
            surface.NewColumn();
        surface.RefreshTextArea();
        EXPECT_EQ(surface.CurrentColumn(), column);
        EXPECT_NEAR(surface.TextAreaLeft(), c.expectedLeft[column - 1], 1e-6) << "column " << column;
        EXPECT_NEAR(surface.TextAreaRight(), c.expectedRight[column - 1], 1e-6) << "column " << column;
        EXPECT_NEAR(surface.CurrentX(), c.expectedLeft[column - 1], 1e-6);
        EXPECT_EQ(surface.CurrentY(), surface.MarginTop());
    }
    EXPECT_EQ(surface.PageCount(), 1);
    surface.NewColumn(); // past the last column: a new page
    EXPECT_EQ(surface.PageCount(), 2);
    EXPECT_EQ(surface.CurrentColumn(), 1);
    EXPECT_NEAR(surface.TextAreaLeft(), c.expectedLeft[0], 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ColumnGeometryTest, ::testing::ValuesIn(ColumnCases));

TEST(PageSetup, InvalidValuesRaiseAndChangeNothing)
{
    PrintSurface surface;
    const std::vector<std::pair<const char*, std::function<void()>>> setters = {
        {"columns 0", [&] { surface.setColumns(0); }},
        {"orientation 2", [&] { surface.setPageOrientation(2); }},
        {"border 8", [&] { surface.setPageBorder(8); }},
        {"margin -1", [&] { surface.setMarginLeft(-1); }},
        {"spacing -1", [&] { surface.setColumnSpacing(-1); }},
        {"line spacing 0", [&] { surface.setLineSpacing(0); }},
        {"font size 0", [&] { surface.setFontSize(0); }},
        {"empty font name", [&] { surface.setFontName(QString()); }},
        {"unknown device", [&] { surface.setDevice(QStringLiteral("No Such Printer 4711")); }},
        {"device index", [&] { (void)surface.DeviceName(surface.DeviceCount()); }},
    };
    for (const auto& [name, set] : setters) {
        try {
            set();
            ADD_FAILURE() << name << " accepted";
        } catch (const mendwick::AppError& e) {
            EXPECT_EQ(e.number(), 380) << name;
            EXPECT_EQ(e.source(), surface.controlName()) << name;
        }
    }
    EXPECT_EQ(surface.Columns(), 1);
    EXPECT_EQ(surface.PageOrientation(), 0);
    EXPECT_EQ(surface.PageBorder(), 0);
    EXPECT_EQ(surface.MarginLeft(), 1440);
    EXPECT_EQ(surface.LineSpacing(), 100);
}

struct ScaleCase
{
    int percent;
    int effective;
    int width;
    int height;
};

const ScaleCase ScaleCases[] = {
    {100, 100, 12240, 15840}, {50, 50, 24480, 31680},   {200, 200, 6120, 7920},
    {0, 100, 12240, 15840},   {-20, 100, 12240, 15840},
};

class ScaleOutputTest : public ::testing::TestWithParam<ScaleCase>
{};

TEST_P(ScaleOutputTest, LogicalPageGrowsAsTheScaleShrinks)
{
    const ScaleCase& c = GetParam();
    PrintSurface surface;
    surface.setScaleOutput(c.percent);
    EXPECT_EQ(surface.ScaleOutput(), c.effective);
    EXPECT_EQ(surface.PageWidth(), c.width);
    EXPECT_EQ(surface.PageHeight(), c.height);
    EXPECT_EQ(surface.TextAreaBottom(), c.height - 1440);
    surface.StartDoc();
    const folionix::Page& page = surface.document().pages().front();
    EXPECT_EQ(page.width, c.width);
    EXPECT_EQ(page.height, c.height);
    EXPECT_EQ(page.scalePercent, c.effective);
}

INSTANTIATE_TEST_SUITE_P(Percents, ScaleOutputTest, ::testing::ValuesIn(ScaleCases));

TEST(ScaleOutput, HalfScaleFitsMoreThanTwiceTheLinesOnAPage)
{
    auto linesOnFirstPage = [](int scale) {
        PrintSurface surface;
        surfacetest::useListingFont(surface);
        surface.setScaleOutput(scale);
        surface.StartDoc();
        int lines = 0;
        while (surface.PageCount() == 1) {
            surface.AddParagraph(QStringLiteral("line"));
            ++lines;
        }
        return lines - 1;
    };
    const int full = linesOnFirstPage(100);
    const int half = linesOnFirstPage(50);
    // (15840 - 2880) / 181 = 71 lines; (31680 - 2880) / 181 = 159 lines.
    EXPECT_EQ(full, 71);
    EXPECT_EQ(half, 159);
}

TEST(Devices, PdfIsAlwaysListedAndTheDefaultFallsBackToIt)
{
    PrintSurface surface;
    QStringList names;
    for (int i = 0; i < surface.DeviceCount(); ++i)
        names << surface.DeviceName(i);
    EXPECT_TRUE(names.contains(QStringLiteral("PDF")));
    EXPECT_EQ(names.size(), QPrinterInfo::availablePrinterNames().size() + 1);

    surface.setDevice(QString());
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    EXPECT_EQ(surface.Device(), systemDefault.isEmpty() ? QStringLiteral("PDF") : systemDefault);
    surface.setDevice(QStringLiteral("pdf"));
    EXPECT_EQ(surface.Device(), QStringLiteral("PDF"));
}

TEST(Devices, PdfSupportsTheStandardPapersAndBins)
{
    PrintSurface surface;
    surface.setDevice(QStringLiteral("PDF"));
    for (int code = 1; code <= 68; ++code)
        EXPECT_EQ(surface.IsPaperSizeSupported(code), code != 48 && code != 49) << code;
    for (int bin : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 256})
        EXPECT_TRUE(surface.IsPaperBinSupported(bin)) << bin;
    for (int bin : {0, 12, 13, 16, 255, 257, -1})
        EXPECT_FALSE(surface.IsPaperBinSupported(bin)) << bin;
    surface.setPaperBin(4);
    EXPECT_EQ(surface.PaperBin(), 4);
}

TEST(Devices, UnsupportedDuplexSetsErrorSevenAndRaisesError)
{
    PrintSurface surface;
    EventLog log;
    surface.setEvents(&log);
    surface.setDevice(QStringLiteral("PDF"));
    surface.setDuplex(1);
    EXPECT_EQ(surface.ErrorCode(), 0);
    EXPECT_TRUE(log.events.isEmpty());
    for (int duplex : {2, 3, 0, 4}) {
        log.events.clear();
        surface.setDuplex(duplex);
        EXPECT_EQ(surface.ErrorCode(), 7) << duplex;
        EXPECT_EQ(surface.Duplex(), 1) << duplex;
        EXPECT_EQ(log.events, QStringList{QStringLiteral("Error")}) << duplex;
    }
}

TEST(StoredProperties, AreReturnedAsSet)
{
    PrintSurface surface;
    surface.setZoom(75);
    surface.setZoomMin(20);
    surface.setZoomMax(300);
    surface.setZoomStep(5);
    surface.setZoomMode(2);
    surface.setExportFile(QStringLiteral("/tmp/out.rtf"));
    surface.setExportFormat(3);
    surface.setExportMode(true);
    surface.setHtmlPaging(1);
    surface.setExportOptions(6);
    surface.setHtmlNavigationBar(2, QStringLiteral("<b>next</b>"));
    surface.setRtfHeader(QStringLiteral("{\\rtf1}"));
    surface.setProgressText(QStringLiteral("Printing"));
    surface.setProgressCaption(QStringLiteral("Folionix"));
    surface.setPrintQuality(-3);
    surface.setHeaderFlag(true);
    surface.setParagraphAlignment(2);
    surface.setBackColor(0x112233);
    surface.setEmptyColor(0x80000005);
    surface.setPreviewMode(true);
    surface.setPreviewPage(3);
    EXPECT_EQ(surface.Zoom(), 75);
    EXPECT_EQ(surface.ZoomMin(), 20);
    EXPECT_EQ(surface.ZoomMax(), 300);
    EXPECT_EQ(surface.ZoomStep(), 5);
    EXPECT_EQ(surface.ZoomMode(), 2);
    EXPECT_EQ(surface.ExportFile(), QStringLiteral("/tmp/out.rtf"));
    EXPECT_EQ(surface.ExportFormat(), 3);
    EXPECT_TRUE(surface.ExportMode());
    EXPECT_EQ(surface.HtmlPaging(), 1);
    EXPECT_EQ(surface.ExportOptions(), 6);
    EXPECT_EQ(surface.HtmlNavigationBar(2), QStringLiteral("<b>next</b>"));
    EXPECT_EQ(surface.HtmlNavigationBar(1), QString());
    EXPECT_EQ(surface.RtfHeader(), QStringLiteral("{\\rtf1}"));
    EXPECT_EQ(surface.ProgressText(), QStringLiteral("Printing"));
    EXPECT_EQ(surface.ProgressCaption(), QStringLiteral("Folionix"));
    EXPECT_EQ(surface.PrintQuality(), -3);
    EXPECT_TRUE(surface.HeaderFlag());
    EXPECT_EQ(surface.ParagraphAlignment(), 2);
    EXPECT_EQ(surface.BackColor(), 0x112233u);
    EXPECT_EQ(surface.EmptyColor(), 0x80000005u);
    EXPECT_TRUE(surface.PreviewMode());
    EXPECT_EQ(surface.PreviewPage(), 3);
    EXPECT_EQ(PrintSurface(QStringLiteral("Vp")).controlName(), QStringLiteral("Vp"));
}

} // namespace
