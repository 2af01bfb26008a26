#include "EngineFixture.h"

namespace folionix::test {
namespace {

TEST_F(EngineTest, JScriptStatementTokens)
{
    struct Case
    {
        const char* name;
        const char16_t* input;
        QStringList tokens;
        const char16_t* left;
        int statementCount = 5;
    };
    const QString CR = QStringLiteral("\r");
    const std::vector<Case> cases = {
        {"leading blanks kept as one token",
         u"    x = 1;\r",
         {"    ", "x", " ", "=", " ", "1", ";", CR},
         u""},
        {"modulo", u"a % b\r", {"a", " ", "%", " ", "b", CR}, u""},
        {"closing delimiter ends without a line end", u"x; %> <p>", {"x", ";", " ", "%>"}, u" <p>"},
        {"line comment", u"// note here\rx", {"// note here", CR}, u"x"},
        {"division", u"a / b\r", {"a", " ", "/", " ", "b", CR}, u""},
        {"one-line block comment gets its own line end", u"/* one */\r", {"/* one */\r", CR}, u""},
        {"block comment over lines", u"/* a\rb */ x\r", {"/* a\rb */\r", " ", "x", CR}, u""},
        {"unterminated block comment takes the rest", u"/* open\rmore", {"/* open\rmore\r", CR}, u""},
        {"single quotes with a doubled quote", u"'it''s'\r", {"'it'", "'s'", CR}, u""},
        {"double quotes keep single quotes", u"\"it's\"\r", {"\"it's\"", CR}, u""},
        {"quote without partner stays as a token", u"x = 'abc\r", {"x", " ", "=", " ", "'", "abc", CR}, u""},
        {"hex after ampersand keeps its letter once",
         u"&HFF& + &h\r",
         {"&HFF&", " ", "+", " ", "&h", CR},
         u""},
        {"script tag resets the count",
         u"<script language=\"JScript\">\r",
         {"<script", " ", "language", "=", "\"JScript\"", ">", CR},
         u""},
        {"comment opener right after the script tag", u"<!--\rx", {"<!--", "", CR}, u"x", 0},
        {"a later comment runs to its end",
         u"x <!-- a\rb --> y\r",
         {"x", " ", "<!--", "", " a\rb ", "-->", " ", "y", CR},
         u""},
        {"closing script tag ends the statement", u"</SCRIPT >\r<p>", {"</SCRIPT", ">", CR}, u"\r<p>"},
        {"braces and dollar", u"$(x){}\r", {"$", "(", "x", ")", "{", "}", CR}, u""},
        {"last line without a line end", u"x", {"x", CR}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SourceBuffer buffer(QString::fromUtf16(c.input));
        CodeProcessor().StatementCount = c.statementCount;
        EXPECT_EQ(CodeProcessor().ParseJScriptStatement(buffer, QStringLiteral("%>")), c.tokens);
        EXPECT_EQ(buffer.rest(), QStringView(c.left));
        EXPECT_EQ(g_iCurrentLanguage, LangJScript);
    }
}

class JScriptOutputTest : public EngineTest
{
protected:
    void TearDown() override
    {
        JScriptKeywords().clear();
        EngineTest::TearDown();
    }
};

TEST_F(JScriptOutputTest, KeywordsKeepTheirCaseAndBlocksEndWhereTheyShould)
{
    JScriptKeywords().add(QStringLiteral("if"));
    Options().ServerSideScriptingLanguage = 1;
    file(QStringLiteral("j.asp"),
         "<%\r\n    IF (a) { b(); } if (c) x = a % 2; %>after\r\n<%\r\n/* one */\r\n%>");
    run({QStringLiteral("j.asp")});
    const QStringList lines = bodyLines();
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral(" 00001  J<%"));
    // Leading blanks kept, keywords as written, "%>" ends the statement and the HTML follows on the line.
    EXPECT_TRUE(
        lines[1].startsWith(QStringLiteral(" 00002  J    IF (a) { b(); } if (c) x = a % 2; %>after ")))
        << lines[1].toStdString();
    int keywords = 0;
    for (const TextRun& run : doc().pages()[0].runs)
        if (styleOf(run) == tokenclass::Keywords)
            ++keywords;
    EXPECT_EQ(keywords, 2);
    // A one-line block comment is followed by two empty numbered lines.
    qsizetype comment = -1;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].endsWith(QStringLiteral("J/* one */")))
            comment = i;
    ASSERT_GE(comment, 0) << lines.join(u'|').toStdString();
    ASSERT_LT(comment + 2, lines.size());
    EXPECT_EQ(lines[comment + 1].trimmed().size(), 5) << lines[comment + 1].toStdString(); // number only
    EXPECT_EQ(lines[comment + 2].trimmed().size(), 5) << lines[comment + 2].toStdString();
}

TEST_F(JScriptOutputTest, StyleEndTagAtALineStartIsPrintedAsHtml)
{
    file(QStringLiteral("s.asp"), "<style>\r\np { color: red; }\r\n</style>\r\n");
    run({QStringLiteral("s.asp")});
    bool endTagAsElement = false;
    for (const TextRun& run : doc().pages()[0].runs)
        if (doc().textOf(run).compare(u"</STYLE>", Qt::CaseInsensitive) == 0 &&
            styleOf(run) == tokenclass::Elements)
            endTagAsElement = true;
    EXPECT_TRUE(endTagAsElement) << bodyLines().join(u'|').toStdString();
    // No script indicator inside a style region.
    for (const TextRun& run : doc().pages()[0].runs)
        EXPECT_NE(doc().textOf(run), u"J");
}

TEST_F(JScriptOutputTest, ClosingDelimiterBoxFollowsColourMode)
{
    Options().ServerSideScriptingLanguage = 1;
    Options().ColorMode = 1;
    file(QStringLiteral("m.asp"), "<% x %>");
    run({QStringLiteral("m.asp")});
    int boxes = 0;
    for (const Shape& shape : doc().pages()[0].shapes) {
        if (shape.kind != Shape::Kind::RoundedBox)
            continue;
        ++boxes;
        EXPECT_EQ(shape.penColor, WinColor(0));
        EXPECT_EQ(shape.brushColor, WinColor(0xFFFFFF));
    }
    EXPECT_EQ(boxes, 3); // "<%", its line's indicator, and "%>"
}

} // namespace
} // namespace folionix::test
