#include "EngineFixture.h"

namespace folionix::test {
namespace {

struct TokenCase
{
    const char* name;
    const char16_t* input;
    QStringList tokens;
    const char16_t* left;   // what stays in the buffer
    int statementCount = 5; // before the statement
};

TEST_F(EngineTest, VBScriptStatementTokens)
{
    const QString CR = QStringLiteral("\r");
    const std::vector<TokenCase> cases = {
        {"blank runs", u"x  =  1\rnext", {"x", " ", "=", " ", "1", " ", CR}, u"next"},
        {"keyword before parenthesis",
         u"If(a) Then\r",
         {"If", " ", "(", "a", ")", " ", "Then", " ", CR},
         u""},
        {"doubled quote splits",
         u"Response.Write \"a\"\"b\"\r",
         {"Response.Write", " ", "\"a\"", "\"b\"", " ", CR},
         u""},
        {"hex literal and ampersand",
         u"x = &HFF& + a & b\r",
         {"x", " ", "=", " ", "&HFF&", " ", "+", " ", "a", " ", "&", " ", "b", " ", CR},
         u""},
        {"comment ends at a real closing delimiter", u"' done %>\r<p>", {"' done ", "%>", " ", CR}, u"\r<p>"},
        {"a lone percent stays in the comment", u"' 50% off\r", {"' 50% off", " ", CR}, u""},
        {"a lone percent in code is kept",
         u"x = 5 % 2\r",
         {"x", " ", "=", " ", "5", " ", "%", " ", "2", " ", CR},
         u""},
        {"Rem comment", u"Rem note here\r", {"Rem note here", " ", CR}, u""},
        {"Rem after a separator",
         u"x = 1 : Rem note\r",
         {"x", " ", "=", " ", "1", " ", ":", " Rem note", " ", CR},
         u""},
        {"Remark is a word", u"Remark = 1\r", {"Remark", " ", "=", " ", "1", " ", CR}, u""},
        {"one-line block", u"<% x = 1 %>\r", {"<%", " ", "x", " ", "=", " ", "1", " ", "%>", " ", CR}, u"\r"},
        {"closing delimiter after blanks and lines", u"x %\r >y", {"x", " ", "%>", " ", CR}, u"y"},
        {"continuation is an ordinary word",
         u"a = b _\rc\r",
         {"a", " ", "=", " ", "b", " ", "_", " ", CR},
         u"c\r"},
        {"script tag resets the count",
         u"<script language=\"VBScript\">\r",
         {"<script", " ", "language", "=", "\"VBScript\"", ">", " ", CR},
         u""},
        {"HTML comment opener right after the script tag", u"<!--\rx", {"<!--", "", " ", CR}, u"x", 0},
        {"HTML comment elsewhere runs to its end",
         u"x <!-- a\rb --> y\r",
         {"x", " ", "<!--", "", " a\rb ", "-->", " ", "y", " ", CR},
         u""},
        {"closing script tag ends the statement", u"</SCRIPT>\r<p>", {"</SCRIPT>", " ", CR}, u"\r<p>"},
        {"closing script tag with blanks before its bracket",
         u"</script  >x",
         {"</script", ">", " ", CR},
         u"x"},
        {"exclamation mark is a token",
         u"rs!Name = 1\r",
         {"rs", "!", "Name", " ", "=", " ", "1", " ", CR},
         u""},
        {"numbers split at the dot", u"1.5\r", {"1", ".", "5", " ", CR}, u""},
        {"string without closing quote", u"x = \"abc\r", {"x", " ", "=", " ", "\"", "abc", " ", CR}, u""},
        {"date literal",
         u"d = #1/1/2000#\r",
         {"d", " ", "=", " ", "#", "1", "/", "1", "/", "2000", "#", " ", CR},
         u""},
        {"last line without a line end", u"  End If", {"End", " ", "If", " ", CR}, u""},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(c.name);
        SourceBuffer buffer(QString::fromUtf16(c.input));
        CodeProcessor().StatementCount = c.statementCount;
        EXPECT_EQ(CodeProcessor().ParseVBScriptStatement(buffer, QStringLiteral("%>")), c.tokens);
        EXPECT_EQ(buffer.rest(), QStringView(c.left));
    }
}

TEST_F(EngineTest, VBScriptCharacterReaders)
{
    SourceBuffer buffer(QStringLiteral("ab"));
    EXPECT_EQ(clsCodeProcessor::PeekNextChar(buffer), QStringLiteral("a"));
    EXPECT_EQ(clsCodeProcessor::GetNextChar(buffer), QStringLiteral("a"));
    EXPECT_EQ(clsCodeProcessor::GetNextChar(buffer), QStringLiteral("b"));
    EXPECT_EQ(clsCodeProcessor::PeekNextChar(buffer), QString());
    EXPECT_EQ(clsCodeProcessor::GetNextChar(buffer), QStringLiteral("\r"));
    EXPECT_TRUE(buffer.isEmpty());
}

TEST(IsLabel, Table)
{
    const struct
    {
        const char* text;
        bool label;
    } cases[] = {{"Finish:", true}, {"  Else:  ", true}, {"a1_b9:", true}, {"a0:", false},    {"1a:", false},
                 {"x:", true},      {":", false},        {"a:", true},     {"Dim x:", false}, {"abc", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsLabel(QString::fromLatin1(c.text)), c.label) << c.text;
}

} // namespace
} // namespace folionix::test
