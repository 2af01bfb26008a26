#include "LinketteFixture.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLineEdit>

namespace linkette::test {
namespace {

using Log = std::vector<std::string>;

enum class Trigger
{
    Mouse,
    Space,
    Return,
    Enter
};

struct ClickCase
{
    const char* name;
    QString url;
    bool cancel;
    Log expected;
};

const ClickCase kClickCases[] = {
    {"Opens", kUrl, false, {"HyperJump", "open https://folionix.example/", "Click"}},
    {"CancelledStillClicks", kUrl, true, {"HyperJump", "Click"}},
    {"EmptyUrlOpensNothing", QString(), false, {"HyperJump", "Click"}},
};

class ClickTest : public LinketteFixture, public ::testing::WithParamInterface<std::tuple<ClickCase, Trigger>>
{
protected:
    void trigger(Trigger how)
    {
        switch (how) {
        case Trigger::Mouse:
            QTest::mouseClick(link, Qt::LeftButton);
            break;
        case Trigger::Space:
            QTest::keyClick(link, Qt::Key_Space);
            break;
        case Trigger::Return:
            QTest::keyClick(link, Qt::Key_Return);
            break;
        case Trigger::Enter:
            QTest::keyClick(link, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        }
    }
};

TEST_P(ClickTest, RaisesHyperJumpThenOpensThenClick)
{
    const auto& [c, how] = GetParam();
    link->setURL(c.url);
    cancelJump = c.cancel;
    log.clear();
    trigger(how);
    EXPECT_EQ(log, c.expected);
}

std::string clickCaseName(const ::testing::TestParamInfo<ClickTest::ParamType>& info)
{
    static const char* const triggers[] = {"Mouse", "Space", "Return", "Enter"};
    return std::string(std::get<0>(info.param).name) + "_" + triggers[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Cases, ClickTest,
                         ::testing::Combine(::testing::ValuesIn(kClickCases),
                                            ::testing::Values(Trigger::Mouse, Trigger::Space, Trigger::Return,
                                                              Trigger::Enter)),
                         clickCaseName);

using ActivationFixture = LinketteFixture;

TEST_F(ActivationFixture, ClickClearsHotAndRestoresThePlainLook)
{
    pointAtText();
    ASSERT_TRUE(link->isHot());
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    EXPECT_FALSE(link->isHot());
    EXPECT_FALSE(underlined());
    EXPECT_EQ(textColour(), link->ForeColor());
}

TEST_F(ActivationFixture, ReleasingAwayFromTheTextIsNoClick)
{
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QTest::mouseRelease(host.get(), Qt::LeftButton, {}, QPoint(host->width() - 5, host->height() - 5));
    EXPECT_EQ(log, Log{});
}

TEST_F(ActivationFixture, RightButtonIsNoClick)
{
    QTest::mouseClick(link, Qt::RightButton);
    EXPECT_EQ(log, Log{});
}

TEST_F(ActivationFixture, DoubleClickOpensOnce)
{
    QTest::mouseDClick(link, Qt::LeftButton);
    EXPECT_EQ(log, (Log{"HyperJump", "open https://folionix.example/", "Click"}));
}

TEST_F(ActivationFixture, DisabledControlIgnoresMouseAndKeys)
{
    link->setEnabled(false);
    log.clear();
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(log, Log{});
    EXPECT_FALSE(link->Enabled());
}

TEST_F(ActivationFixture, TabReachesTheControl)
{
    auto* edit = new QLineEdit(host.get());
    edit->move(20, 80);
    edit->show();
    QWidget::setTabOrder(edit, link);
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(link->hasFocus());
    log.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(log, (Log{"HyperJump", "open https://folionix.example/", "Click"}));
}

TEST_F(ActivationFixture, AccessibleAsALinkNamedByItsCaption)
{
    link->setCaption(QStringLiteral("Mail the author"));
    EXPECT_EQ(link->accessibleName(), QStringLiteral("Mail the author"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(link);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Link);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Mail the author"));
    ASSERT_NE(face->actionInterface(), nullptr);
    log.clear();
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(log, (Log{"HyperJump", "open https://folionix.example/", "Click"}));
}

// What callers may rely on: 0 for nothing, above 32 for opened, a small number for a failure.
enum class Outcome
{
    Nothing,
    Opened,
    Failed
};

struct JumpCase
{
    const char* name;
    QString url;
    bool openerSucceeds;
    Outcome outcome;
    Log opened;
};

const JumpCase kJumpCases[] = {
    {"EmptyUrl", QString(), true, Outcome::Nothing, {}},
    {"Opened", kUrl, true, Outcome::Opened, {"open https://folionix.example/"}},
    {"Mail",
     QStringLiteral("mailto:author@folionix.example"),
     true,
     Outcome::Opened,
     {"open mailto:author@folionix.example"}},
    {"Failed", kUrl, false, Outcome::Failed, {"open https://folionix.example/"}},
};

class HyperJumpTest : public LinketteFixture, public ::testing::WithParamInterface<JumpCase>
{};

TEST_P(HyperJumpTest, ReturnsTheOpenersResultWithoutEvents)
{
    const JumpCase& c = GetParam();
    openerSucceeds = c.openerSucceeds;
    log.clear();
    const int result = link->HyperJump(c.url);
    switch (c.outcome) {
    case Outcome::Nothing:
        EXPECT_EQ(result, 0);
        break;
    case Outcome::Opened:
        EXPECT_GT(result, 32);
        EXPECT_EQ(result, Linkette::JumpOpened);
        break;
    case Outcome::Failed:
        EXPECT_GT(result, 0);
        EXPECT_LE(result, 32);
        EXPECT_EQ(result, Linkette::JumpFailed);
        break;
    }
    EXPECT_EQ(log, c.opened);
}

INSTANTIATE_TEST_SUITE_P(Cases, HyperJumpTest, ::testing::ValuesIn(kJumpCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, HourglassOnlyWhileOpening)
{
    Qt::CursorShape during = Qt::ArrowCursor;
    Linkette::setUrlOpener([&](const QString&) {
        const QCursor* shown = QGuiApplication::overrideCursor();
        during = shown ? shown->shape() : Qt::ArrowCursor;
        return false;
    });
    link->HyperJump(kUrl);
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

} // namespace
} // namespace linkette::test
