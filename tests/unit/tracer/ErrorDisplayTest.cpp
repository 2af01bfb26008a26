#include <ErrorDisplay.h>
#include <ErrorTrace.h>
#include <Linkette.h>
#include <MendwickConfig.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace mendwick;

namespace {

// Opens nothing; remembers what would have been opened.
class ErrorDisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        App() = AppInfo{QStringLiteral("Folionix"), 2, 0, 7};
        Err().Clear();
        frmErrorDisplay::setUrlOpener([this](const QString& url) {
            opened << url;
            return true;
        });
    }
    void TearDown() override
    {
        frmErrorDisplay::setUrlOpener({});
        Err().Clear();
    }
    QStringList opened;
};

// The value of a query item of a mailto link, decoded.
QString mailField(const QString& link, const char* name)
{
    const QUrl url = QUrl::fromEncoded(link.toUtf8(), QUrl::StrictMode);
    return QUrlQuery(url).queryItemValue(QString::fromLatin1(name), QUrl::FullyDecoded);
}

TEST_F(ErrorDisplayTest, WindowLayoutAndTexts)
{
    frmErrorDisplay window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("UNEXPECTED PROGRAM ERROR"));
    EXPECT_TRUE(window.lblInstructions->text().startsWith(QStringLiteral(
        "An unexpected application error has occured. Please click on the Send Email button")));
    EXPECT_TRUE(window.lblInstructions->text().endsWith(
        QStringLiteral("latest version of the software. \n\nThank you.")));
    EXPECT_TRUE(window.txtTo->isReadOnly());
    EXPECT_TRUE(window.txtSubject->isReadOnly());
    EXPECT_EQ(window.txtTo->text(), QString::fromLatin1(config::SupportEmail));
    EXPECT_EQ(window.cmdSend->text(), QStringLiteral("Send Email"));
    EXPECT_EQ(window.cmdCancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(window.lnkWebSite->Caption(), QStringLiteral("Click here to visit our Web site"));
    EXPECT_EQ(window.lnkWebSite->URL(), QString::fromLatin1(config::WebSite));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(ErrorDisplayTest, SendEmailCarriesTheWholeReport)
{
    frmErrorDisplay window;
    window.setWindowTitle(QStringLiteral("Folionix version 2.0.7"));
    const QString report =
        QStringLiteral("Error Number  : 5\r\nDescription   : a & b ? c # 100% = done\r\n\r\n"
                       "Stage         : Open File 'x&y.asp'\r\n");
    window.setErrDetails(report);
    EXPECT_EQ(window.txtSubject->text(), QStringLiteral("Application Error: Folionix version 2.0.7"));

    QTest::mouseClick(window.cmdSend, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    const QString link = opened.first();
    EXPECT_TRUE(
        link.startsWith(QStringLiteral("mailto:") + QString::fromLatin1(config::SupportEmail) +
                        QStringLiteral("?subject=Application%20Error:%20Folionix%20version%202.0.7&body=")))
        << link.toStdString();
    EXPECT_TRUE(link.contains(QStringLiteral("%0A"))); // line breaks as %0A
    EXPECT_FALSE(link.contains(u' '));
    EXPECT_FALSE(link.contains(u'\n'));
    EXPECT_EQ(mailField(link, "subject"), QStringLiteral("Application Error: Folionix version 2.0.7"));
    QString expectedBody =
        QStringLiteral("Technical Support,\n\nI would like to submit the following error for your "
                       "attention:\n\n") +
        report;
    expectedBody.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(mailField(link, "body"), expectedBody);
}

TEST_F(ErrorDisplayTest, ShowErrorPresentsTheReportWindowModally)
{
    QString seenTitle, seenBody, seenSubject;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* w = QApplication::activeModalWidget();
        auto* display = qobject_cast<frmErrorDisplay*>(w);
        if (!display)
            return;
        seenTitle = display->windowTitle();
        seenBody = display->txtBody->toPlainText();
        seenSubject = display->txtSubject->text();
        wasModal = display->isModal();
        QTest::mouseClick(display->cmdCancel, Qt::LeftButton);
    });
    resetReportSink(); // the default: the window, since this process has widgets
    ErrorTrace trace("clsCodeProcessor", "ProcessFile");
    trace.Stage("Open File '", QStringLiteral("/site/a.asp"), "'");
    Err().Set(53, QStringLiteral("File not found"), QString());
    trace.ShowError(2);
    Err().Clear();
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(seenTitle, QStringLiteral("Folionix version 2.0.7"));
    EXPECT_EQ(seenSubject, QStringLiteral("Application Error: Folionix version 2.0.7"));
    EXPECT_TRUE(seenBody.startsWith(QStringLiteral("Error Number  : 53\nDescription   : File not found\n")));
    EXPECT_TRUE(seenBody.contains(QStringLiteral("Stage         : Open File '/site/a.asp'\n")));
    EXPECT_FALSE(ErrorDisplay().isVisible());
    EXPECT_EQ(&ErrorDisplay(), &ErrorDisplay()); // created once, reused
}

} // namespace
