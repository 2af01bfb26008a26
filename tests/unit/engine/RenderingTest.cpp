#include "EngineFixture.h"

namespace folionix::test {
namespace {

class RenderingTest : public EngineTest
{
protected:
    // Text of the body runs, without gutters and continuation marks.
    QString printedText() const
    {
        QString text;
        for (const Page& page : doc().pages())
            for (const TextRun& run : page.runs)
                if (run.role == ItemRole::Body && !run.lineStart && doc().textOf(run) != u"\u00BB")
                    text += doc().textOf(run);
        return text;
    }
    int continuationMarks() const
    {
        int n = 0;
        for (const Page& page : doc().pages())
            for (const TextRun& run : page.runs)
                n += doc().textOf(run) == u"\u00BB" ? 1 : 0;
        return n;
    }
};

TEST_F(RenderingTest, LineNumberStepsAndWidths)
{
    struct Case
    {
        int step;
        int32_t firstNumber;
        int lines;
        QStringList expected;
    };
    const Case cases[] = {
        {5,
         1,
         6,
         {QStringLiteral("        "), QStringLiteral("        "), QStringLiteral("        "),
          QStringLiteral("        "), QStringLiteral(" 00005  "), QStringLiteral("        ")}},
        {0, 1, 3, {QStringLiteral(" 00001  "), QStringLiteral(" 00002  "), QStringLiteral(" 00003  ")}},
        {1, 123456, 2, {QStringLiteral(" 123456  "), QStringLiteral(" 123457  ")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        Options().LineNumberStep = int16_t(c.step);
        startDirect();
        g_lLineNumber = c.firstNumber;
        g_iCurrentLanguage = LangVBScript; // script lines always begin a line
        for (int i = 0; i < c.lines; ++i)
            CodeProcessor().OutputLineNumber();
        EXPECT_EQ(gutters(), c.expected);
        EXPECT_EQ(g_lLineNumber, c.firstNumber + c.lines);
    }
}

TEST_F(RenderingTest, GutterWithoutNumbersOrIndicatorsIsOneSpace)
{
    Options().LineNumbersRequired = false;
    Options().VBScriptOptions.PrintScriptIndicator = false;
    Options().JScriptOptions.PrintScriptIndicator = false;
    startDirect();
    CodeProcessor().OutputLineNumber();
    EXPECT_EQ(gutters(), QStringList{QStringLiteral(" ")});
    EXPECT_DOUBLE_EQ(g_lLineNumberWidth, host.surface.TextWidth(QStringLiteral("   ")));
}

TEST_F(RenderingTest, EmptyHtmlLineBeginsNoLineButConsumesANumber)
{
    startDirect();
    CodeProcessor().OutputLineNumber(); // line 1 always begins
    CodeProcessor().OutputLineNumber(); // HTML and still empty: no new line
    EXPECT_EQ(gutters().size(), 1);
    EXPECT_EQ(g_lLineNumber, 3);
    CodeProcessor().OutputLineBreaks(3); // nothing printed since: no break at all
    EXPECT_EQ(g_lLineNumber, 3);
    CodeProcessor().DrawText(QStringLiteral("x"));
    CodeProcessor().OutputLineBreaks(3); // exactly one break after printed text
    EXPECT_EQ(gutters().size(), 2);
    EXPECT_EQ(g_lLineNumber, 4);
}

TEST_F(RenderingTest, TokenThatFitsExactlyStaysOneTwipMoreWraps)
{
    startDirect();
    PrintSurface& s = host.surface;
    CodeProcessor().OutputLineNumber();
    const QString token = QStringLiteral("abcdefghij");
    const double w = s.TextWidth(token);
    s.RefreshTextArea();
    s.setCurrentX(s.TextAreaRight() - w);
    CodeProcessor().DrawText(token);
    EXPECT_EQ(continuationMarks(), 0);
    EXPECT_EQ(gutters().size(), 1);

    CodeProcessor().OutputLineNumber();
    s.setCurrentX(s.TextAreaRight() - w + 1);
    CodeProcessor().DrawText(token);
    EXPECT_EQ(continuationMarks(), 1);
    const int32_t next = g_lLineNumber;
    CodeProcessor().OutputLineNumber();
    EXPECT_EQ(gutters().back(), QStringLiteral(" 00003  ")); // the continuation took no number
    EXPECT_EQ(g_lLineNumber, next + 1);
    // The continued token starts just right of the mark, near the gutter width.
    const auto& runs = doc().pages().back().runs;
    auto it = std::find_if(runs.begin(), runs.end(),
                           [&](const TextRun& r) { return doc().textOf(r) == u"\u00BB"; });
    ASSERT_NE(it, runs.end());
    const TextRun& mark = *it;
    const TextRun& continued = *(it + 1);
    EXPECT_EQ(doc().textOf(continued), token);
    // The mark sits left of the gutter's edge and the text continues at about that edge.
    EXPECT_LT(mark.x + mark.width, continued.x);
    EXPECT_NEAR(continued.x, s.TextAreaLeft() + g_lLineNumberWidth, s.TextWidth(QStringLiteral("x")));
    EXPECT_EQ(doc().fonts()[mark.font].family, QStringLiteral("Times New Roman"));
    EXPECT_EQ(styleOf(continued), tokenclass::LineNumbers); // the style in force before the mark
}

TEST_F(RenderingTest, TokenWiderThanALineIsBrokenEveryCharacterPrinted)
{
    startDirect();
    CodeProcessor().OutputLineNumber();
    CodeProcessor().SetFonts(tokenclass::Text);
    QString token;
    for (int i = 0; i < 700; ++i)
        token += QChar(u'a' + i % 26);
    token += u'Z';
    CodeProcessor().DrawText(token);
    EXPECT_EQ(printedText(), token);
    EXPECT_GE(continuationMarks(), 5);
    const PrintSurface& s = host.surface;
    for (const TextRun& run : doc().pages().back().runs)
        EXPECT_LE(run.x + run.width, s.TextAreaRight() + 0.01) << doc().textOf(run).toString().toStdString();
    EXPECT_FALSE(g_bLineEmpty);
}

TEST_F(RenderingTest, CharacterWiderThanAWholeLineStandsAlone)
{
    Options().Columns = 5;
    Options().PageOrientation = 0;
    startDirect();
    CodeProcessor().OutputLineNumber();
    PrintSurface& s = host.surface;
    s.setFontSize(200); // one glyph is wider than a fifth of the page
    s.RefreshTextArea();
    ASSERT_GT(s.TextWidth(QStringLiteral("W")), s.TextAreaRight() - s.TextAreaLeft() - g_lLineNumberWidth);
    CodeProcessor().DrawText(QStringLiteral("WWW"));
    EXPECT_EQ(printedText(), QStringLiteral("WWW"));
}

TEST_F(RenderingTest, ScriptIndicatorOncePerLineNotForHtmlOrStyles)
{
    startDirect();
    auto letters = [&] {
        int n = 0;
        for (const Page& page : doc().pages())
            for (const TextRun& run : page.runs)
                n += (doc().textOf(run) == u"V" || doc().textOf(run) == u"J") ? 1 : 0;
        return n;
    };
    g_iCurrentLanguage = LangVBScript;
    CodeProcessor().OutputLineNumber();
    for (int i = 0; i < 5; ++i)
        CodeProcessor().DrawText(QStringLiteral("tok"));
    EXPECT_EQ(letters(), 1);
    EXPECT_EQ(doc().pages().back().shapes.size(), 1u); // its box

    g_iCurrentLanguage = LangHTML;
    CodeProcessor().OutputLineNumber();
    CodeProcessor().DrawText(QStringLiteral("html"));
    EXPECT_EQ(letters(), 1);

    CodeProcessor().InStyleSheet = true;
    g_iCurrentLanguage = LangJScript;
    CodeProcessor().OutputLineNumber();
    CodeProcessor().DrawText(QStringLiteral("a{b:c}"));
    CodeProcessor().InStyleSheet = false;
    EXPECT_EQ(letters(), 1);

    CodeProcessor().OutputLineNumber();
    CodeProcessor().DrawText(QStringLiteral("x"));
    EXPECT_EQ(letters(), 2);
}

TEST_F(RenderingTest, IndicatorAndBoxColoursFollowColourMode)
{
    struct Case
    {
        int colorMode;
        WinColor pen, brush, letter;
    };
    const Case cases[] = {{2, 0x808080, 0x00FFFF, 0x808080}, {1, 0, 0xFFFFFF, 0x808080}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colorMode);
        Options().ColorMode = c.colorMode;
        startDirect();
        g_iCurrentLanguage = LangVBScript;
        CodeProcessor().OutputLineNumber();
        CodeProcessor().DrawText(QStringLiteral("x"));
        const Page& page = doc().pages().back();
        ASSERT_EQ(page.shapes.size(), 1u);
        EXPECT_EQ(page.shapes[0].penColor, c.pen);
        EXPECT_EQ(page.shapes[0].brushColor, c.brush);
        auto letter = std::find_if(page.runs.begin(), page.runs.end(),
                                   [&](const TextRun& r) { return doc().textOf(r) == u"V"; });
        ASSERT_NE(letter, page.runs.end());
        EXPECT_EQ(letter->color, c.letter); // the line-number colour as stored, whatever the mode
    }
}

TEST_F(RenderingTest, ProcedureHeaderFontKeepsTheClassColour)
{
    startDirect();
    CodeProcessor().SetFonts(tokenclass::Keywords, true);
    EXPECT_EQ(host.surface.FontName(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(host.surface.FontBold());
    EXPECT_EQ(host.surface.TextColor(), WinColor(0x0000FF));
    Options().ColorMode = 1;
    CodeProcessor().SetFonts(tokenclass::Keywords, true);
    EXPECT_EQ(host.surface.TextColor(), WinColor(0));
    CodeProcessor().SetFonts(QStringLiteral("No Such Class"));
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(RenderingTest, IndentEmittersAndTokenReaders)
{
    startDirect();
    Options().VBScriptOptions.TabSize = 3;
    g_iIndentLevel = 2;
    CodeProcessor().OutputLineNumber();
    CodeProcessor().IndentVBScript();
    EXPECT_EQ(bodyLines().back(), QStringLiteral(" 00001        "));
    g_iIndentLevel = 0;
    CodeProcessor().IndentHTML();
    EXPECT_EQ(bodyLines().back(), QStringLiteral(" 00001        "));

    const TokenList tokens = {QStringLiteral("a"), QStringLiteral("b")};
    int cursor = -1;
    EXPECT_EQ(clsCodeProcessor::PeekToken(tokens, cursor), QStringLiteral("a"));
    EXPECT_EQ(clsCodeProcessor::NextToken(tokens, cursor), QStringLiteral("a"));
    EXPECT_EQ(clsCodeProcessor::NextToken(tokens, cursor), QStringLiteral("b"));
    EXPECT_EQ(clsCodeProcessor::PeekToken(tokens, cursor), QStringLiteral("\r"));
    EXPECT_EQ(clsCodeProcessor::NextToken(tokens, cursor), QStringLiteral("\r"));
}

TEST_F(RenderingTest, TokenStylesFollowTheFontSettings)
{
    Options().Font(tokenclass::Strings).Size = 11;
    Options().Font(tokenclass::Strings).Italic = true;
    startDirect();
    CodeProcessor().OutputLineNumber();
    CodeProcessor().SetFonts(tokenclass::Strings);
    CodeProcessor().DrawText(QStringLiteral("\"s\""));
    const TextRun& run = doc().pages().back().runs.back();
    EXPECT_EQ(styleOf(run), tokenclass::Strings);
    const FontKey& font = doc().fonts()[run.font];
    EXPECT_EQ(font.family, QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(font.pointSize, 11);
    EXPECT_TRUE(font.italic);
    EXPECT_EQ(run.color, WinColor(0xFF0000));
}

} // namespace
} // namespace folionix::test
