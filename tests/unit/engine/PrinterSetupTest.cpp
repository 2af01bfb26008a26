#include "EngineFixture.h"

#include <CurrentSurface.h>
#include <ValidationSurface.h>

namespace folionix::test {
namespace {

TEST_F(EngineTest, MarginConversionTable)
{
    struct Case
    {
        const char* value;
        const char* system;
        int32_t twips;
    };
    const Case cases[] = {
        {"1.0", "in", 1440}, {"1", "IN", 1440},  {"2.5", "cm", 1418}, // 1417.5 to even
        {"1", "Cm", 567},    {"0.5", "in", 720}, {"3", "mm", 360},    {"0.0015625", "in", 2}, // 2.25
        {"x", "in", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalculateMarginInTwips(QString::fromLatin1(c.value), QString::fromLatin1(c.system)),
                  c.twips)
            << c.value << " " << c.system;
    EXPECT_EQ(reports.size(), 1);              // only the value that is not a number
    EXPECT_EQ(CmToTwips(0.5 / 567.0 * 3), 2);  // 1.5 to even
    EXPECT_EQ(InchesToTwips(2.5 / 1440.0), 2); // 2.5 to even
    EXPECT_EQ(InchesToTwips(3.5 / 1440.0), 4); // 3.5 to even
}

TEST_F(EngineTest, InitialisePrinterAppliesTheSettings)
{
    Options().Columns = 3;
    Options().MarginLeft = 1;
    Options().MarginTop = 2.5;
    Options().MeasuringSystem = QStringLiteral("cm");
    Options().LineSpacing = 2;
    Options().PageBorder = 4;
    Options().Zoom = 75;
    Options().ZoomMode = 0;
    Options().Device = QStringLiteral("  No Such Printer  ");
    InitialisePrinter(host.surface);
    PrintSurface& s = host.surface;
    EXPECT_EQ(g_vsPrinter, &s);
    EXPECT_EQ(s.Columns(), 3);
    EXPECT_EQ(s.MarginLeft(), 567);
    EXPECT_EQ(s.MarginTop(), 1418);
    EXPECT_DOUBLE_EQ(s.CurrentY(), 1418);
    EXPECT_EQ(s.LineSpacing(), 150);
    EXPECT_EQ(s.PageBorder(), 4);
    EXPECT_EQ(s.ZoomMin(), 25);
    EXPECT_EQ(s.ZoomMax(), 400);
    EXPECT_EQ(s.Zoom(), 75);
    EXPECT_EQ(s.ExportOptions(), 7);
    EXPECT_FALSE(s.Device().isEmpty()); // the unknown printer fell back to the default device
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();

    PrintSurface sample(QStringLiteral("Vp"));
    sample.setZoom(60);
    InitialisePrinter(sample);
    EXPECT_EQ(sample.ZoomMax(), 100);
    EXPECT_EQ(sample.ZoomMin(), 25);
    EXPECT_EQ(sample.Zoom(), 60);
    EXPECT_EQ(g_vsPrinter, &sample);
    g_vsPrinter = nullptr;
}

TEST_F(EngineTest, ValidatePrinterOptionsTable)
{
    struct Case
    {
        const char* name;
        std::function<void(clsOptions&)> set;
        std::function<void(const clsOptions&)> check;
    };
    const std::vector<Case> cases = {
        {"zoom mode 3 becomes percentage",
         [](clsOptions& o) {
             o.ZoomMode = 3;
             o.Zoom = 50;
         },
         [](const clsOptions& o) {
             EXPECT_EQ(o.ZoomMode, 0);
             EXPECT_EQ(o.Zoom, 100);
         }},
        {"zoom modes 4 and 5 stay",
         [](clsOptions& o) {
             o.ZoomMode = 5;
             o.Zoom = 50;
         },
         [](const clsOptions& o) {
             EXPECT_EQ(o.ZoomMode, 5);
             EXPECT_EQ(o.Zoom, 50);
         }},
        {"quality 2 stays", [](clsOptions& o) { o.PrintQuality = 2; },
         [](const clsOptions& o) { EXPECT_EQ(o.PrintQuality, 2); }},
        {"quality 0 and -5", [](clsOptions& o) { o.PrintQuality = 0; },
         [](const clsOptions& o) { EXPECT_EQ(o.PrintQuality, -4); }},
        {"quality -5", [](clsOptions& o) { o.PrintQuality = -5; },
         [](const clsOptions& o) { EXPECT_EQ(o.PrintQuality, -4); }},
        {"measuring system case matters", [](clsOptions& o) { o.MeasuringSystem = QStringLiteral("Cm"); },
         [](const clsOptions& o) { EXPECT_EQ(o.MeasuringSystem, QStringLiteral("in")); }},
        {"negative margins",
         [](clsOptions& o) {
             o.MarginTop = -1;
             o.MarginRight = -0.1;
         },
         [](const clsOptions& o) {
             EXPECT_EQ(o.MarginTop, 0.5);
             EXPECT_EQ(o.MarginRight, 0.5);
         }},
        {"columns out of range", [](clsOptions& o) { o.Columns = 6; },
         [](const clsOptions& o) { EXPECT_EQ(o.Columns, 1); }},
        {"unsupported paper", [](clsOptions& o) { o.PaperSize = 999; },
         [](const clsOptions& o) { EXPECT_EQ(o.PaperSize, 1); }},
        {"A4 stays", [](clsOptions& o) { o.PaperSize = 9; },
         [](const clsOptions& o) { EXPECT_EQ(o.PaperSize, 9); }},
        {"bins", [](clsOptions& o) { o.PaperBin = 12; },
         [](const clsOptions& o) { EXPECT_EQ(o.PaperBin, 7); }},
        {"bin 256 stays", [](clsOptions& o) { o.PaperBin = 256; },
         [](const clsOptions& o) { EXPECT_EQ(o.PaperBin, 256); }},
        {"border, spacing, orientation, duplex, scale",
         [](clsOptions& o) {
             o.PageBorder = 10;
             o.LineSpacing = 5;
             o.PageOrientation = 2;
             o.Duplex = 0;
             o.ScaleOutput = -1;
         },
         [](const clsOptions& o) {
             EXPECT_EQ(o.PageBorder, 3);
             EXPECT_EQ(o.LineSpacing, 1);
             EXPECT_EQ(o.PageOrientation, 0);
             EXPECT_EQ(o.Duplex, 1);
             EXPECT_EQ(o.ScaleOutput, 100);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options().ApplyDefaults(QSize(28800, 16200));
        c.set(Options());
        ValidationWindow().ValidatePrinterOptions();
        c.check(Options());
    }
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
}

} // namespace
} // namespace folionix::test
