#include <ErrorTrace.h>

#include <QLocale>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

using namespace mendwick;

namespace {

struct Report
{
    QString title;
    QString text;
};

// Captures reports instead of writing them to standard error, with a fixed clock.
class TracerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        App() = AppInfo{QStringLiteral("Folionix"), 1, 2, 3};
        Err().Clear();
        setReportSink([this](const QString& title, const QString& text) {
            reports.push_back({title, text});
        });
        setClock([] { return QDateTime(QDate(2026, 12, 11), QTime(10, 30, 0)); });
    }
    void TearDown() override
    {
        resetReportSink();
        setClock({});
        Err().Clear();
    }
    std::vector<Report> reports;
};

TEST_F(TracerTest, ClearedErrorShowsNothing)
{
    {
        ErrorTrace trace("clsCodeProcessor", "ProcessFiles");
        trace.Stage("Working");
        trace.ShowError(2);
    } // the clean-up ShowError(1) finds nothing either
    EXPECT_TRUE(reports.empty());
}

TEST_F(TracerTest, ReportTextLineByLine)
{
    ErrorTrace trace;
    trace.Context(&App(), &Err(), "clsCodeProcessor", "ProcessFile");
    Err().Set(53, QStringLiteral("File not found"), QStringLiteral("clsCodeProcessor"));
    trace.ShowError(2);
    Err().Clear();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].title, QStringLiteral("Folionix version 1.2.3"));
    const QStringList lines = reports[0].text.split(QStringLiteral("\r\n"));
    const QString expectedDate =
        QLocale::system().toString(QDateTime(QDate(2026, 12, 11), QTime(10, 30, 0)), QLocale::ShortFormat);
    const QStringList expected = {
        QStringLiteral("Error Number  : 53"),
        QStringLiteral("Description   : File not found"),
        QString(),
        QStringLiteral("Application   : Folionix"),
        QStringLiteral("Version       : 1.2.3"),
        QStringLiteral("Component     : clsCodeProcessor"),
        QStringLiteral("Member        : ProcessFile"),
        QStringLiteral("Stage         : Entry Point"),
        QStringLiteral("Date and time : ") + expectedDate,
        QString(),
        QString(), // the text ends with CR LF, so the split leaves an empty tail
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(TracerTest, StageTextsAreJoinedWhenReported)
{
    struct Case
    {
        std::function<void(ErrorTrace&)> set;
        QString expected;
    };
    const std::vector<Case> cases = {
        {[](ErrorTrace& t) { t.Stage("Load Fonts"); }, QStringLiteral("Load Fonts")},
        {[](ErrorTrace& t) { t.Stage("Open File '", QStringLiteral("/x/a.asp"), "'"); },
         QStringLiteral("Open File '/x/a.asp'")},
        {[](ErrorTrace& t) { t.Stage("File size in bytes = ", qint64(1234)); },
         QStringLiteral("File size in bytes = 1234")},
        {[](ErrorTrace& t) {
             t.Stage("first ", QStringLiteral("x"));
             t.Stage("Show form");
         },
         QStringLiteral("Show form")},
    };
    for (const Case& c : cases) {
        ErrorTrace trace("frmMain", "Form_Load");
        c.set(trace);
        EXPECT_EQ(trace.Stage(), c.expected);
    }
}

TEST_F(TracerTest, GuardReportsClearsAndReturnsFallback)
{
    ErrorTrace trace("basCommonRoutines", "InchesToTwips");
    const int result = Guard(
        trace,
        [&]() -> int {
            trace.Stage("Convert");
            throw AppError(13, QStringLiteral("Type mismatch"), QStringLiteral("basCommonRoutines"));
        },
        -1);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(Err().Number, 0);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("Error Number  : 13\r\n")));
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("Stage         : Convert\r\n")));
}

TEST_F(TracerTest, GuardMapsForeignExceptions)
{
    ErrorTrace trace("x", "y");
    Guard(trace, [] { throw std::runtime_error("disk on fire"); });
    Guard(trace, [] { throw std::bad_alloc(); });
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(
        reports[0].text.startsWith(QStringLiteral("Error Number  : 51\r\nDescription   : disk on fire")));
    EXPECT_TRUE(reports[1].text.startsWith(QStringLiteral("Error Number  : 7\r\n")));
}

TEST_F(TracerTest, PendingErrorIsReportedAtCleanUp)
{
    {
        ErrorTrace trace("clsOptions", "AddHeader");
        Err().Set(457, QStringLiteral("duplicate key"), QString());
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(QStringLiteral("Member        : AddHeader")));
    Err().Clear();
}

TEST_F(TracerTest, RethrowSavedErrorRaisesTheSavedValues)
{
    ErrorTrace trace("x", "y");
    Err().Set(5, QStringLiteral("first"), QStringLiteral("here"));
    trace.SaveError();
    Err().Set(9, QStringLiteral("second"), QStringLiteral("there"));
    Err().Clear();
    EXPECT_EQ(trace.SavedErrorNumber(), 5);
    EXPECT_EQ(trace.SavedErrorSource(), QStringLiteral("here"));
    EXPECT_EQ(trace.SavedErrorDescription(), QStringLiteral("first"));
    try {
        trace.RethrowSavedError();
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 5);
        EXPECT_EQ(e.description(), QStringLiteral("first"));
        EXPECT_EQ(e.source(), QStringLiteral("here"));
    }
}

TEST_F(TracerTest, FailingSinkNeverReachesTheCaller)
{
    setReportSink([](const QString&, const QString&) { throw std::runtime_error("window gone"); });
    ErrorTrace trace("x", "y");
    Err().Set(5, QStringLiteral("boom"), QString());
    EXPECT_NO_THROW(trace.ShowError(2));
    Err().Clear();
}

} // namespace
