// The drawer of VBScript block connections on a real print surface: which statements push which
// keywords, the stack operations, and the lines on the recorded pages, also across page and column
// breaks with the page events wired as the page furniture wires them.
#include "DrawConnections.h"

#include <CurrentSurface.h>
#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

using namespace folionix;

namespace {

// What the page furniture does with the drawer at each page event.
class ConnectionEvents : public SurfaceEvents
{
public:
    ConnectionEvents(PrintSurface& surface, clsDrawConnections& drawer) : m_surface(surface), m_drawer(drawer)
    {}
    void NewPage() override
    {
        if (m_surface.PageCount() > 0) {
            m_drawer.AdjustCoordinates(2);
            m_drawer.DrawConnections();
        }
    }
    void EndPage() override
    {
        if (m_surface.PageCount() > 0)
            m_drawer.DrawConnections();
    }
    void NewColumn() override
    {
        if (m_surface.CurrentColumn() >= 2)
            m_drawer.AdjustCoordinates(1);
    }

private:
    PrintSurface& m_surface;
    clsDrawConnections& m_drawer;
};

// "Keyword/S", "/M" or "/E" for each record, bottom first.
QStringList describe(const std::vector<clsConnection>& records)
{
    QStringList out;
    for (const clsConnection& r : records) {
        const int kinds = int(r.isStartKeyword) + int(r.isMiddleKeyword) + int(r.isEndKeyword);
        const char* kind = kinds != 1 ? "?" : r.isStartKeyword ? "S" : r.isMiddleKeyword ? "M" : "E";
        out << r.Keyword + u'/' + QLatin1String(kind);
    }
    return out;
}

bool isTick(const Shape& s)
{
    return s.kind == Shape::Kind::Line && s.y1 == s.y2 && s.x1 != s.x2;
}

bool isVertical(const Shape& s)
{
    return s.kind == Shape::Kind::Line && s.x1 == s.x2;
}

std::vector<Shape> ticks(const Page& page)
{
    std::vector<Shape> out;
    std::copy_if(page.shapes.begin(), page.shapes.end(), std::back_inserter(out), isTick);
    return out;
}

// The vertical lines at x (within half a twip) merged into maximal spans, top down.
std::vector<std::pair<double, double>> spansAt(const Page& page, double x)
{
    std::vector<std::pair<double, double>> parts;
    for (const Shape& s : page.shapes) {
        if (isVertical(s) && std::abs(s.x1 - x) <= 0.5)
            parts.emplace_back(std::min(s.y1, s.y2), std::max(s.y1, s.y2));
    }
    std::sort(parts.begin(), parts.end());
    std::vector<std::pair<double, double>> spans;
    for (const auto& p : parts) {
        if (!spans.empty() && p.first <= spans.back().second)
            spans.back().second = std::max(spans.back().second, p.second);
        else
            spans.push_back(p);
    }
    return spans;
}

// Total length of the vertical lines at x: equal to the spans' length when nothing is drawn twice.
double drawnLengthAt(const Page& page, double x)
{
    double length = 0;
    for (const Shape& s : page.shapes) {
        if (isVertical(s) && std::abs(s.x1 - x) <= 0.5)
            length += std::abs(s.y2 - s.y1);
    }
    return length;
}

class DrawConnectionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_vsPrinter = &surface;
        surface.setDevice(QStringLiteral("PDF"));
        surface.setMarginLeft(1440);
        surface.setMarginTop(1440);
        surface.setMarginRight(1440);
        surface.setMarginBottom(1440);
        surface.setFontName(QStringLiteral("Courier New"));
        surface.setFontSize(8);
        surface.setEvents(&events);
        mendwick::setReportSink([this](const QString&, const QString& report) { reports << report; });
    }
    void TearDown() override
    {
        surface.setEvents(nullptr);
        g_vsPrinter = nullptr;
        mendwick::resetReportSink();
    }

    // Starts the document with a text area of columns columns that holds linesPerColumn lines.
    void start(int columns = 1, int linesPerColumn = 0)
    {
        surface.setColumns(columns);
        if (linesPerColumn > 0) {
            const double room = (linesPerColumn + 0.5) * lineHeight();
            surface.setMarginBottom(int(surface.PageHeight() - surface.MarginTop() - room));
        }
        surface.StartDoc();
    }

    double lineHeight() const { return surface.TextHeight(QStringLiteral("Ag")); }
    // The Keywords font is the listing font here (Courier New 8 pt, 96 twips a character).
    double H() const { return std::round(lineHeight()); }
    static constexpr double G = 48;

    // One listing line as the statement output prints it: the gutter (so that a break happens before
    // the keyword), the indentation, the keyword handed over just before the statement is printed,
    // connections drawn at the end of the line, then the line ended.
    void printLine(int indent, const QString& statement, QString keyword = {})
    {
        surface.AddText(QString(1 + indent, u' '));
        if (keyword.isEmpty())
            keyword = statement.section(u' ', 0, 0).section(u'(', 0, 0);
        drawer.FilterConnectionKeyword(statement, keyword);
        surface.AddText(statement);
        drawer.DrawConnections();
        surface.AddParagraph(QString());
    }

    // The body run that printed text, searched from the end of the document.
    std::pair<size_t, TextRun> runOf(const QString& text) const
    {
        const auto& pages = surface.document().pages();
        for (size_t p = pages.size(); p-- > 0;) {
            for (const TextRun& run : pages[p].runs) {
                if (run.role == ItemRole::Body && surface.document().textOf(run) == text)
                    return {p, run};
            }
        }
        ADD_FAILURE() << "no run " << text.toStdString();
        return {0, TextRun{}};
    }
    // Where the tick of a keyword printed on a line at y sits, and where a line drawn to y ends.
    double tickY(double y) const { return H() / 2 + y + 20; }
    double lineEndY(double y) const { return 20 + H() / 2 + y; }

    void expectTickAt(const Page& page, const TextRun& keywordRun) const
    {
        const std::vector<Shape> all = ticks(page);
        const bool found = std::any_of(all.begin(), all.end(), [&](const Shape& s) {
            return std::abs(s.x2 - keywordRun.x) <= 0.5 && std::abs(s.x1 - (keywordRun.x - G)) <= 0.5 &&
                   std::abs(s.y1 - tickY(keywordRun.y)) <= 0.5;
        });
        EXPECT_TRUE(found) << "no tick into the keyword at x " << keywordRun.x << ", y " << keywordRun.y;
    }

    PrintSurface surface;
    clsDrawConnections drawer;
    ConnectionEvents events{surface, drawer};
    QStringList reports;
};

// Statements and the records they push

struct FilterCase
{
    const char* statement;
    const char* keyword;
    QStringList pushed;
};

void PrintTo(const FilterCase& c, std::ostream* os)
{
    *os << c.statement;
}

class FilterConnectionKeywordTest : public DrawConnectionsTest,
                                    public ::testing::WithParamInterface<FilterCase>
{};

TEST_P(FilterConnectionKeywordTest, PushesTheBlockKeywordsTheStatementBeginsWith)
{
    start();
    const FilterCase& c = GetParam();
    drawer.FilterConnectionKeyword(QString::fromUtf8(c.statement), QString::fromUtf8(c.keyword));
    EXPECT_EQ(describe(drawer.ConnectionStack()), c.pushed) << c.statement;
    EXPECT_EQ(drawer.Tos(), c.pushed.size() - 1);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
}

const FilterCase kFilterCases[] = {
    // If: a block If pushes, a single-line If does not
    {"If a Then", "If", {"If/S"}},
    {"if a then", "IF", {"If/S"}},
    {"If a Then b = 1", "If", {}},
    {"If a Then ' then what", "If", {"If/S"}},
    {"If s = \" Then x \" Then", "If", {"If/S"}},
    {"If s = \"it's\" Then t = 1", "If", {}},
    {"If(a) Then", "If", {"If/S"}},
    {"If(a) Then b", "If", {}},
    {"<% If a Then %>", "If", {"If/S"}},
    // The rest of the table
    {"#If DEBUG Then", "#", {"#If/S"}},
    {"#Else", "#", {"#Else/M"}},
    {"#ElseIf X Then", "#", {"#ElseIf/M"}},
    {"#End If", "#", {"#EndIf/E"}},
    {"#Endif", "#", {"#Endif/E"}},
    {"Enum Colours", "Enum", {"Enum/S"}},
    {"Private Type T", "Private", {"Private Type/S"}},
    {"Private Enum E", "Private", {"Private Enum/S"}},
    {"Public Type T", "Public", {"Public Type/S"}},
    {"Public Enum E", "Public", {"Public Enum/S"}},
    {"Private Sub Go()", "Private", {}},
    {"Public Function F()", "Public", {}},
    {"Private: Do", "Private", {"Do/S"}},
    {"Public: Do", "Public", {"Do/S"}},
    {"Select Case n", "Select", {"Select/S"}},
    {"select case n", "select", {"select/S"}},
    {"With obj", "With", {"With/S"}},
    {"For i = 1 To 3", "For", {"For/S"}},
    {"For Each x In y", "For", {"For/S"}},
    {"Do While a", "Do", {"Do/S"}},
    {"While a", "While", {"While/S"}},
    {"Type T", "Type", {"Type/S"}},
    {"ElseIf b Then", "ElseIf", {"ElseIf/M"}},
    {"Else", "Else", {"Else/M"}},
    {"Else x = 1", "Else", {"Else/M"}},
    {"Else If b Then", "Else", {"Else If/M"}},
    {"End If", "End", {"End If/E"}},
    {"END IF", "End", {"End If/E"}},
    {"End Select", "End", {"End Select/E"}},
    {"End With", "End", {"End With/E"}},
    {"End Type", "End", {"End Type/E"}},
    {"End Enum", "End", {"End Enum/E"}},
    {"End Sub", "End", {}},
    {"End Function", "End", {}},
    {"End: Do", "End", {"Do/S"}},
    {"Next", "Next", {"Next/E"}},
    {"Loop Until a", "Loop", {"Loop/E"}},
    {"Wend", "Wend", {"Wend/E"}},
    {"Case 1, 2", "Case", {"Case/M"}},
    {"Case Else", "Case", {"Case Else/M"}},
    {"Dim x", "Dim", {}},
    {"Exit Do: Loop", "Exit", {"Loop/E"}},
    // Several statements on one line; an empty one ends the examination
    {"Do: x = x + 1: Loop", "Do", {"Do/S", "Loop/E"}},
    {"If a Then: b = 1: End If", "If", {"If/S", "End If/E"}},
    {"Do: : Loop", "Do", {"Do/S"}},
    {"Do:", "Do", {"Do/S"}},
    {": Do", "Do", {}},
    // A statement that does not begin with its keyword connects nothing, even after a colon
    {"x = 1: If a Then", "If", {}},
    {"Response.Write 1: Do", "Do", {}},
    // Colons and apostrophes in string literals and comments are no statement separators
    {"If InStr(s, \":\") > 0 Then t = 1", "If", {}},
    {"Do Until s = \"a: Loop b\"", "Do", {"Do/S"}},
    {"Do Until s = \"a:b\": Loop", "Do", {"Do/S", "Loop/E"}},
    {"Loop ' done: Next", "Loop", {"Loop/E"}},
    {"Do: Rem note: Loop", "Do", {"Do/S"}},
    // Words: runs of blanks and an opening parenthesis separate them
    {"End  If", "End", {"End If/E"}},
    {"While(a > 1)", "While", {"While/S"}},
    {"ElseIf(a) Then", "ElseIf", {"ElseIf/M"}},
};

INSTANTIATE_TEST_SUITE_P(Statements, FilterConnectionKeywordTest, ::testing::ValuesIn(kFilterCases));

// Stack operations

TEST_F(DrawConnectionsTest, PushRecordsThePrintPositionInTheColumn)
{
    start(2);
    EXPECT_EQ(drawer.Tos(), -1);
    surface.AddText(QStringLiteral("     "));
    const double y = surface.CurrentY();
    drawer.PushKeyword(QStringLiteral("For"), true, false, false);
    surface.AddParagraph(QString());
    surface.NewColumn();
    surface.AddText(QStringLiteral("  "));
    drawer.PushKeyword(QStringLiteral("Next"), false, false, true);

    const std::vector<clsConnection> records = drawer.ConnectionStack();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(drawer.Tos(), 1);
    EXPECT_EQ(describe(records), (QStringList{"For/S", "Next/E"}));
    // Five and two characters of 96 twips from the left edge of the column they were printed in.
    EXPECT_EQ(records[0].xPos, 480);
    EXPECT_EQ(records[1].xPos, 192);
    EXPECT_EQ(records[0].yPos, int32_t(std::lround(y)));
    EXPECT_EQ(records[1].yPos, surface.MarginTop());
    EXPECT_FALSE(records[1].Continued);
    EXPECT_EQ(records[1].Page, 1);
}

struct GrowthCase
{
    int pushes;
    int slotCount;
};

class StackGrowthTest : public DrawConnectionsTest, public ::testing::WithParamInterface<GrowthCase>
{};

TEST_P(StackGrowthTest, StorageGrowsByOneHundredSlotsAndKeepsEveryRecord)
{
    start();
    const GrowthCase& c = GetParam();
    EXPECT_EQ(drawer.Slots(), 1);
    for (int i = 0; i < c.pushes; ++i)
        drawer.PushKeyword(QStringLiteral("K%1").arg(i), i % 2 == 0, i % 2 == 1, false);
    EXPECT_EQ(drawer.Tos(), c.pushes - 1);
    EXPECT_EQ(drawer.Slots(), c.slotCount);
    const std::vector<clsConnection> records = drawer.ConnectionStack();
    ASSERT_EQ(records.size(), size_t(c.pushes));
    for (int i = 0; i < c.pushes; ++i) {
        EXPECT_EQ(records[i].Keyword, QStringLiteral("K%1").arg(i));
        EXPECT_EQ(records[i].isStartKeyword, i % 2 == 0);
    }

    drawer.UnstackAll();
    EXPECT_EQ(drawer.Tos(), -1);
    EXPECT_EQ(drawer.Slots(), 1);
    EXPECT_TRUE(drawer.ConnectionStack().empty());
    drawer.PushKeyword(QStringLiteral("Do"), true, false, false);
    EXPECT_EQ(describe(drawer.ConnectionStack()), QStringList{"Do/S"});
}

INSTANTIATE_TEST_SUITE_P(Pushes, StackGrowthTest,
                         ::testing::Values(GrowthCase{0, 1}, GrowthCase{1, 1}, GrowthCase{2, 101},
                                           GrowthCase{101, 101}, GrowthCase{102, 201}, GrowthCase{250, 301}));

TEST_F(DrawConnectionsTest, PopDropsTheTopRecordAndNothingWhenEmpty)
{
    start();
    drawer.PopKeyword();
    EXPECT_EQ(drawer.Tos(), -1);
    drawer.PushKeyword(QStringLiteral("If"), true, false, false);
    drawer.PushKeyword(QStringLiteral("Else"), false, true, false);
    drawer.PopKeyword();
    EXPECT_EQ(describe(drawer.ConnectionStack()), QStringList{"If/S"});
    drawer.PopKeyword();
    drawer.PopKeyword();
    EXPECT_EQ(drawer.Tos(), -1);
    EXPECT_TRUE(reports.isEmpty());
}

struct UnstackCase
{
    const char* name;
    QStringList before; // "Keyword/S|M|E"
    QStringList after;
};

class UnstackTest : public DrawConnectionsTest, public ::testing::WithParamInterface<UnstackCase>
{};

TEST_P(UnstackTest, ClosesTheInnermostBlockOnlyWhenTheTopEndsIt)
{
    start();
    for (const QString& r : GetParam().before) {
        const QChar kind = r.back();
        drawer.PushKeyword(r.chopped(2), kind == u'S', kind == u'M', kind == u'E');
    }
    drawer.Unstack();
    EXPECT_EQ(describe(drawer.ConnectionStack()), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Stacks, UnstackTest,
    ::testing::Values(UnstackCase{"Empty", {}, {}},
                      UnstackCase{"StartOnTop", {"For/S", "If/S"}, {"For/S", "If/S"}},
                      UnstackCase{"MiddleOnTop", {"If/S", "Else/M"}, {"If/S", "Else/M"}},
                      UnstackCase{"CaseElseOnTop", {"Select/S", "Case Else/M"}, {"Select/S", "Case Else/M"}},
                      UnstackCase{"CaseOnTop", {"For/S", "Select/S", "Case/M"}, {"For/S"}},
                      UnstackCase{"LowerCaseCase", {"Select/S", "case/M"}, {}},
                      UnstackCase{"EndOnTop", {"For/S", "If/S", "Else/M", "End If/E"}, {"For/S"}},
                      UnstackCase{"NoStartBelow", {"Else/M", "Next/E"}, {}}),
    [](const ::testing::TestParamInfo<UnstackCase>& info) { return std::string(info.param.name); });

class AdjustCoordinatesTest : public DrawConnectionsTest, public ::testing::WithParamInterface<int>
{};

TEST_P(AdjustCoordinatesTest, MovesEveryRecordToTheTopAndMarksItContinued)
{
    start();
    surface.AddParagraph(QStringLiteral("x"));
    surface.AddText(QStringLiteral("  "));
    drawer.PushKeyword(QStringLiteral("Do"), true, false, false);
    surface.AddParagraph(QStringLiteral("x"));
    drawer.PushKeyword(QStringLiteral("Case"), false, true, false);
    drawer.AdjustCoordinates(GetParam());
    surface.AddParagraph(QStringLiteral("x"));
    drawer.PushKeyword(QStringLiteral("Loop"), false, false, true);
    const int32_t loopY = int32_t(std::lround(surface.CurrentY()));

    const std::vector<clsConnection> records = drawer.ConnectionStack();
    ASSERT_EQ(records.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(records[i].yPos, surface.MarginTop());
        EXPECT_TRUE(records[i].Continued);
    }
    EXPECT_EQ(records[0].xPos, 192); // the horizontal offset stays
    EXPECT_EQ(records[2].yPos, loopY);
    EXPECT_FALSE(records[2].Continued);
}

INSTANTIATE_TEST_SUITE_P(Reasons, AdjustCoordinatesTest, ::testing::Values(1, 2));

TEST_F(DrawConnectionsTest, TheProcessWideDrawerIsOneObject)
{
    EXPECT_EQ(&DrawConnectionsInstance(), &DrawConnectionsInstance());
}

// Drawing

TEST_F(DrawConnectionsTest, IfElseEndIfDrawsThreeTicksJoinedByOneLine)
{
    start();
    printLine(1, QStringLiteral("If a Then"));
    printLine(3, QStringLiteral("x = 1"));
    printLine(1, QStringLiteral("Else"));
    printLine(3, QStringLiteral("x = 2"));
    printLine(1, QStringLiteral("End If"));
    EXPECT_EQ(drawer.Tos(), -1);
    const size_t shapesAtEnd = surface.document().pages()[0].shapes.size();
    printLine(1, QStringLiteral("y = 3"));

    const Page& page = surface.document().pages()[0];
    EXPECT_EQ(page.shapes.size(), shapesAtEnd) << "nothing drawn once the block is closed";
    const TextRun ifRun = runOf(QStringLiteral("If a Then")).second;
    const TextRun endRun = runOf(QStringLiteral("End If")).second;
    EXPECT_EQ(ticks(page).size(), 3u);
    expectTickAt(page, ifRun);
    expectTickAt(page, runOf(QStringLiteral("Else")).second);
    expectTickAt(page, endRun);

    const double x = ifRun.x - G;
    const auto spans = spansAt(page, x);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(spans[0].first, tickY(ifRun.y), 0.5);
    EXPECT_NEAR(spans[0].second, lineEndY(endRun.y), 0.5);
    EXPECT_NEAR(drawnLengthAt(page, x), spans[0].second - spans[0].first, 0.01) << "parts drawn twice";
    for (const Shape& s : page.shapes) {
        EXPECT_EQ(s.penColor, WinColor(Options().Font(tokenclass::LineNumbers).Color));
        EXPECT_EQ(s.penWidth, 1);
    }
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
}

TEST_F(DrawConnectionsTest, SelectCaseTicksEveryCaseAndClosesAtEndSelect)
{
    start();
    printLine(1, QStringLiteral("Select Case n"));
    printLine(1, QStringLiteral("Case 1"));
    printLine(3, QStringLiteral("a = 1"));
    printLine(1, QStringLiteral("Case Else"));
    printLine(3, QStringLiteral("a = 2"));
    EXPECT_EQ(describe(drawer.ConnectionStack()), (QStringList{"Select/S", "Case/M", "Case Else/M"}));
    printLine(1, QStringLiteral("End Select"));
    EXPECT_EQ(drawer.Tos(), -1);

    const Page& page = surface.document().pages()[0];
    EXPECT_EQ(ticks(page).size(), 4u);
    for (const char* keyword : {"Select Case n", "Case 1", "Case Else", "End Select"})
        expectTickAt(page, runOf(QString::fromLatin1(keyword)).second);
    const TextRun selectRun = runOf(QStringLiteral("Select Case n")).second;
    const auto spans = spansAt(page, selectRun.x - G);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(spans[0].first, tickY(selectRun.y), 0.5);
    EXPECT_NEAR(spans[0].second, lineEndY(runOf(QStringLiteral("End Select")).second.y), 0.5);
}

TEST_F(DrawConnectionsTest, LinesThatOpenNoBlockDrawNothing)
{
    start();
    const std::pair<const char*, const char*> lines[] = {
        {"If a Then b = 1", "If"}, {"x = 1: If a Then", "If"}, {"End Sub", "End"},
        {"End Function", "End"},   {"Exit For", "Exit"},       {": Do", "Do"},
    };
    for (const auto& [statement, keyword] : lines) {
        printLine(1, QString::fromLatin1(statement), QString::fromLatin1(keyword));
        EXPECT_EQ(drawer.Tos(), -1) << statement;
    }
    EXPECT_TRUE(surface.document().pages()[0].shapes.empty());
}

TEST_F(DrawConnectionsTest, NestedBlocksEachGetTheirOwnLine)
{
    start();
    printLine(1, QStringLiteral("For i = 1 To 3"));
    printLine(3, QStringLiteral("If a Then"));
    printLine(5, QStringLiteral("x = 1"));
    printLine(3, QStringLiteral("End If"));
    EXPECT_EQ(describe(drawer.ConnectionStack()), QStringList{"For/S"});
    printLine(3, QStringLiteral("y = 2"));
    printLine(1, QStringLiteral("Next"));
    EXPECT_EQ(drawer.Tos(), -1);

    const Page& page = surface.document().pages()[0];
    EXPECT_EQ(ticks(page).size(), 4u);
    const TextRun forRun = runOf(QStringLiteral("For i = 1 To 3")).second;
    const TextRun ifRun = runOf(QStringLiteral("If a Then")).second;
    EXPECT_EQ(ifRun.x - forRun.x, 192);
    const auto outer = spansAt(page, forRun.x - G);
    const auto inner = spansAt(page, ifRun.x - G);
    ASSERT_EQ(outer.size(), 1u);
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_NEAR(outer[0].first, tickY(forRun.y), 0.5);
    EXPECT_NEAR(outer[0].second, lineEndY(runOf(QStringLiteral("Next")).second.y), 0.5);
    EXPECT_NEAR(inner[0].first, tickY(ifRun.y), 0.5);
    EXPECT_NEAR(inner[0].second, lineEndY(runOf(QStringLiteral("End If")).second.y), 0.5);
}

TEST_F(DrawConnectionsTest, AnEndBeforeAnOpeningOnOneLineClosesTheOuterBlockThere)
{
    start();
    printLine(1, QStringLiteral("If a Then"));
    printLine(3, QStringLiteral("x = 1"));
    printLine(1, QStringLiteral("End If: If b Then"), QStringLiteral("End"));
    EXPECT_EQ(describe(drawer.ConnectionStack()), QStringList{"If/S"});
    printLine(3, QStringLiteral("y = 2"));
    printLine(1, QStringLiteral("End If"));
    EXPECT_EQ(drawer.Tos(), -1);

    const Page& page = surface.document().pages()[0];
    const TextRun first = runOf(QStringLiteral("If a Then")).second;
    const TextRun both = runOf(QStringLiteral("End If: If b Then")).second;
    const auto spans = spansAt(page, first.x - G);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_NEAR(spans[0].first, tickY(first.y), 0.5);
    EXPECT_NEAR(spans[0].second, lineEndY(runOf(QStringLiteral("End If")).second.y), 0.5)
        << "the second block's line, at the same place, runs on to its own End If";
    // Ticks: If, End If and If at one place on the middle line, and the last End If.
    EXPECT_EQ(ticks(page).size(), 4u);
    expectTickAt(page, both);
}

TEST_F(DrawConnectionsTest, EveryTickAndEveryPartOfALineIsDrawnOnce)
{
    start();
    printLine(1, QStringLiteral("Select Case n"));
    constexpr int cases = 40;
    for (int i = 0; i < cases; ++i) {
        printLine(1, QStringLiteral("Case %1").arg(i));
        printLine(3, QStringLiteral("a = %1").arg(i));
    }
    printLine(1, QStringLiteral("End Select"));

    const auto& pages = surface.document().pages();
    size_t tickCount = 0;
    for (const Page& page : pages) {
        tickCount += ticks(page).size();
        const double x = runOf(QStringLiteral("Select Case n")).second.x - G;
        for (const auto& span : spansAt(page, x))
            EXPECT_NEAR(drawnLengthAt(page, x), span.second - span.first, 0.01);
    }
    EXPECT_EQ(tickCount, size_t(cases + 2));
    EXPECT_EQ(drawer.Tos(), -1);
}

TEST_F(DrawConnectionsTest, UnstackAllLeavesTheLinesDrawnAndDrawsNoMore)
{
    start();
    printLine(1, QStringLiteral("Do While a"));
    printLine(3, QStringLiteral("x = 1"));
    const size_t drawn = surface.document().pages()[0].shapes.size();
    EXPECT_GE(drawn, 2u);
    drawer.UnstackAll();
    printLine(3, QStringLiteral("y = 2"));
    printLine(3, QStringLiteral("z = 3"));
    EXPECT_EQ(surface.document().pages()[0].shapes.size(), drawn);
    EXPECT_EQ(drawer.Tos(), -1);
}

TEST_F(DrawConnectionsTest, DrawingLeavesTheSurfaceFontAndPenAsTheyWere)
{
    start();
    surface.setFontName(QStringLiteral("Times New Roman"));
    surface.setFontSize(12);
    surface.setFontBold(true);
    surface.setTextColor(0x123456);
    surface.setPenWidth(7);
    surface.setPenColor(0x654321);
    const PrintSurface::FontState before = surface.SaveFont();
    printLine(1, QStringLiteral("With obj"));
    surface.AddParagraph(QStringLiteral("x"));
    drawer.DrawConnections();

    const PrintSurface::FontState after = surface.SaveFont();
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(after.size, before.size);
    EXPECT_EQ(after.bold, before.bold);
    EXPECT_EQ(after.color, before.color);
    EXPECT_EQ(surface.PenWidth(), 7);
    EXPECT_EQ(surface.PenColor(), WinColor(0x654321));
    const Shape& last = surface.document().pages()[0].shapes.back();
    EXPECT_EQ(last.penWidth, 1);
    EXPECT_EQ(last.penColor, WinColor(Options().Font(tokenclass::LineNumbers).Color));
}

class TickLengthTest : public DrawConnectionsTest,
                       public ::testing::WithParamInterface<std::pair<int, double>>
{};

TEST_P(TickLengthTest, TicksAreHalfAWideLetterOfTheKeywordsFont)
{
    clsFont& keywords = Options().Font(tokenclass::Keywords);
    const clsFont saved = keywords;
    keywords.Size = int16_t(GetParam().first);
    start();
    printLine(1, QStringLiteral("Do"));
    keywords = saved;

    const std::vector<Shape> all = ticks(surface.document().pages()[0]);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_DOUBLE_EQ(all[0].x2 - all[0].x1, GetParam().second);
    EXPECT_NEAR(all[0].x2, runOf(QStringLiteral("Do")).second.x, 0.5);
}

// Courier New: 96 twips a character at 8 pt, 192 at 16 pt.
INSTANTIATE_TEST_SUITE_P(KeywordSizes, TickLengthTest,
                         ::testing::Values(std::pair<int, double>{8, 48}, std::pair<int, double>{16, 96}));

// Page and column changes

TEST_F(DrawConnectionsTest, ABlockCrossingAPageBreakContinuesFromTheTopWithoutATick)
{
    start(1, 6);
    printLine(1, QStringLiteral("a = 1"));
    printLine(1, QStringLiteral("b = 2"));
    printLine(1, QStringLiteral("If a Then"));
    for (int i = 0; i < 7; ++i)
        printLine(3, QStringLiteral("x = %1").arg(i));
    printLine(1, QStringLiteral("End If"));
    const auto& pages = surface.document().pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(drawer.Tos(), -1);

    const auto [ifPage, ifRun] = runOf(QStringLiteral("If a Then"));
    const auto [endPage, endRun] = runOf(QStringLiteral("End If"));
    EXPECT_EQ(ifPage, 0u);
    EXPECT_EQ(endPage, 1u);
    const double x = ifRun.x - G;

    // First page: the tick, and the line down past the last line on the page.
    const TextRun lastOnFirst = runOf(QStringLiteral("x = 2")).second;
    ASSERT_EQ(runOf(QStringLiteral("x = 3")).first, 1u) << "the text area was meant to hold six lines";
    EXPECT_EQ(ticks(pages[0]).size(), 1u);
    expectTickAt(pages[0], ifRun);
    const auto first = spansAt(pages[0], x);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_NEAR(first[0].first, tickY(ifRun.y), 0.5);
    EXPECT_NEAR(first[0].second, lineEndY(lastOnFirst.y + lastOnFirst.height), 0.5);

    // Second page: from the top of the text area, at the same place; only the End If gets a tick.
    EXPECT_EQ(ticks(pages[1]).size(), 1u);
    expectTickAt(pages[1], endRun);
    const auto second = spansAt(pages[1], x);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NEAR(second[0].first, tickY(surface.MarginTop()), 0.5);
    EXPECT_NEAR(second[0].second, lineEndY(endRun.y), 0.5);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
}

TEST_F(DrawConnectionsTest, ABlockCrossingIntoTheNextColumnKeepsItsOffsetFromTheColumnEdge)
{
    start(2, 5);
    printLine(1, QStringLiteral("Do While a"));
    printLine(3, QStringLiteral("If b Then"));
    for (int i = 0; i < 4; ++i)
        printLine(5, QStringLiteral("x = %1").arg(i));
    printLine(3, QStringLiteral("End If"));
    printLine(1, QStringLiteral("Loop"));
    const auto& pages = surface.document().pages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(drawer.Tos(), -1);

    const TextRun doRun = runOf(QStringLiteral("Do While a")).second;
    const TextRun ifRun = runOf(QStringLiteral("If b Then")).second;
    const TextRun lastInFirst = runOf(QStringLiteral("x = 2")).second;
    const TextRun endIfRun = runOf(QStringLiteral("End If")).second;
    const TextRun loopRun = runOf(QStringLiteral("Loop")).second;
    ASSERT_EQ(lastInFirst.column, 1);
    ASSERT_EQ(runOf(QStringLiteral("x = 3")).second.column, 2);
    // Both columns' lines start with a one-blank gutter at the column's left edge.
    const double shift = loopRun.x - doRun.x;
    EXPECT_GT(shift, 0);

    const Page& page = pages[0];
    EXPECT_EQ(ticks(page).size(), 4u);
    expectTickAt(page, doRun);
    expectTickAt(page, ifRun);
    expectTickAt(page, endIfRun);
    expectTickAt(page, loopRun);
    for (const TextRun& opening : {doRun, ifRun}) {
        const auto inFirst = spansAt(page, opening.x - G);
        ASSERT_EQ(inFirst.size(), 1u);
        EXPECT_NEAR(inFirst[0].first, tickY(opening.y), 0.5);
        EXPECT_NEAR(inFirst[0].second, lineEndY(lastInFirst.y), 0.5);
        const auto inSecond = spansAt(page, opening.x + shift - G);
        ASSERT_EQ(inSecond.size(), 1u);
        EXPECT_NEAR(inSecond[0].first, tickY(surface.MarginTop()), 0.5);
    }
    EXPECT_NEAR(spansAt(page, ifRun.x + shift - G)[0].second, lineEndY(endIfRun.y), 0.5);
    EXPECT_NEAR(spansAt(page, doRun.x + shift - G)[0].second, lineEndY(loopRun.y), 0.5);
}

// Failures

TEST_F(DrawConnectionsTest, WithoutASurfaceTheFailureIsReportedAndTheStackKept)
{
    start();
    printLine(1, QStringLiteral("For i = 1 To 2"));
    g_vsPrinter = nullptr;
    drawer.PushKeyword(QStringLiteral("Next"), false, false, true);
    EXPECT_EQ(describe(drawer.ConnectionStack()), QStringList{"For/S"});
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QLatin1String("PushKeyword"))) << reports[0].toStdString();
    drawer.DrawConnections();
    drawer.AdjustCoordinates(2);
    EXPECT_EQ(reports.size(), 3);
    EXPECT_EQ(describe(drawer.ConnectionStack()), QStringList{"For/S"});
    EXPECT_FALSE(drawer.ConnectionStack()[0].Continued);
}

} // namespace
