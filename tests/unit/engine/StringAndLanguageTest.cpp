#include "EngineFixture.h"

#include <StringFunctions.h>

namespace folionix::test {
namespace {

TEST(StringFunctions, CaseInsensitiveTable)
{
    struct Case
    {
        const char16_t* text;
        const char16_t* find;
        bool starts, ends, contains;
        const char16_t* before;
        const char16_t* after;
    };
    const Case cases[] = {
        {u"<SCRIPT language=x>", u"<script", true, false, true, u"", u" language=x>"},
        {u"abc", u"", true, true, true, u"", u"abc"},
        {u"abc", u"C", false, true, true, u"ab", u""},
        {u"abc", u"x", false, false, false, u"", u""},
        {u"", u"a", false, false, false, u"", u""},
        {u"a=b=c", u"=", false, false, true, u"a", u"b=c"},
        {u"ab", u"abc", false, false, false, u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString() + " / " +
                     QString::fromUtf16(c.find).toStdString());
        const QStringView text(c.text), find(c.find);
        EXPECT_EQ(StartsWith(text, find), c.starts);
        EXPECT_EQ(EndsWith(text, find), c.ends);
        EXPECT_EQ(Contains(text, find), c.contains);
        if (!find.isEmpty()) {
            EXPECT_EQ(BeforeFirst(text, find), QString::fromUtf16(c.before));
            EXPECT_EQ(AfterFirst(text, find), QString::fromUtf16(c.after));
        }
    }
}

TEST(TrimLeadingWhitespace, RemovesTheRegExpSpaceClass)
{
    EXPECT_EQ(clsCodeProcessor::TrimLeadingWhitespace(QStringLiteral(" \r\n\t\f\vx y ")),
              QStringLiteral("x y "));
    EXPECT_EQ(clsCodeProcessor::TrimLeadingWhitespace(QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(clsCodeProcessor::TrimLeadingWhitespace(QStringLiteral("  ")), QString());
}

// GetScriptLanguage over a sequence of blocks of one file, with the side the splitter would set.
TEST(GetScriptLanguage, DefaultsAndExplicitLanguagesPerSide)
{
    struct Step
    {
        int side; // 0 server, 1 client
        const char* rest;
        int expected;
    };
    struct Case
    {
        const char* name;
        int server, client;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"directive makes later server blocks JScript",
         2,
         1,
         {{0, "<%@ LANGUAGE=\"JScript\" %>\r<% x = 1 %>", 1}, {0, "<% x = 1 %>", 1}}},
        {"client VBScript becomes the client default",
         1,
         1,
         {{1, "<script language=\"VBScript\">x</script><script>y</script>", 2},
          {1, "<script>y</script>", 2}}},
        {"only the first explicit language of a side sets its default",
         2,
         1,
         {{0, "<%@ Language=VBScript %><% %>", 2},
          {0, "<script language=JScript runat=server>", 1},
          {0, "<% y %>", 2}}},
        {"quoted runat is not recognised without any language",
         2,
         1,
         {{1, "<script runat=\"server\">x</script>", 1}}},
        {"plain runat=server is a server block", 2, 1, {{1, "<script runat=server>x</script>", 2}}},
        {"runat=Server in any letter case", 1, 2, {{1, "<SCRIPT RUNAT=SERVER>x</SCRIPT>", 1}}},
        {"unknown language", 2, 1, {{1, "<script language=\"PerlScript\">x</script>", 0}}},
        {"JavaScript and ECMAScript are JScript",
         2,
         2,
         {{1, "<script language=\"JavaScript\">", 1}, {1, "<script language=ECMAScript>", 1}}},
        {"a language after runat is not seen",
         2,
         1,
         {{1, "<script runat=server language=JScript>x</script>", 2}}},
        {"language elsewhere in the file, client tag without runat",
         2,
         1,
         {{1, "<script>x</script><p language>", 1}}},
        {"language elsewhere in the file, server tag", 2, 1, {{0, "<% x %><p language>", 2}}},
        {"no closing bracket at all", 2, 1, {{1, "<script language=VBScript", 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetEngineState();
        g_aDefaultLanguage = {c.server, c.client};
        for (const Step& s : c.steps) {
            g_iScriptSide = s.side;
            EXPECT_EQ(GetScriptLanguage(SourceBuffer(QString::fromUtf8(s.rest))), s.expected) << s.rest;
        }
    }
    ResetEngineState();
}

TEST(SourceBuffer, RestContainsFollowsTheCursor)
{
    SourceBuffer b(QStringLiteral("<% a %> language <% b %>"));
    EXPECT_TRUE(b.restContains(u"LANGUAGE"));
    b.consume(10);
    EXPECT_FALSE(b.restContains(u"language")); // the occurrence is now behind the cursor
    EXPECT_FALSE(b.restContains(u"language"));
    EXPECT_TRUE(b.restContains(u"<%"));
    b.consume(100);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_FALSE(b.restContains(u"<%"));
}

} // namespace
} // namespace folionix::test
