#include "LinketteFixture.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <functional>

namespace linkette::test {
namespace {

using Log = std::vector<std::string>;

QPixmap filledPixmap(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::darkCyan);
    return pixmap;
}

struct WriteCase
{
    const char* name;
    std::function<void(Linkette&)> write;
    std::function<bool(const Linkette&)> holds;
};

const WriteCase kWriteCases[] = {
    {"Caption", [](Linkette& l) { l.setCaption("Home page"); },
     [](const Linkette& l) { return l.property("Caption").toString() == "Home page"; }},
    {"Font", [](Linkette& l) { l.setFont(QFont("DejaVu Serif", 15)); },
     [](const Linkette& l) { return l.property("Font").value<QFont>().pointSize() == 15; }},
    {"BackStyle", [](Linkette& l) { l.setBackStyle(Linkette::Transparent); },
     [](const Linkette& l) { return l.property("BackStyle").toInt() == Linkette::Transparent; }},
    {"Enabled", [](Linkette& l) { l.setEnabled(false); },
     [](const Linkette& l) { return !l.property("Enabled").toBool() && !l.isEnabled(); }},
    {"BackColor", [](Linkette& l) { l.setBackColor(Qt::yellow); },
     [](const Linkette& l) { return l.property("BackColor").value<QColor>() == QColor(Qt::yellow); }},
    {"ForeColor", [](Linkette& l) { l.setForeColor(Qt::darkGreen); },
     [](const Linkette& l) { return l.property("ForeColor").value<QColor>() == QColor(Qt::darkGreen); }},
    {"Hover", [](Linkette& l) { l.setHover(false); },
     [](const Linkette& l) { return !l.property("Hover").toBool(); }},
    {"LinkColor", [](Linkette& l) { l.setLinkColor(Qt::red); },
     [](const Linkette& l) { return l.property("LinkColor").value<QColor>() == QColor(Qt::red); }},
    {"Style", [](Linkette& l) { l.setStyle(Linkette::Graphical); },
     [](const Linkette& l) { return l.property("Style").toInt() == Linkette::Graphical; }},
    {"Picture", [](Linkette& l) { l.setPicture(filledPixmap(7, 9)); },
     [](const Linkette& l) { return l.property("Picture").value<QPixmap>().size() == QSize(7, 9); }},
    {"URL", [](Linkette& l) { l.setURL("mailto:a@b.example"); },
     [](const Linkette& l) { return l.property("URL").toString() == "mailto:a@b.example"; }},
};

class WriteTest : public LinketteFixture, public ::testing::WithParamInterface<WriteCase>
{};

TEST_P(WriteTest, EachWriteIsReportedOnceUnderItsName)
{
    const WriteCase& c = GetParam();
    QSignalSpy changed(link, &Linkette::PropertyChanged);
    c.write(*link);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), QString::fromLatin1(c.name));
    EXPECT_TRUE(c.holds(*link));
}

INSTANTIATE_TEST_SUITE_P(Properties, WriteTest, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct IllegalCase
{
    const char* name;
    std::function<void(Linkette&, int)> write;
    std::function<int(const Linkette&)> read;
    int before;
    int value;
    const char* source;
};

const IllegalCase kIllegalCases[] = {
    {"Style2", &Linkette::setStyle, &Linkette::Style, Linkette::Graphical, 2, "Linkette.Style"},
    {"Style7", &Linkette::setStyle, &Linkette::Style, Linkette::Graphical, 7, "Linkette.Style"},
    {"BackStyle2", &Linkette::setBackStyle, &Linkette::BackStyle, Linkette::Transparent, 2,
     "Linkette.BackStyle"},
    {"BackStyleNegative", &Linkette::setBackStyle, &Linkette::BackStyle, Linkette::Transparent, -1,
     "Linkette.BackStyle"},
};

class IllegalValueTest : public LinketteFixture, public ::testing::WithParamInterface<IllegalCase>
{};

TEST_P(IllegalValueTest, FailsWith380AndKeepsTheValue)
{
    const IllegalCase& c = GetParam();
    c.write(*link, c.before);
    log.clear();
    try {
        c.write(*link, c.value);
        ADD_FAILURE() << "no error for " << c.value;
    } catch (const LinketteError& error) {
        EXPECT_EQ(error.number, 380);
        EXPECT_EQ(error.source, QString::fromLatin1(c.source));
        EXPECT_EQ(error.description, QStringLiteral("Illegal Property Value"));
        EXPECT_STREQ(error.what(), (std::string(c.source) + ": Illegal Property Value").c_str());
    }
    EXPECT_EQ(c.read(*link), c.before);
    EXPECT_EQ(log, Log{});
}

INSTANTIATE_TEST_SUITE_P(Values, IllegalValueTest, ::testing::ValuesIn(kIllegalCases),
                         [](const auto& info) { return std::string(info.param.name); });

using PropertiesFixture = LinketteFixture;

TEST_F(PropertiesFixture, RewritingTheStyleOnlyReportsIt)
{
    pointAtText();
    const QSize before = link->size();
    log.clear();
    link->setStyle(Linkette::Standard);
    EXPECT_EQ(log, Log{"PropertyChanged Style"});
    EXPECT_EQ(link->size(), before);
    EXPECT_TRUE(link->isHot());
}

TEST_F(PropertiesFixture, NewStyleClearsHotFitsAndRefreshes)
{
    pointAtText();
    ASSERT_TRUE(link->isHot());
    log.clear();
    link->setStyle(Linkette::Graphical);
    EXPECT_EQ(log, (Log{"Resize", "PropertyChanged Style"}));
    EXPECT_FALSE(link->isHot());
    EXPECT_TRUE(image()->isVisible());
    EXPECT_FALSE(label()->isVisible());
    EXPECT_EQ(link->size(), QSize(32, 32)); // the built-in picture

    link->setStyle(Linkette::Standard);
    EXPECT_TRUE(label()->isVisible());
    EXPECT_FALSE(image()->isVisible());
    EXPECT_EQ(link->size(), label()->sizeHint());
    EXPECT_FALSE(underlined());
}

struct PictureCase
{
    const char* name;
    QPixmap picture;
    QSize size;
};

class GraphicalPictureTest : public LinketteFixture, public ::testing::WithParamInterface<PictureCase>
{};

TEST_P(GraphicalPictureTest, SizesToThePictureAndRaisesChange)
{
    const PictureCase& c = GetParam();
    link->setStyle(Linkette::Graphical);
    link->setPicture(filledPixmap(3, 3));
    log.clear();
    link->setPicture(c.picture);
    EXPECT_EQ(log, (Log{"Resize", "Change", "PropertyChanged Picture"}));
    EXPECT_EQ(link->size(), c.size);
    EXPECT_EQ(link->ScaleWidth(), c.size.width());
    EXPECT_EQ(link->ScaleHeight(), c.size.height());
    EXPECT_EQ(image()->pixmap().size(), c.size);
    EXPECT_EQ(link->Picture().isNull(), c.picture.isNull());
}

INSTANTIATE_TEST_SUITE_P(Pictures, GraphicalPictureTest,
                         ::testing::Values(PictureCase{"BuiltIn", QPixmap(), QSize(32, 32)},
                                           PictureCase{"Wide", filledPixmap(48, 20), QSize(48, 20)},
                                           PictureCase{"Tall", filledPixmap(10, 60), QSize(10, 60)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PropertiesFixture, PictureInStandardStyleOnlyWaits)
{
    const QSize before = link->size();
    log.clear();
    link->setPicture(filledPixmap(48, 20));
    EXPECT_EQ(log, Log{"PropertyChanged Picture"});
    EXPECT_EQ(link->size(), before);
    link->setStyle(Linkette::Graphical);
    EXPECT_EQ(link->size(), QSize(48, 20));
}

TEST_F(PropertiesFixture, CaptionInStandardStyleFitsAndRaisesChange)
{
    const QString longer = QStringLiteral("Visit the Folionix web site for news and updates");
    log.clear();
    link->setCaption(longer);
    EXPECT_EQ(log, (Log{"Resize", "Change", "PropertyChanged Caption"}));
    EXPECT_EQ(label()->text(), longer);
    EXPECT_EQ(link->size(), label()->sizeHint());
    EXPECT_GE(link->width(), QFontMetrics(link->Font()).horizontalAdvance(longer));
    EXPECT_EQ(link->ScaleWidth(), link->width());
}

TEST_F(PropertiesFixture, CaptionInGraphicalStyleChangesNothingVisible)
{
    link->setStyle(Linkette::Graphical);
    const QSize before = link->size();
    log.clear();
    link->setCaption(QStringLiteral("A much longer caption than before"));
    EXPECT_EQ(log, Log{"PropertyChanged Caption"});
    EXPECT_EQ(link->size(), before);
    link->setStyle(Linkette::Standard);
    EXPECT_EQ(link->size(), label()->sizeHint());
}

TEST_F(PropertiesFixture, FontFitsAndKeepsTheLinkLook)
{
    link->setHover(false);
    const QSize before = link->size();
    QFont big = link->Font();
    big.setPointSize(big.pointSize() * 2);
    log.clear();
    link->setFont(big);
    EXPECT_EQ(log, (Log{"Resize", "PropertyChanged Font"}));
    EXPECT_GT(link->width(), before.width());
    EXPECT_GT(link->height(), before.height());
    EXPECT_EQ(label()->font().pointSize(), big.pointSize());
    EXPECT_TRUE(underlined());
}

TEST_F(PropertiesFixture, ContainerResizeIsFittedBack)
{
    const QSize fitted = link->size();
    log.clear();
    link->resize(fitted + QSize(100, 40));
    EXPECT_EQ(link->size(), fitted);
    EXPECT_EQ(log, Log{"Resize"});
}

TEST_F(PropertiesFixture, FollowsTheContainersFontUntilWritten)
{
    QFont hostFont = host->font();
    hostFont.setPointSize(hostFont.pointSize() + 6);
    host->setFont(hostFont);
    EXPECT_EQ(link->Font().pointSize(), hostFont.pointSize());
    EXPECT_EQ(link->size(), label()->sizeHint());
}

TEST(LinketteCaption, FollowsTheObjectNameUntilWritten)
{
    Linkette link;
    EXPECT_EQ(link.Caption(), QStringLiteral("Linkette1"));
    link.setObjectName(QStringLiteral("lnkHome"));
    EXPECT_EQ(link.Caption(), QStringLiteral("lnkHome"));
    EXPECT_EQ(link.accessibleName(), QStringLiteral("lnkHome"));
    link.setCaption(QStringLiteral("Home"));
    link.setObjectName(QStringLiteral("lnkOther"));
    EXPECT_EQ(link.Caption(), QStringLiteral("Home"));
}

} // namespace
} // namespace linkette::test
