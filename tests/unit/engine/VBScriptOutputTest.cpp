#include "EngineFixture.h"

namespace folionix::test {
namespace {

class VBScriptOutputTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        for (const char* k : {"Dim", "Function", "End", "If", "Then"})
            VBScriptKeywords().add(QString::fromLatin1(k));
    }
    void TearDown() override
    {
        VBScriptKeywords().clear();
        EngineTest::TearDown();
    }
    // The run whose text is t (the first one).
    const TextRun* runOf(const QString& t) const
    {
        for (const Page& page : doc().pages())
            for (const TextRun& run : page.runs)
                if (doc().textOf(run) == t)
                    return &run;
        return nullptr;
    }
};

TEST_F(VBScriptOutputTest, ProcedureHeaderFontKeepsClassColours)
{
    file(QStringLiteral("p.asp"), "<%\r\nFunction Total(a)\r\nEnd Function\r\n%>");
    run({QStringLiteral("p.asp")});
    const TextRun* keyword = runOf(QStringLiteral("Function"));
    const TextRun* name = runOf(QStringLiteral("Total"));
    ASSERT_TRUE(keyword && name);
    EXPECT_EQ(doc().fonts()[keyword->font].family, QStringLiteral("Times New Roman"));
    EXPECT_TRUE(doc().fonts()[keyword->font].bold);
    EXPECT_EQ(keyword->color, WinColor(0x0000FF)); // the keyword colour
    EXPECT_EQ(doc().fonts()[name->font].family, QStringLiteral("Times New Roman"));
    EXPECT_EQ(name->color, WinColor(0x800000)); // the identifier colour
}

TEST_F(VBScriptOutputTest, KeywordFormattingFollowsTheSetting)
{
    struct Case
    {
        bool format;
        const char* expected;
    };
    for (const Case& c : {Case{true, "Dim"}, Case{false, "DIM"}}) {
        Options().VBScriptOptions.FormatKeywords = c.format;
        file(QStringLiteral("k.asp"), "<%\r\nDIM x\r\n%>");
        run({QStringLiteral("k.asp")});
        const TextRun* keyword = runOf(QString::fromLatin1(c.expected));
        ASSERT_TRUE(keyword) << c.expected;
        EXPECT_EQ(styleOf(*keyword), tokenclass::Keywords);
    }
}

TEST_F(VBScriptOutputTest, DelimiterBoxesInColourAndMonochrome)
{
    struct Case
    {
        int colorMode;
        WinColor pen, brush;
    };
    for (const Case& c : {Case{2, 0x808080, 0x00FFFF}, Case{1, 0, 0xFFFFFF}}) {
        SCOPED_TRACE(c.colorMode);
        Options().ColorMode = c.colorMode;
        file(QStringLiteral("d.asp"), "<% x = 1 %>");
        run({QStringLiteral("d.asp")});
        const Page& page = doc().pages().back();
        // The "<%" and "%>" boxes plus the line's indicator box, all in the tag colours.
        std::vector<const Shape*> boxes;
        for (const Shape& shape : page.shapes)
            if (shape.kind == Shape::Kind::RoundedBox)
                boxes.push_back(&shape);
        ASSERT_EQ(boxes.size(), 3u);
        for (const Shape* box : boxes) {
            EXPECT_EQ(box->penColor, c.pen);
            EXPECT_EQ(box->brushColor, c.brush);
        }
        const TextRun* open = runOf(QStringLiteral("<%"));
        ASSERT_TRUE(open);
        EXPECT_NEAR(boxes[0]->x1, open->x - 20, 0.5); // the box sits behind its token
    }
}

TEST_F(VBScriptOutputTest, NoHighlightNoBoxes)
{
    Options().VBScriptOptions.HighlightScriptTags = false;
    Options().VBScriptOptions.PrintScriptIndicator = false;
    file(QStringLiteral("d.asp"), "<% x = 1 %>");
    run({QStringLiteral("d.asp")});
    EXPECT_TRUE(doc().pages().back().shapes.empty() ||
                std::none_of(doc().pages().back().shapes.begin(), doc().pages().back().shapes.end(),
                             [](const Shape& s) { return s.kind == Shape::Kind::RoundedBox; }));
}

TEST_F(VBScriptOutputTest, BlockOnlyLinesMoveTheSharedLevel)
{
    Options().VBScriptOptions.TabSize = 3;
    file(QStringLiteral("l.asp"), "<table>\r\n<%\r\n%>\r\n</table>");
    TagProfiles()[QStringLiteral("table")] =
        clsHTMLElementProfile{QStringLiteral("table"), 1, 1, 1, 1, true, true};
    run({QStringLiteral("l.asp")});
    TagProfiles().clear();
    // Inside the indented table: "<%" prints at the table's level and raises it, "%>" lowers it first.
    EXPECT_EQ(bodyLines(), (QStringList{QStringLiteral(" 00001  <TABLE>"), QStringLiteral(" 00002  V   <% "),
                                        QStringLiteral(" 00003  V   %> "), QStringLiteral(" 00004  </TABLE>"),
                                        QStringLiteral(" 00005  ")}));
}

TEST_F(VBScriptOutputTest, StrayClosingDelimiterNeverTakesTheLevelBelowZero)
{
    // The block opens inline (no level raised), so its lone "%>" line would take the level to -1.
    file(QStringLiteral("s.asp"), "<% x = 1\r\n%>");
    run({QStringLiteral("s.asp")});
    EXPECT_EQ(g_iIndentLevel, 0);
}

TEST_F(VBScriptOutputTest, IndentSourceCodeOffStartsAtTheGutter)
{
    Options().VBScriptOptions.IndentSourceCode = false;
    file(QStringLiteral("i.asp"), "<%\r\nIf a Then\r\n        x = 1\r\nEnd If\r\n%>");
    run({QStringLiteral("i.asp")});
    const QStringList lines = bodyLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[2], QStringLiteral(" 00003  Vx = 1 "));
}

} // namespace
} // namespace folionix::test
