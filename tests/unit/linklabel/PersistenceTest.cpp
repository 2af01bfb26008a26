#include "LinketteFixture.h"

namespace linkette::test {
namespace {

using Log = std::vector<std::string>;

const QStringList kStoredNames = {"BackColor", "BackStyle", "Caption", "Enabled", "Font", "ForeColor",
                                  "Hover",     "LinkColor", "Picture", "Style",   "URL"};

class PersistenceTest : public LinketteFixture
{
protected:
    void SetUp() override
    {
        LinketteFixture::SetUp();
        host->setFont(QFont(QStringLiteral("DejaVu Serif"), 13));
        // Button colours unlike any other role, so the defaults show where they come from.
        QPalette colours = host->palette();
        colours.setColor(QPalette::Button, QColor(0xd4, 0xd0, 0xc8));
        colours.setColor(QPalette::ButtonText, QColor(0x30, 0x10, 0x20));
        host->setPalette(colours);
        link->setObjectName(QStringLiteral("lnkHome"));
    }

    // Everything a new control would not have.
    void changeEverything(Linkette& l)
    {
        l.setCaption(QStringLiteral("Folionix home"));
        l.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 17));
        l.setBackStyle(Linkette::Transparent);
        l.setEnabled(false);
        l.setBackColor(QColor(0x11, 0x22, 0x33));
        l.setForeColor(QColor(0x44, 0x55, 0x66));
        l.setHover(false);
        l.setLinkColor(QColor(0x77, 0x88, 0x99));
        l.setStyle(Linkette::Graphical);
        QPixmap picture(40, 24);
        picture.fill(Qt::magenta);
        l.setPicture(picture);
        l.setURL(QStringLiteral("mailto:author@folionix.example"));
    }

    void expectDefaults(const Linkette& l)
    {
        EXPECT_EQ(l.Caption(), QStringLiteral("lnkHome"));
        EXPECT_EQ(l.Font(), host->font());
        EXPECT_EQ(l.BackStyle(), Linkette::Opaque);
        EXPECT_TRUE(l.Enabled());
        EXPECT_EQ(l.BackColor(), host->palette().color(QPalette::Button));
        EXPECT_EQ(l.ForeColor(), host->palette().color(QPalette::ButtonText));
        EXPECT_TRUE(l.Hover());
        EXPECT_EQ(l.LinkColor(), QColor(0, 0, 255));
        EXPECT_EQ(l.Style(), Linkette::Standard);
        EXPECT_TRUE(l.Picture().isNull());
        EXPECT_EQ(l.URL(), QString());
    }
};

TEST_F(PersistenceTest, WritesTheElevenNamesOfANewControl)
{
    auto* fresh = new Linkette(host.get());
    fresh->setObjectName(QStringLiteral("lnkHome"));
    expectDefaults(*fresh);
    QVariantMap bag;
    fresh->WriteProperties(bag);
    QStringList names = bag.keys();
    names.sort();
    EXPECT_EQ(names, kStoredNames);
    EXPECT_EQ(bag.value("Caption").toString(), QStringLiteral("lnkHome"));
    EXPECT_EQ(bag.value("BackStyle").toInt(), 1);
    EXPECT_EQ(bag.value("LinkColor").value<QColor>(), QColor(0, 0, 255));
    EXPECT_TRUE(bag.value("Picture").value<QPixmap>().isNull());
}

TEST_F(PersistenceTest, RoundTripRestoresEveryValue)
{
    changeEverything(*link);
    QVariantMap bag;
    link->WriteProperties(bag);

    auto* copy = new Linkette(host.get());
    record(copy);
    log.clear();
    copy->ReadProperties(bag);
    EXPECT_EQ(log, Log{"Resize"}); // loading is no write: one fitting, nothing else

    EXPECT_EQ(copy->Caption(), QStringLiteral("Folionix home"));
    EXPECT_EQ(copy->Font(), QFont(QStringLiteral("DejaVu Sans Mono"), 17));
    EXPECT_EQ(copy->BackStyle(), Linkette::Transparent);
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(copy->BackColor(), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(copy->ForeColor(), QColor(0x44, 0x55, 0x66));
    EXPECT_FALSE(copy->Hover());
    EXPECT_EQ(copy->LinkColor(), QColor(0x77, 0x88, 0x99));
    EXPECT_EQ(copy->Style(), Linkette::Graphical);
    EXPECT_EQ(copy->Picture().toImage(), link->Picture().toImage());
    EXPECT_EQ(copy->URL(), QStringLiteral("mailto:author@folionix.example"));
    EXPECT_EQ(copy->size(), QSize(40, 24));

    QVariantMap again;
    copy->WriteProperties(again);
    again.remove("Picture"); // pixmaps do not compare as variants; the image check above covers it
    bag.remove("Picture");
    EXPECT_EQ(again, bag);
}

TEST_F(PersistenceTest, MissingNamesTakeTheDefaults)
{
    changeEverything(*link);
    link->ReadProperties({});
    expectDefaults(*link);
    EXPECT_EQ(link->size(), label()->sizeHint());
    EXPECT_FALSE(underlined());
}

struct BadStyleCase
{
    const char* name;
    const char* key;
    int value;
};

class BadStoredStyleTest : public PersistenceTest, public ::testing::WithParamInterface<BadStyleCase>
{};

TEST_P(BadStoredStyleTest, OutOfRangeValueFallsBackToTheDefault)
{
    const BadStyleCase& c = GetParam();
    changeEverything(*link);
    link->ReadProperties({{QString::fromLatin1(c.key), c.value}});
    EXPECT_EQ(link->Style(), Linkette::Standard);
    EXPECT_EQ(link->BackStyle(), Linkette::Opaque);
}

INSTANTIATE_TEST_SUITE_P(Values, BadStoredStyleTest,
                         ::testing::Values(BadStyleCase{"Style", "Style", 2},
                                           BadStyleCase{"BackStyle", "BackStyle", 5}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace linkette::test
