#include "AppError.h"
#include "FontSetup.h"
#include "SurfaceTestSupport.h"
#include "TextMetrics.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <cmath>

using folionix::PrintSurface;

namespace {

struct FontCase
{
    const char* family;
    double size;
    bool bold;
    bool italic;
};

const FontCase Fonts[] = {
    {"Courier New", 8, false, false},
    {"Arial", 10, true, false},
    {"Times New Roman", 9.5, false, true},
    {"Lucida Console", 7.25, false, false},
};

class TextWidthTest : public ::testing::TestWithParam<FontCase>
{
protected:
    void SetUp() override
    {
        const FontCase& f = GetParam();
        surface.setFontName(QString::fromLatin1(f.family));
        surface.setFontSize(f.size);
        surface.setFontBold(f.bold);
        surface.setFontItalic(f.italic);
    }

    PrintSurface surface;
};

TEST_P(TextWidthTest, WidthOfAConcatenationIsTheSumOfTheWidths)
{
    // ASCII, Latin-1, CJK and a character outside the BMP; the engine measures token by token.
    const QString parts[] = {
        QStringLiteral("Response.Write"), QStringLiteral("(\"<b>\")"),   QStringLiteral(" "),
        QStringLiteral("Größe"),          QString::fromUtf8("中文字符"), QString::fromUtf8("𝐀𝐁"),
        QStringLiteral("AV To")};
    double sum = 0;
    QString whole;
    for (const QString& part : parts) {
        const double width = surface.TextWidth(part);
        EXPECT_GT(width, 0) << part.toStdString();
        EXPECT_EQ(width, std::round(width)) << "whole twips: " << part.toStdString();
        sum += width;
        whole += part;
    }
    EXPECT_EQ(surface.TextWidth(whole), sum);
    EXPECT_EQ(surface.TextWidth(QString()), 0);
}

TEST_P(TextWidthTest, SurrogatePairIsMeasuredAsOneCharacter)
{
    const QString pair = QString::fromUtf8("𝐀");
    ASSERT_EQ(pair.size(), 2);
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(56693);
    device.setDotsPerMeterY(56693);
    QFont font =
        folionix::toQFont({surface.FontName(), surface.FontSize(), surface.FontBold(), surface.FontItalic()});
    const double expected = QFontMetricsF(font, &device).horizontalAdvance(pair);
    EXPECT_NEAR(surface.TextWidth(pair), expected, 0.5);
}

TEST_P(TextWidthTest, MultiLineTextIsAsWideAsItsWidestLineAndAsTallAsAllLines)
{
    const double line = surface.TextHeight(QStringLiteral("x"));
    EXPECT_GT(line, 0);
    EXPECT_EQ(surface.TextWidth(QStringLiteral("ab\ncdefgh\r\nxyz")),
              surface.TextWidth(QStringLiteral("cdefgh")));
    EXPECT_EQ(surface.TextWidth(QStringLiteral("abcdefgh\rxy")),
              surface.TextWidth(QStringLiteral("abcdefgh")));
    EXPECT_EQ(surface.TextHeight(QStringLiteral("a\r\nb\nc")), 3 * line);
    EXPECT_EQ(surface.TextHeight(QStringLiteral("a\r\rb")), 3 * line);
    surface.setMeasureLineText(QStringLiteral("anything"));
    EXPECT_EQ(surface.MeasuredTextHeight(), line);
}

INSTANTIATE_TEST_SUITE_P(Fonts, TextWidthTest, ::testing::ValuesIn(Fonts), [](const auto& info) {
    std::string name = info.param.family;
    std::erase(name, ' ');
    return name + std::to_string(info.index);
});

TEST(TextMetrics, EightPointCourierNewIs96TwipsACharacter)
{
    PrintSurface surface;
    surface.setFontName(QStringLiteral("Courier New"));
    surface.setFontSize(8);
    EXPECT_EQ(surface.TextWidth(QStringLiteral("W")), 96);
    EXPECT_EQ(surface.TextWidth(QStringLiteral("If x Then")), 9 * 96);
    EXPECT_EQ(surface.TextWidth(QString(1000, u'i')), 96000);
}

TEST(TextMetrics, LucidaConsoleIsMonospaceAfterSubstitution)
{
    PrintSurface surface;
    surface.setFontName(QStringLiteral("Lucida Console"));
    surface.setFontSize(10);
    EXPECT_EQ(surface.TextWidth(QStringLiteral("iiii")), surface.TextWidth(QStringLiteral("WWWW")));
}

struct FaceCase
{
    const char* family;
    const char* face;
};

const FaceCase Faces[] = {
    {"Courier New", "Liberation Mono"}, {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},       {"Lucida Console", "Liberation Mono"},
    {"Tahoma", "Liberation Sans"},      {"MS Sans Serif", "Liberation Sans"},
    {"Small Fonts", "Liberation Sans"}, {"Verdana", "Liberation Sans"},
};

class FontSetupTest : public ::testing::TestWithParam<FaceCase>
{};

TEST_P(FontSetupTest, WindowsNamesResolveToInstalledFacesOfTheSameKind)
{
    folionix::registerFontSubstitutions();
    const qsizetype substitutes = QFont::substitutes(QStringLiteral("Tahoma")).size();
    folionix::registerFontSubstitutions(); // a second call adds nothing
    EXPECT_EQ(QFont::substitutes(QStringLiteral("Tahoma")).size(), substitutes);
    EXPECT_EQ(QFontInfo(QFont(QString::fromLatin1(GetParam().family))).family(),
              QString::fromLatin1(GetParam().face));
}

INSTANTIATE_TEST_SUITE_P(Names, FontSetupTest, ::testing::ValuesIn(Faces));

struct WrapCase
{
    const char* text;
    int lines;
};

// The column is exactly ten 8 pt Courier New characters wide.
const WrapCase WrapCases[] = {
    {"abc", 1},
    {"abcdefghij", 1},
    {"abcdefghijk", 2},
    {"abcde fghij klmno", 3},
    {"abc def gh", 1},
    {"a\nb", 2},
    {"abcdefghijabcdefghijabcde", 3},
    {"", 1},
};

class MeasureParagraphTest : public ::testing::TestWithParam<WrapCase>
{};

TEST_P(MeasureParagraphTest, WrapsToTheCurrentColumn)
{
    PrintSurface surface;
    surface.setFontName(QStringLiteral("Courier New"));
    surface.setFontSize(8);
    surface.setMarginLeft(1440);
    surface.setMarginRight(12240 - 1440 - 960);
    surface.setMeasureParagraphText(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(surface.MeasuredTextHeight(), GetParam().lines * surface.TextHeight(QStringLiteral("x")));
}

INSTANTIATE_TEST_SUITE_P(Texts, MeasureParagraphTest, ::testing::ValuesIn(WrapCases));

TEST(Styles, ApplyRestoresFontAndColourAndNamesLaterRuns)
{
    PrintSurface surface;
    surface.setFontName(QStringLiteral("Courier New"));
    surface.setFontSize(8);
    surface.setFontBold(true);
    surface.setTextColor(0xFF0000);
    surface.styles().Add(QStringLiteral("Keyword"), 1);
    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontSize(12);
    surface.setFontBold(false);
    surface.setFontItalic(true);
    surface.setTextColor(0x000000);
    surface.styles().Add(QStringLiteral("Comment"), 1);
    EXPECT_TRUE(surface.styles().Contains(QStringLiteral("keyword")));
    EXPECT_FALSE(surface.styles().Contains(QStringLiteral("String")));

    surface.StartDoc();
    surface.AddText(QStringLiteral("plain"));
    surface.styles().Apply(QStringLiteral("KEYWORD"));
    EXPECT_EQ(surface.FontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(surface.FontSize(), 8);
    EXPECT_TRUE(surface.FontBold());
    EXPECT_FALSE(surface.FontItalic());
    EXPECT_EQ(surface.TextColor(), 0xFF0000u);
    surface.AddText(QStringLiteral("If"));
    surface.styles().Apply(QStringLiteral("Comment"));
    surface.AddText(QStringLiteral("' note"));
    surface.setFontUnderline(true);
    surface.AddText(QStringLiteral("direct"));

    const folionix::Document& document = surface.document();
    const auto runs = surfacetest::bodyRuns(document, 0);
    ASSERT_EQ(runs.size(), 4u);
    const char* expectedStyles[] = {"", "Keyword", "Comment", ""};
    for (size_t i = 0; i < runs.size(); ++i)
        EXPECT_EQ(document.styleNames()[runs[i].style], QString::fromLatin1(expectedStyles[i])) << i;
    EXPECT_EQ(document.fonts()[runs[1].font].family, QStringLiteral("Courier New"));
    EXPECT_TRUE(document.fonts()[runs[1].font].bold);
    EXPECT_EQ(runs[1].color, 0xFF0000u);
    EXPECT_TRUE(document.fonts()[runs[2].font].italic);
    EXPECT_TRUE(document.fonts()[runs[3].font].underline);
}

TEST(Styles, RedefiningUnderAnotherSpellingReplacesTheStyle)
{
    PrintSurface surface;
    surface.setFontName(QStringLiteral("Courier New"));
    surface.styles().Add(QStringLiteral("Keyword"), 1);
    surface.setFontName(QStringLiteral("Arial"));
    surface.styles().Add(QStringLiteral("KEYWORD"), 1);
    surface.setFontName(QStringLiteral("Times New Roman"));
    for (const QString& name :
         {QStringLiteral("Keyword"), QStringLiteral("KEYWORD"), QStringLiteral("keyword")}) {
        surface.styles().Apply(name);
        EXPECT_EQ(surface.FontName(), QStringLiteral("Arial")) << name.toStdString();
    }
}

TEST(Styles, UnknownNameRaisesAndChangesNothing)
{
    PrintSurface surface;
    surface.setFontName(QStringLiteral("Courier New"));
    surface.styles().Add(QStringLiteral("Keyword"), 1);
    surface.setFontName(QStringLiteral("Arial"));
    surface.styles().Clear();
    EXPECT_FALSE(surface.styles().Contains(QStringLiteral("Keyword")));
    for (const QString& name : {QStringLiteral("Keyword"), QStringLiteral("Nope"), QString()}) {
        try {
            surface.styles().Apply(name);
            ADD_FAILURE() << "applied " << name.toStdString();
        } catch (const mendwick::AppError& e) {
            EXPECT_EQ(e.number(), 380);
        }
        EXPECT_EQ(surface.FontName(), QStringLiteral("Arial"));
    }
}

} // namespace
