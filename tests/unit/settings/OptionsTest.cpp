#include <ErrorTrace.h>
#include <Options.h>

#include <gtest/gtest.h>

using namespace folionix;

namespace {

clsOptions defaults(QSize screen = QSize(28800, 16200))
{
    clsOptions o;
    o.ApplyDefaults(screen);
    return o;
}

TEST(Options, DefaultsIncludeScreenRelativeSizes)
{
    const clsOptions o = defaults(QSize(20000, 10001));
    EXPECT_EQ(o.MainWindowHeight, 9001);           // 10001 × 0.9 rounded
    EXPECT_EQ(o.MainWindowWidth, 15000);           // 20000 × 0.75
    EXPECT_EQ(o.HorizontalSplitterPosition, 4500); // 9001 × 0.5 = 4500.5, halves to even
    EXPECT_EQ(o.VerticalSplitterPosition, 5250);   // 15000 × 0.35
    EXPECT_EQ(o.FileFilter, QStringLiteral("*.asp;*.htm;*.htm;*.css"));
    EXPECT_EQ(o.Device, QStringLiteral(" "));
    EXPECT_EQ(o.CurrentHomeSite, QStringLiteral("[All Drives]"));
    EXPECT_EQ(o.SourceFontColor, int32_t(0x80000008u));
    EXPECT_EQ(o.PrintQuality, -4);
    EXPECT_EQ(o.ZoomMode, 3);
    EXPECT_EQ(o.LineNumberStep, 1);
    EXPECT_TRUE(o.LineNumbersRequired);
    EXPECT_EQ(o.SourceEncoding, QStringLiteral("auto"));
    EXPECT_EQ(o.Fonts.size(), 12u);
    EXPECT_EQ(o.HeaderCodes.size(), 2u);
}

TEST(Options, SplittersFollowAStoredWindowSize)
{
    clsOptions o = defaults();
    o.MainWindowHeight = 8000;
    o.MainWindowWidth = 10000;
    o.ApplySplitterDefaults();
    EXPECT_EQ(o.HorizontalSplitterPosition, 4000);
    EXPECT_EQ(o.VerticalSplitterPosition, 3500);
}

TEST(Options, FontDefaultsTable)
{
    const clsOptions o = defaults();
    struct Row
    {
        QString key;
        const char* name;
        int32_t color;
        bool bold;
        bool italic;
    };
    const Row rows[] = {
        {tokenclass::PageHeaders, "Times New Roman", 0x000080, true, false},
        {tokenclass::TOC, "Courier New", 0x800000, false, false},
        {tokenclass::Identifiers, "Courier New", 0x800000, false, false},
        {tokenclass::LineNumbers, "Courier New", 0x808080, false, false},
        {tokenclass::Comments, "Courier New", 0x008000, false, true},
        {tokenclass::Keywords, "Courier New", 0x0000FF, false, false},
        {tokenclass::Strings, "Courier New", 0xFF0000, false, false},
        {tokenclass::Constants, "Courier New", 0x808000, false, false},
        {tokenclass::ProcedureHeaders, "Times New Roman", 0x808000, true, false},
        {tokenclass::Elements, "Courier New", 0x0000FF, false, false},
        {tokenclass::Attributes, "Courier New", 0x808000, false, false},
        {tokenclass::Text, "Courier New", 0x000000, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key.toStdString());
        const clsFont& f = o.Font(r.key);
        EXPECT_EQ(f.Name, QLatin1String(r.name));
        EXPECT_EQ(f.Size, 8);
        EXPECT_EQ(f.Color, r.color);
        EXPECT_EQ(f.Bold, r.bold);
        EXPECT_EQ(f.Italic, r.italic);
        EXPECT_FALSE(f.Underline);
    }
    EXPECT_THROW(o.Font(QStringLiteral("toc")), mendwick::AppError);
}

TEST(Options, LanguageRecordByCode)
{
    clsOptions o = defaults();
    EXPECT_EQ(&o.LanguageOptions(1), &o.JScriptOptions);
    EXPECT_EQ(&o.LanguageOptions(2), &o.VBScriptOptions);
    for (int code : {0, 3, 7, -1})
        EXPECT_EQ(&o.LanguageOptions(code), &o.HTMLOptions) << code;
    o.VBScriptOptions.TabSize = 5;
    EXPECT_EQ(o.JScriptOptions.TabSize, 2);
    EXPECT_EQ(o.HTMLOptions.TabSize, 2);
}

TEST(Options, HeaderDefaultsAndDuplicateKey)
{
    mendwick::setReportSink([](const QString&, const QString&) {});
    clsOptions o = defaults();
    const clsHeaderCode& footer = o.HeaderCodes.at(QStringLiteral("Footer Codes"));
    EXPECT_EQ(footer.Left, QStringLiteral("{Filename}"));
    EXPECT_EQ(footer.Centre, QStringLiteral("{Page Number}"));
    EXPECT_EQ(footer.Right, QStringLiteral("{Datetime}"));
    o.AddHeader(QStringLiteral("Footer Codes"), QStringLiteral("a"), QStringLiteral("b"),
                QStringLiteral("c"));
    EXPECT_EQ(o.HeaderCodes.at(QStringLiteral("Footer Codes")).Left, QStringLiteral("{Filename}"));
    EXPECT_EQ(mendwick::Err().Number, 0);
    mendwick::resetReportSink();
}

TEST(Options, KeywordTableIgnoresCase)
{
    KeywordTable t;
    EXPECT_TRUE(t.add(QStringLiteral("ElseIf")));
    EXPECT_FALSE(t.add(QStringLiteral("ELSEIF")));
    EXPECT_TRUE(t.contains(u"elseif"));
    EXPECT_FALSE(t.contains(u"else"));
    EXPECT_EQ(t.size(), 1);
}

} // namespace
