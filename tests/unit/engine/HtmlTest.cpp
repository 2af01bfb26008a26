#include "EngineFixture.h"

#include <StringBuilder.h>

namespace folionix::test {
namespace {

TEST(CStringBuilder, GrowsInStepsAndReportsOutOfRange)
{
    CStringBuilder b;
    EXPECT_EQ(b.Capacity(), 2048);
    EXPECT_TRUE(b.ToString().isNull());
    b.Append(QString(1023, u'a'));
    EXPECT_EQ(b.Capacity(), 2048);
    b.Append(QStringLiteral("bc"));
    EXPECT_EQ(b.Length(), 1025);
    EXPECT_EQ(b.Capacity(), 4096); // the next multiple of the step
    EXPECT_EQ(b.Chars(1024), u'c');
    b.Reset();
    EXPECT_EQ(b.Length(), 0);
    EXPECT_EQ(b.Capacity(), 2048);

    struct Case
    {
        std::function<void(CStringBuilder&)> call;
        const char* source;
        const char* description;
    };
    const Case cases[] = {
        {[](CStringBuilder& s) { s.Chars(3); }, "CStringBuilder.Chars",
         "Tried reading character past end of buffer."},
        {[](CStringBuilder& s) { s.setChars(3, u'x'); }, "CStringBuilder.Chars",
         "Tried assigning character past end of buffer."},
        {[](CStringBuilder& s) { s.Insert(4, u"x"); }, "CStringBuilder.Insert", "Argument(s) out of range."},
        {[](CStringBuilder& s) { s.Remove(2, 2); }, "CStringBuilder.Remove", "Argument(s) out of range."},
    };
    for (const Case& c : cases) {
        CStringBuilder s;
        s.Append(u"abc");
        try {
            c.call(s);
            ADD_FAILURE() << "no error for " << c.source;
        } catch (const mendwick::AppError& e) {
            EXPECT_EQ(e.number(), int32_t(0x80040200u));
            EXPECT_EQ(e.source(), QLatin1String(c.source));
            EXPECT_EQ(e.description(), QLatin1String(c.description));
        }
        EXPECT_EQ(s.ToString(), QStringLiteral("abc")); // unchanged
    }
    CStringBuilder s;
    s.Append(u"abef");
    s.Insert(2, u"cd");
    s.Remove(0, 1);
    EXPECT_EQ(s.ToString(), QStringLiteral("bcdef"));
    EXPECT_TRUE(s.StartsWith(u"bc"));
    EXPECT_EQ(s.After(u"cd"), QStringLiteral("ef"));
}

TEST_F(EngineTest, ElementIndentsRestoreTheLevelOfTheirStartTag)
{
    startDirect();
    clsHTMLElementProfile profile;
    TagProfiles()[QStringLiteral("div")] = profile;
    CodeProcessor().PushElementIndent(QStringLiteral("span")); // no profile: not remembered
    EXPECT_TRUE(g_colElementIndents.empty());
    g_iIndentLevel = 1;
    CodeProcessor().PushElementIndent(QStringLiteral("div"));
    g_iIndentLevel = 2;
    CodeProcessor().PushElementIndent(QStringLiteral("SCRIPT")); // scripts always are
    g_iIndentLevel = 3;
    CodeProcessor().PushElementIndent(QStringLiteral("div"));
    g_iIndentLevel = 7;
    ASSERT_EQ(g_colElementIndents.size(), 3u);
    CodeProcessor().PopElementIndent(QStringLiteral("DIV")); // the newest div
    EXPECT_EQ(g_iIndentLevel, 3);
    ASSERT_EQ(g_colElementIndents.size(), 2u);
    CodeProcessor().PopElementIndent(QStringLiteral("div")); // the older one; the script stays open
    EXPECT_EQ(g_iIndentLevel, 1);
    ASSERT_EQ(g_colElementIndents.size(), 1u);
    EXPECT_EQ(g_colElementIndents[0].Keyword, QStringLiteral("SCRIPT"));
    CodeProcessor().PopElementIndent(QStringLiteral("table")); // nothing open: nothing changes
    EXPECT_EQ(g_iIndentLevel, 1);
    TagProfiles().clear();
}

TEST_F(EngineTest, HtmlTokenShapes)
{
    struct Case
    {
        const char16_t* input;
        QStringList tokens;
        const char16_t* left; // what stays in the buffer
    };
    const QString CR = QStringLiteral("\r");
    const Case cases[] = {
        {u"<p class=\"x\" id=a1>rest",
         {"<", "p", " ", "class", "=", "\"x\"", " ", "id", "=", "a1", ">", CR},
         u"rest"},
        {u"</TD   >x", {"<", "/TD", ">", CR}, u"x"},
        {u"<!-- a\r b --><p>", {"<", "!--", " a\r b ", "-->", CR}, u"<p>"},
        {u"<!-- open", {"<", "!--", " open", "-->", CR}, u""},
        {u"<!DOCTYPE x \"a>b\">z", {"<", "!", "DOCTYPE x \"a>b\"", ">", CR}, u"z"},
        {u"font-size 12px #f0a&b1 document.title<b>",
         {"font", "-", "size", " ", "12", "px", " ", "#f0a&b1", " ", "document.title", CR},
         u"<b>"},
        {u"don't", {"don", "'", "t", CR}, u""},
        {u"<= x", {"<=", " ", "x", CR}, u""},
        {u"   caf\u00e9_2 \u4e2d\u6587", {"caf\u00e9_2", " ", "\u4e2d\u6587", CR}, u""},
        {u"<img\r\nsrc=\"a\r\nb\">", {"<", "img", "src", "=", "\"a\r\nb\"", ">", CR}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.input).toStdString());
        SourceBuffer buffer(QString::fromUtf16(c.input));
        EXPECT_EQ(CodeProcessor().ParseHTML(buffer, QString()), c.tokens);
        EXPECT_EQ(buffer.rest(), QStringView(c.left));
    }
}

} // namespace
} // namespace folionix::test
