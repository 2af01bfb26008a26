#include "SurfaceTestSupport.h"

using folionix::ItemRole;
using folionix::PrintSurface;
using folionix::Shape;
using folionix::TextRun;

namespace {

std::vector<TextRun> runsWithRole(const folionix::Document& document, size_t page, ItemRole role)
{
    std::vector<TextRun> runs;
    for (const TextRun& run : document.pages().at(page).runs) {
        if (run.role == role)
            runs.push_back(run);
    }
    return runs;
}

struct HeaderCase
{
    const char* text;
    std::vector<const char*> left, centre, right; // expected part on page 1, or empty
};

const HeaderCase HeaderCases[] = {
    {"Report|Page %d|2024", {"Report"}, {"Page 1"}, {"2024"}},
    {"Only left", {"Only left"}, {}, {}},
    {"|Centre", {}, {"Centre"}, {}},
    {"||%d", {}, {}, {"1"}},
    {"L||R", {"L"}, {}, {"R"}},
    {"", {}, {}, {}},
};

class HeaderFooterTest : public ::testing::TestWithParam<HeaderCase>
{
protected:
    void SetUp() override { surfacetest::useListingFont(surface); }
    PrintSurface surface;
};

TEST_P(HeaderFooterTest, PartsAreAlignedLeftCentreAndRight)
{
    const HeaderCase& c = GetParam();
    surface.setHeaderText(QString::fromUtf8(c.text));
    surface.setFooterText(QString::fromUtf8(c.text));
    surface.setHeaderColor(0x808080);
    surface.StartDoc();
    surface.AddParagraph(QStringLiteral("body"));
    surface.EndDoc();

    const folionix::Document& document = surface.document();
    const double left = surface.MarginLeft();
    const double right = surface.PageWidth() - surface.MarginRight();
    for (ItemRole role : {ItemRole::Header, ItemRole::Footer}) {
        const std::vector<TextRun> runs = runsWithRole(document, 0, role);
        ASSERT_EQ(runs.size(), c.left.size() + c.centre.size() + c.right.size());
        size_t i = 0;
        auto check = [&](const std::vector<const char*>& part, auto position) {
            if (part.empty())
                return;
            const TextRun& run = runs[i++];
            EXPECT_EQ(document.textOf(run), QString::fromUtf8(part[0]));
            EXPECT_NEAR(position(run), 0, 0.01) << part[0];
            EXPECT_EQ(run.color, 0x808080u);
            EXPECT_EQ(document.fonts()[run.font].family, QStringLiteral("Courier New"));
            if (role == ItemRole::Header) {
                EXPECT_LE(run.y + run.height, surface.MarginTop());
            } else {
                EXPECT_GE(run.y, surface.PageHeight() - surface.MarginBottom());
            }
        };
        check(c.left, [&](const TextRun& r) { return r.x - left; });
        check(c.centre, [&](const TextRun& r) { return r.x + r.width / 2 - (left + right) / 2; });
        check(c.right, [&](const TextRun& r) { return r.x + r.width - right; });
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, HeaderFooterTest, ::testing::ValuesIn(HeaderCases));

TEST(HeaderFooter, PageNumberAndTextChangedInBeforeHeaderApplyToTheFinishedPage)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surfacetest::EventLog log;
    log.onBeforeHeader = [&] {
        surface.setHeaderText(QStringLiteral("File %1|Page %d").arg(surface.PageCount()));
    };
    surface.setEvents(&log);
    surface.setFooterText(QStringLiteral("||%d of many"));
    surface.StartDoc();
    surface.NewPage();
    surface.NewPage();
    surface.EndDoc();
    ASSERT_EQ(surface.PageCount(), 3);
    for (size_t page = 0; page < 3; ++page) {
        const auto header = runsWithRole(surface.document(), page, ItemRole::Header);
        const auto footer = runsWithRole(surface.document(), page, ItemRole::Footer);
        ASSERT_EQ(header.size(), 2u);
        ASSERT_EQ(footer.size(), 1u);
        EXPECT_EQ(surface.document().textOf(header[0]), QStringLiteral("File %1").arg(page + 1));
        EXPECT_EQ(surface.document().textOf(header[1]), QStringLiteral("Page %1").arg(page + 1));
        EXPECT_EQ(surface.document().textOf(footer[0]), QStringLiteral("%1 of many").arg(page + 1));
    }
}

struct BorderCase
{
    int style;
    int lines;
    int boxes;
};

// With three columns there are two lines between them.
const BorderCase BorderCases[] = {
    {0, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 2, 0}, {4, 0, 1}, {5, 2, 0}, {6, 4, 0}, {7, 2, 1},
};

class PageBorderTest : public ::testing::TestWithParam<BorderCase>
{};

TEST_P(PageBorderTest, RecordsTheLinesAndBoxOfTheStyle)
{
    const BorderCase& c = GetParam();
    PrintSurface surface;
    surface.setColumns(3);
    surface.setPageBorder(c.style);
    surface.setPenWidth(10);
    surface.StartDoc();
    surface.EndDoc();
    int lines = 0;
    int boxes = 0;
    const double top = surface.TextAreaTop();
    const double bottom = surface.TextAreaBottom();
    for (const Shape& shape : surface.document().pages().front().shapes) {
        EXPECT_EQ(shape.role, ItemRole::Border);
        EXPECT_EQ(shape.penWidth, 10);
        if (shape.kind == Shape::Kind::Rectangle) {
            ++boxes;
            EXPECT_EQ(shape.x1, surface.MarginLeft());
            EXPECT_EQ(shape.x2, surface.PageWidth() - surface.MarginRight());
            EXPECT_EQ(shape.y1, top);
            EXPECT_EQ(shape.y2, bottom);
        } else {
            ++lines;
            const bool horizontal = shape.y1 == shape.y2;
            if (horizontal) {
                EXPECT_TRUE(shape.y1 == top || shape.y1 == bottom);
            } else {
                EXPECT_TRUE(shape.y1 == top && shape.y2 == bottom);
            }
        }
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(boxes, c.boxes);
}

INSTANTIATE_TEST_SUITE_P(Styles, PageBorderTest, ::testing::ValuesIn(BorderCases));

TEST(PageBorder, ColumnLinesRunDownTheMiddleOfTheGaps)
{
    PrintSurface surface;
    surface.setColumns(2);
    surface.setColumnSpacing(360);
    surface.setPageBorder(5);
    surface.StartDoc();
    surface.EndDoc();
    const auto& shapes = surface.document().pages().front().shapes;
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].x1, 6120); // 1440 + 4500 + 180
    EXPECT_EQ(shapes[0].x2, 6120);
}

} // namespace
