#include "LinketteFixture.h"

#include <QImage>

namespace linkette::test {
namespace {

const QColor kFore(0x00, 0x80, 0x00);
const QColor kLink(0xc0, 0x00, 0x00);

enum class Pointer
{
    Away,
    OverText,
    OverThenAway
};

struct LookCase
{
    const char* name;
    bool hover;
    QString url;
    Pointer pointer;
    bool hot;
    bool linkLook;
};

const LookCase kLookCases[] = {
    {"HoverPlainWhileAway", true, kUrl, Pointer::Away, false, false},
    {"HoverLinkWhileOver", true, kUrl, Pointer::OverText, true, true},
    {"HoverRevertsAfterLeaving", true, kUrl, Pointer::OverThenAway, false, false},
    {"NoHoverLinkWhileAway", false, kUrl, Pointer::Away, false, true},
    {"NoHoverLinkWhileOver", false, kUrl, Pointer::OverText, false, true},
    {"NoHoverLinkAfterLeaving", false, kUrl, Pointer::OverThenAway, false, true},
    {"EmptyUrlNeverHot", true, QString(), Pointer::OverText, false, false},
};

class LookTest : public LinketteFixture, public ::testing::WithParamInterface<LookCase>
{};

TEST_P(LookTest, TextTakesLinkColourAndUnderlineOnlyWhenItShould)
{
    const LookCase& c = GetParam();
    link->setForeColor(kFore);
    link->setLinkColor(kLink);
    link->setHover(c.hover);
    link->setURL(c.url);
    if (c.pointer != Pointer::Away)
        pointAtText();
    if (c.pointer == Pointer::OverThenAway)
        parkPointer();

    EXPECT_EQ(link->isHot(), c.hot);
    EXPECT_EQ(textColour(), c.linkLook ? kLink : kFore);
    EXPECT_EQ(underlined(), c.linkLook);
}

INSTANTIATE_TEST_SUITE_P(Pointer, LookTest, ::testing::ValuesIn(kLookCases),
                         [](const auto& info) { return std::string(info.param.name); });

using LookFixture = LinketteFixture;

TEST_F(LookFixture, MovingWithinTheTextKeepsItHot)
{
    pointAtText();
    QTest::mouseMove(link, QPoint(1, 1));
    EXPECT_TRUE(link->isHot());
    EXPECT_TRUE(underlined());
}

TEST_F(LookFixture, ColourWritesShowAtOnce)
{
    link->setForeColor(kFore);
    EXPECT_EQ(textColour(), kFore);
    pointAtText();
    link->setLinkColor(kLink);
    EXPECT_EQ(textColour(), kLink);
    link->setHover(false);
    parkPointer();
    EXPECT_EQ(textColour(), kLink);
    link->setHover(true);
    EXPECT_EQ(textColour(), kFore);
    EXPECT_FALSE(underlined());
}

bool showsColour(const QImage& image, const QColor& colour)
{
    // Glyph stems are fully covered pixels, so the exact colour appears somewhere in the text.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                return true;
    return false;
}

TEST_F(LookFixture, PaintedTextFollowsTheLook)
{
    link->setBackColor(Qt::white);
    link->setForeColor(kFore);
    link->setLinkColor(kLink);

    const QImage plain = link->grab().toImage();
    EXPECT_TRUE(showsColour(plain, kFore));
    EXPECT_FALSE(showsColour(plain, kLink));

    pointAtText();
    const QImage hot = link->grab().toImage();
    EXPECT_TRUE(showsColour(hot, kLink));
    EXPECT_FALSE(showsColour(hot, kFore));
}

struct BackStyleCase
{
    const char* name;
    int backStyle;
    bool filled;
};

const BackStyleCase kBackStyleCases[] = {
    {"Transparent", Linkette::Transparent, false},
    {"Opaque", Linkette::Opaque, true},
};

class BackStyleTest : public LinketteFixture, public ::testing::WithParamInterface<BackStyleCase>
{};

TEST_P(BackStyleTest, BackgroundIsPaintedOnlyWhenOpaque)
{
    const BackStyleCase& c = GetParam();
    QPalette hostColours = host->palette();
    hostColours.setColor(QPalette::Window, QColor(0x10, 0x20, 0x30));
    host->setPalette(hostColours);
    host->setAutoFillBackground(true);
    link->setBackColor(QColor(0xff, 0xee, 0x00));
    link->setBackStyle(c.backStyle);
    link->clearFocus(); // the focus frame would cover the corner

    EXPECT_EQ(link->BackStyle(), c.backStyle);
    EXPECT_EQ(link->autoFillBackground(), c.filled);
    // The corner is free of text; it shows the back colour or the window behind.
    const QImage shot = host->grab(link->geometry()).toImage();
    EXPECT_EQ(shot.pixelColor(0, 0).rgb(),
              c.filled ? QColor(0xff, 0xee, 0x00).rgb() : QColor(0x10, 0x20, 0x30).rgb());
}

INSTANTIATE_TEST_SUITE_P(Values, BackStyleTest, ::testing::ValuesIn(kBackStyleCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace linkette::test
