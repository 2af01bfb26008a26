#include <DesktopDialogs.h>
#include <UserMessages.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace folionix;

namespace {

// Presses the button with the given role on the next message box that appears, and remembers its
// text and icon.
struct BoxAnswer
{
    explicit BoxAnswer(QMessageBox::StandardButton button) : press(button) {}
    QMessageBox::StandardButton press;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

    void arm()
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->text();
            icon = box->icon();
            box->button(press)->click();
        });
    }
};

TEST(DesktopDialogs, QuestionsAndMessagesGoToMessageBoxes)
{
    installDesktopDialogs(nullptr);
    for (const auto& [press, expected] :
         {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        BoxAnswer answer(press);
        answer.arm();
        EXPECT_EQ(AskYesNo(QStringLiteral("First line.\r\rSecond?")), expected);
        EXPECT_EQ(answer.text, QStringLiteral("First line.\n\nSecond?"));
    }
    BoxAnswer ok(QMessageBox::Ok);
    ok.arm();
    ShowMessage(QStringLiteral("Failure to open the exported file. File not found"), MessageIcon::Error);
    EXPECT_EQ(ok.icon, QMessageBox::Critical);
    EXPECT_EQ(ok.text, QStringLiteral("Failure to open the exported file. File not found"));
    setMessageHandler({});
    setQuestionHandler({});
}

} // namespace
