#include "SurfaceTestSupport.h"

using folionix::PrintSurface;
using folionix::TextRun;
using surfacetest::bodyRuns;
using surfacetest::EventLog;

namespace {

const QStringList FinishPage = {"EndPage", "BeforeHeader", "BeforeFooter"};

class TextFlowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        surfacetest::useListingFont(surface);
        surface.setEvents(&log);
        lineHeight = surface.TextHeight(QStringLiteral("x"));
        linesPerColumn = int((surface.TextAreaBottom() - surface.TextAreaTop()) / lineHeight);
    }

    // Adds numbered paragraphs; returns the LineOnPage seen before each one.
    std::vector<int> addLines(int count)
    {
        std::vector<int> seen;
        for (int i = 0; i < count; ++i) {
            seen.push_back(surface.LineOnPage());
            surface.AddParagraph(QStringLiteral("line %1").arg(i));
        }
        return seen;
    }

    PrintSurface surface;
    EventLog log;
    double lineHeight = 0;
    int linesPerColumn = 0;
};

TEST_F(TextFlowTest, RunsAdvanceAlongTheLineAndParagraphsMoveDown)
{
    surface.StartDoc();
    surface.AddText(QStringLiteral("Dim"));
    EXPECT_EQ(surface.CurrentX(), 1440 + 3 * 96);
    surface.AddText(QStringLiteral(" x"));
    surface.AddParagraph(QStringLiteral(" = 1"));
    EXPECT_EQ(surface.CurrentX(), 1440);
    EXPECT_EQ(surface.CurrentY(), 1440 + lineHeight);
    surface.AddParagraph(QStringLiteral("next"));

    const std::vector<TextRun> runs = bodyRuns(surface.document(), 0);
    ASSERT_EQ(runs.size(), 4u);
    const struct
    {
        double x, y, width;
        bool lineStart;
    } expected[] = {{1440, 1440, 288, true},
                    {1728, 1440, 192, false},
                    {1920, 1440, 384, false},
                    {1440, 1440 + lineHeight, 384, true}};
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].x, expected[i].x) << i;
        EXPECT_EQ(runs[i].y, expected[i].y) << i;
        EXPECT_EQ(runs[i].width, expected[i].width) << i;
        EXPECT_EQ(runs[i].height, lineHeight) << i;
        EXPECT_EQ(runs[i].lineStart, expected[i].lineStart) << i;
    }
}

TEST_F(TextFlowTest, LineHeightIsTheTallestRunTimesSpacingPlusSpaceAfter)
{
    surface.setLineSpacing(150);
    surface.setSpaceAfter(40);
    surface.setIndentLeft(200);
    surface.StartDoc();
    surface.AddText(QStringLiteral("small"));
    surface.setFontSize(16);
    const double tall = surface.TextHeight(QStringLiteral("X"));
    surface.AddText(QStringLiteral("BIG"));
    surface.setFontSize(8);
    surface.AddParagraph(QString());
    EXPECT_DOUBLE_EQ(surface.CurrentY(), 1440 + tall * 1.5 + 40);
    EXPECT_EQ(surface.CurrentX(), 1440 + 200);
    surface.AddParagraph(QString()); // an empty line is as tall as the current font
    EXPECT_DOUBLE_EQ(surface.CurrentY(), 1440 + tall * 1.5 + 40 + lineHeight * 1.5 + 40);
}

TEST_F(TextFlowTest, AutomaticPageBreakRaisesEventsInOrder)
{
    surface.StartDoc();
    EXPECT_EQ(log.events, QStringList{"NewPage"});
    addLines(linesPerColumn);
    EXPECT_EQ(surface.PageCount(), 1);
    log.events.clear();
    surface.AddParagraph(QStringLiteral("overflow"));
    EXPECT_EQ(log.events, FinishPage + QStringList{"NewPage"});
    EXPECT_EQ(surface.PageCount(), 2);
    const std::vector<TextRun> runs = bodyRuns(surface.document(), 1);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].y, 1440);
    EXPECT_EQ(runs[0].x, 1440);
    EXPECT_TRUE(runs[0].lineStart);

    log.events.clear();
    surface.EndDoc();
    EXPECT_EQ(log.events, FinishPage);
    EXPECT_EQ(surface.DocumentState(), 2);
}

TEST_F(TextFlowTest, ColumnsFillBeforeThePageBreaks)
{
    surface.setColumns(2);
    surface.StartDoc();
    addLines(linesPerColumn);
    log.events.clear();
    surface.AddParagraph(QStringLiteral("second column"));
    EXPECT_EQ(log.events, QStringList{"NewColumn"});
    EXPECT_EQ(surface.CurrentColumn(), 2);
    EXPECT_EQ(surface.LineOnPage(), 2);
    addLines(linesPerColumn - 1);
    EXPECT_EQ(surface.PageCount(), 1);
    log.events.clear();
    surface.AddParagraph(QStringLiteral("page two"));
    EXPECT_EQ(log.events, FinishPage + QStringList{"NewPage"});
    EXPECT_EQ(surface.CurrentColumn(), 1);

    const std::vector<TextRun> first = bodyRuns(surface.document(), 0);
    ASSERT_EQ(first.size(), size_t(2 * linesPerColumn));
    EXPECT_EQ(first[size_t(linesPerColumn)].x, 6300);
    EXPECT_EQ(first[size_t(linesPerColumn)].y, 1440);
    EXPECT_EQ(first[size_t(linesPerColumn)].column, 2);
}

TEST_F(TextFlowTest, ExplicitNewColumnAndNewPageRaiseTheirEvents)
{
    surface.setColumns(2);
    surface.StartDoc();
    surface.AddParagraph(QStringLiteral("a"));
    log.events.clear();
    surface.NewColumn();
    surface.NewColumn(); // last column: continues on a new page
    surface.NewPage();
    EXPECT_EQ(log.events, QStringList{"NewColumn"} + FinishPage + QStringList{"NewPage"} + FinishPage +
                              QStringList{"NewPage"});
    EXPECT_EQ(surface.PageCount(), 3);
    EXPECT_EQ(surface.CurrentPage(), 3);
}

TEST_F(TextFlowTest, NewPageHandlerMayWriteTextAtTheTopOfThePage)
{
    log.onNewPage = [&] {
        EXPECT_EQ(surface.LineOnPage(), 1);
        EXPECT_EQ(surface.CurrentY(), surface.MarginTop());
        if (surface.PageCount() > 1)
            surface.AddParagraph(QStringLiteral("(continued)"));
    };
    surface.StartDoc();
    addLines(linesPerColumn + 1);
    ASSERT_EQ(surface.PageCount(), 2);
    const std::vector<TextRun> runs = bodyRuns(surface.document(), 1);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(surface.document().textOf(runs[0]), QStringLiteral("(continued)"));
    EXPECT_EQ(runs[0].y, 1440);
    EXPECT_EQ(surface.document().textOf(runs[1]), QStringLiteral("line %1").arg(linesPerColumn));
    EXPECT_EQ(runs[1].y, 1440 + lineHeight);
    EXPECT_EQ(surface.LineOnPage(), 3);
}

TEST_F(TextFlowTest, HandlersCannotStartBreaksFromInsideABreak)
{
    int newPages = 0;
    log.onNewPage = [&] {
        ++newPages;
        surface.NewPage();
        surface.NewColumn();
        for (int i = 0; i < 2 * linesPerColumn; ++i) // overflows, but must not break again
            surface.AddParagraph(QStringLiteral("handler"));
    };
    log.onEndPage = [&] { surface.NewPage(); };
    surface.StartDoc();
    surface.NewPage();
    EXPECT_EQ(newPages, 2);
    EXPECT_EQ(surface.PageCount(), 2);
}

TEST_F(TextFlowTest, LineOnPageCountsLinesAndRestartsOnEachPageAndColumn)
{
    surface.setColumns(2);
    surface.StartDoc();
    EXPECT_EQ(surface.LineOnPage(), 1);
    const std::vector<int> seen = addLines(2 * linesPerColumn + 2);
    for (int i = 0; i < 2 * linesPerColumn + 2; ++i) {
        // The break happens inside the AddParagraph of the first line that no longer fits.
        const int expected = i > 0 && i % linesPerColumn == 0 ? linesPerColumn + 1 : i % linesPerColumn + 1;
        EXPECT_EQ(seen[size_t(i)], expected) << i;
    }
    EXPECT_EQ(surface.LineOnPage(), 3);
    surface.setLineOnPage(10);
    surface.AddParagraph(QStringLiteral("x"));
    EXPECT_EQ(surface.LineOnPage(), 11);
    surface.NewColumn();
    EXPECT_EQ(surface.LineOnPage(), 1);
}

TEST_F(TextFlowTest, NoPageOrColumnBeginsWithABlankLine)
{
    surface.setColumns(2);
    surface.StartDoc();
    surface.AddParagraph(QString());
    surface.AddParagraph(QString());
    EXPECT_EQ(surface.CurrentY(), 1440);
    EXPECT_EQ(surface.LineOnPage(), 1);
    addLines(linesPerColumn);
    // Blank lines past the bottom are dropped by the break that the next text causes.
    surface.AddParagraph(QString());
    surface.AddParagraph(QString());
    surface.AddParagraph(QStringLiteral("top of column two"));
    surface.NewColumn();
    surface.AddParagraph(QString());
    surface.AddParagraph(QStringLiteral("top of page two"));

    const std::vector<TextRun> first = bodyRuns(surface.document(), 0);
    EXPECT_EQ(first.front().y, 1440);
    EXPECT_EQ(first.back().y, 1440);
    EXPECT_EQ(first.back().column, 2);
    const std::vector<TextRun> second = bodyRuns(surface.document(), 1);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].y, 1440);

    const QStringList lines = surfacetest::plainText(surface.document()).split(u'\f');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("line 0\n")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("line %1\ntop of column two\n").arg(linesPerColumn - 1)));
    EXPECT_EQ(lines[1], QStringLiteral("top of page two\n"));
}

TEST_F(TextFlowTest, AddTextBeforeStartDocStartsTheDocument)
{
    surface.AddText(QStringLiteral("x"));
    EXPECT_EQ(surface.DocumentState(), 1);
    EXPECT_EQ(surface.PageCount(), 1);
    EXPECT_EQ(log.events, QStringList{"NewPage"});
    surface.StartDoc(); // starts over
    EXPECT_TRUE(bodyRuns(surface.document(), 0).empty());
}

TEST_F(TextFlowTest, LineBreakCharactersInsideTextDoNotDisturbTheFlow)
{
    surface.StartDoc();
    surface.AddText(QStringLiteral("a\r\nb"));
    const std::vector<TextRun> runs = bodyRuns(surface.document(), 0);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].textLength, 4u);
    EXPECT_EQ(surface.CurrentY(), 1440);
    EXPECT_GE(surface.CurrentX(), 1440 + 2 * 96);
}

TEST_F(TextFlowTest, DrawingIsRecordedInCallOrder)
{
    surface.StartDoc();
    surface.setPenColor(0x0000FF);
    surface.setPenWidth(30);
    surface.setBrushColor(0x00FF00);
    surface.DrawLine(0, 0, 100, 0);
    surface.AddText(QStringLiteral("t"));
    surface.DrawRoundedBox(10, 20, 110, 220, 15, 25);
    QImage picture(48, 24, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.setDotsPerMeterX(3780); // 96 dpi: 15 twips a pixel
    picture.setDotsPerMeterY(3780);
    surface.DrawPicture(picture, 500, 600);
    surface.DrawPicture(picture, 500, 900, 100, 50);
    surface.DrawTextBox(QStringLiteral("boxed"), 1000, 1000, 2000, 500, true);

    const folionix::Page& page = surface.document().pages().front();
    ASSERT_EQ(page.shapes.size(), 2u);
    ASSERT_EQ(page.pictures.size(), 2u);
    ASSERT_EQ(page.textBoxes.size(), 1u);
    EXPECT_LT(page.shapes[0].seq, page.runs[0].seq);
    EXPECT_LT(page.runs[0].seq, page.shapes[1].seq);
    EXPECT_LT(page.shapes[1].seq, page.pictures[0].seq);
    EXPECT_LT(page.pictures[1].seq, page.textBoxes[0].seq);
    EXPECT_EQ(page.shapes[1].kind, folionix::Shape::Kind::RoundedBox);
    EXPECT_EQ(page.shapes[1].penColor, 0x0000FFu);
    EXPECT_EQ(page.shapes[1].penWidth, 30);
    EXPECT_TRUE(page.shapes[1].filled);
    EXPECT_EQ(page.shapes[1].brushColor, 0x00FF00u);
    EXPECT_NEAR(page.pictures[0].width, 48 * 15, 1);
    EXPECT_NEAR(page.pictures[0].height, 24 * 15, 1);
    EXPECT_EQ(page.pictures[1].width, 100);
    EXPECT_EQ(page.pictures[0].picture, page.pictures[1].picture); // stored once
    EXPECT_EQ(surface.document().pictures().size(), 1u);
    EXPECT_EQ(surface.document().textOf(page.textBoxes[0]), QStringLiteral("boxed"));
}

} // namespace
