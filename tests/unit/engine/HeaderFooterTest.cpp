#include "EngineFixture.h"

#include <HeaderCodes.h>

#include <QDate>
#include <QImage>
#include <QLocale>

namespace folionix::test {
namespace {

class HeaderFooterTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        startDirect();
        g_sCurrentFile = QStringLiteral("/site/pages/default.asp");
    }
};

TEST_F(HeaderFooterTest, MacroValues)
{
    host.surface.NewPage();
    host.surface.NewPage(); // the third page
    const QString longDate = QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat);
    struct Case
    {
        const char* part;
        QString expected;
    };
    const Case cases[] = {
        {"{blank}", QStringLiteral(" ")},
        {"{BLANK}", QStringLiteral(" ")},
        {"{Filename}", QStringLiteral("/site/pages/default.asp")},
        {"{filename - no path}", QStringLiteral("default.asp")},
        {"{Page Number}", QStringLiteral("Page 3")},
        {"{Date}", longDate},
        {"Printed: {Date}", QStringLiteral("Printed: {Date}")},
        {"a|b", QStringLiteral("a|b")},
        {"", QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetMacroValue(QString::fromLatin1(c.part)), c.expected) << c.part;
    const QString datetime = GetMacroValue(QStringLiteral("{Datetime}"));
    EXPECT_TRUE(datetime.startsWith(longDate + QStringLiteral("  "))) << datetime.toStdString();
    EXPECT_FALSE(datetime.mid(longDate.size() + 2).startsWith(u' '));
}

TEST_F(HeaderFooterTest, DefaultTextsAndFonts)
{
    EXPECT_EQ(GetHeaderText(), QStringLiteral("/site/pages/default.asp| | "));
    const QString footer = GetFooterText();
    EXPECT_TRUE(footer.startsWith(QStringLiteral("/site/pages/default.asp|Page 1|"))) << footer.toStdString();
    struct Case
    {
        int colorMode;
        WinColor colour;
    };
    for (const Case& c : {Case{2, 0x000080}, Case{1, 0}}) {
        Options().ColorMode = c.colorMode;
        PrintPageHeader();
        EXPECT_EQ(host.surface.HeaderColor(), c.colour);
        EXPECT_EQ(host.surface.HeaderFontName(), QStringLiteral("Times New Roman"));
        EXPECT_TRUE(host.surface.HeaderFontBold());
        EXPECT_EQ(host.surface.HeaderText(), GetHeaderText());
    }
    PrintPageFooter();
    EXPECT_TRUE(host.surface.FooterText().startsWith(QStringLiteral("/site/pages/default.asp|Page 1|")));
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(HeaderFooterTest, MissingRecordIsReportedAndGivesNothing)
{
    Options().HeaderCodes.erase(QStringLiteral("Header Codes"));
    EXPECT_EQ(GetHeaderText(), QString());
    EXPECT_EQ(reports.size(), 1);
}

TEST_F(HeaderFooterTest, WatermarkCentredAtItsOwnSizeOrANote)
{
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::gray);
    image.setDotsPerMeterX(3780); // 96 dpi: 15 twips a pixel
    image.setDotsPerMeterY(3780);
    const QString picture = dir.filePath(QStringLiteral("mark.png"));
    ASSERT_TRUE(image.save(picture));

    Options().WatermarkBitmapFile = picture;
    host.surface.NewPage();
    const Page& withPicture = doc().pages().back();
    ASSERT_EQ(withPicture.pictures.size(), 1u);
    const PlacedPicture& placed = withPicture.pictures[0];
    EXPECT_NEAR(placed.width, 900, 1);
    EXPECT_NEAR(placed.height, 450, 1);
    EXPECT_NEAR(placed.x, (host.surface.PageWidth() - 900) / 2.0, 1);
    EXPECT_NEAR(placed.y, (host.surface.PageHeight() - 450) / 2.0, 1);

    Options().WatermarkBitmapFile = dir.filePath(QStringLiteral("gone.png"));
    host.surface.NewPage();
    const Page& withNote = doc().pages().back();
    EXPECT_TRUE(withNote.pictures.empty());
    ASSERT_EQ(withNote.textBoxes.size(), 1u);
    EXPECT_EQ(doc().textOf(withNote.textBoxes[0]), QStringLiteral("Watermark file not found. File name ='") +
                                                       dir.filePath(QStringLiteral("gone.png")) + u'\'');
    // The holder keeps the size of the last picture it held.
    EXPECT_NEAR(withNote.textBoxes[0].top, (host.surface.PageHeight() - 450) / 2.0, 1);
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(HeaderFooterTest, CoverSheetPageHasNoWatermarkOrBorder)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const QString picture = dir.filePath(QStringLiteral("mark.png"));
    ASSERT_TRUE(image.save(picture));
    Options().WatermarkBitmapFile = picture;
    Options().CoverSheetFileName = QStringLiteral("cover.txt");
    Options().PageBorder = 4;
    InitialisePrinter(host.surface);
    host.surface.StartDoc(); // page 1: the cover sheet
    host.surface.NewPage();
    host.surface.EndDoc();
    ASSERT_EQ(doc().pages().size(), 2u);
    EXPECT_TRUE(doc().pages()[0].pictures.empty());
    EXPECT_FALSE(doc().pages()[1].pictures.empty());
    const auto borders = [](const Page& p) {
        return std::count_if(p.shapes.begin(), p.shapes.end(),
                             [](const Shape& s) { return s.role == ItemRole::Border; });
    };
    EXPECT_EQ(borders(doc().pages()[0]), 0);
    EXPECT_GT(borders(doc().pages()[1]), 0);
}

} // namespace
} // namespace folionix::test

namespace folionix::test {
namespace {

TEST_F(EngineTest, PrepareNewPageBreaksToTheNextColumnThenPage)
{
    struct Case
    {
        int columns;
        std::vector<std::pair<int, int>> expected; // (page, column) after each call
    };
    const Case cases[] = {
        {1, {{1, 1}, {2, 1}, {3, 1}}},
        {3, {{1, 1}, {1, 2}, {1, 3}, {2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        Options().Columns = c.columns;
        startDirect();
        for (const auto& [page, column] : c.expected) {
            host.furniture.PrepareNewPage();
            EXPECT_EQ(host.surface.CurrentPage(), page);
            EXPECT_EQ(host.surface.CurrentColumn(), column);
            CodeProcessor().DrawText(QStringLiteral("x")); // something on the column
        }
    }
    EXPECT_TRUE(reports.isEmpty());
}

} // namespace
} // namespace folionix::test
