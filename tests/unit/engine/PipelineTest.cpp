#include "EngineFixture.h"

#include <algorithm>

namespace folionix::test {
namespace {

// The script indicator letters of each line (lines without one give "-").
QStringList indicatorLetters(const Document& doc)
{
    QStringList letters;
    for (const Page& page : doc.pages())
        for (const TextRun& run : page.runs) {
            if (run.role != ItemRole::Body)
                continue;
            if (run.lineStart)
                letters << QStringLiteral("-");
            const QStringView text = doc.textOf(run);
            if ((text == u"V" || text == u"J") && doc.styleNames()[run.style].isEmpty() && !letters.isEmpty())
                letters.back() = text.toString();
        }
    return letters;
}

TEST_F(EngineTest, LineEndingsGiveIdenticalOutput)
{
    const QByteArray lines[] = {"<html>", "<body>", "<% x = 1", "y = 2 %>", "text", "</body>"};
    const QByteArray endings[] = {"\r\n", "\n", "\r"};
    std::vector<QStringList> outputs;
    for (const QByteArray& eol : endings) {
        QByteArray bytes;
        for (const QByteArray& l : lines)
            bytes += l + eol;
        file(QStringLiteral("page.asp"), bytes);
        run({QStringLiteral("page.asp")});
        outputs.push_back(bodyLines());
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_EQ(outputs[0], outputs[2]);
    EXPECT_GE(outputs[0].size(), 3);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
}

TEST_F(EngineTest, TabBecomesOneSpaceWhateverTheTabSize)
{
    Options().VBScriptOptions.TabSize = 8;
    Options().HTMLOptions.TabSize = 8;
    // A quoted value keeps its blanks, so it shows what became of the tabs.
    file(QStringLiteral("tab.asp"), "<p title=\"a\tb\t\tc\">");
    run({QStringLiteral("tab.asp")});
    const QStringList lines = bodyLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().contains(QStringLiteral("\"a b  c\""))) << lines.first().toStdString();
}

TEST_F(EngineTest, LeadingBlankLinesAndIndentationAreNotPrinted)
{
    file(QStringLiteral("lead.asp"), "\r\n\r\n   \t <p>hello");
    run({QStringLiteral("lead.asp")});
    const QStringList lines = bodyLines();
    ASSERT_GE(lines.size(), 1);
    EXPECT_EQ(lines.first(), QStringLiteral(" 00001  <P>hello "));
}

TEST_F(EngineTest, EmptyFileStartsANewPageWithOneNumberedLine)
{
    file(QStringLiteral("a.asp"), "<p>one</p>");
    file(QStringLiteral("empty.asp"), "");
    run({QStringLiteral("a.asp"), QStringLiteral("empty.asp")});
    ASSERT_EQ(doc().pages().size(), 2u);
    EXPECT_EQ(bodyLines(1), QStringList{QStringLiteral(" 00001  ")});
}

TEST_F(EngineTest, StyleSheetByExtensionIgnoringCase)
{
    const QByteArray css = "<b>x</b>\r\n";
    file(QStringLiteral("STYLE.CSS"), css);
    file(QStringLiteral("style.css.bak"), css);
    run({QStringLiteral("STYLE.CSS")});
    EXPECT_TRUE(bodyLines().contains(QStringLiteral(" 00001  <b>x</b>")))
        << bodyLines().join(u'|').toStdString();
    run({QStringLiteral("style.css.bak")});
    const QStringList html = bodyLines();
    EXPECT_FALSE(
        std::any_of(html.begin(), html.end(), [](const QString& l) { return l.contains(u"<b>x</b>"); }));
}

TEST_F(EngineTest, ServerLanguageDirectiveAppliesToTheFileOnly)
{
    const QByteArray page = "<%@ LANGUAGE=\"JScript\" %>\r\n<% x = 1 %>\r\n";
    file(QStringLiteral("one.asp"), page);
    file(QStringLiteral("two.asp"), "<% x = 1 %>\r\n");
    run({QStringLiteral("one.asp"), QStringLiteral("two.asp")});
    QStringList letters = indicatorLetters(doc());
    letters.removeAll(QStringLiteral("-")); // lines that only end a block
    // JScript blocks end without a line end, so both blocks of the first file share its first line.
    EXPECT_EQ(letters, (QStringList{QStringLiteral("J"), QStringLiteral("V")}))
        << bodyLines().join(u'|').toStdString();
    EXPECT_TRUE(bodyLines().first().contains(QStringLiteral("%><% x = 1 %>")));
}

TEST_F(EngineTest, ClientVBScriptBecomesTheDefaultForLaterPlainScripts)
{
    Options().ClientSideScriptingLanguage = 1;
    file(QStringLiteral("c.asp"), "<script language=\"VBScript\">a</script>\r\n<script>b</script>\r\n");
    run({QStringLiteral("c.asp")});
    QStringList letters = indicatorLetters(doc());
    letters.removeAll(QStringLiteral("-"));
    EXPECT_EQ(letters, (QStringList{QStringLiteral("V"), QStringLiteral("V")}));
}

TEST_F(EngineTest, UnknownScriptLanguageIsPrintedAsHtml)
{
    file(QStringLiteral("p.asp"), "<script language=\"PerlScript\">print 1;</script>");
    run({QStringLiteral("p.asp")});
    const QStringList letters = indicatorLetters(doc());
    EXPECT_TRUE(std::all_of(letters.begin(), letters.end(), [](const QString& l) { return l == u"-"; }));
    EXPECT_TRUE(bodyLines().join(QString()).contains(QStringLiteral("print 1;")));
}

TEST_F(EngineTest, UnreadableFileIsReportedAndTheRunGoesOn)
{
    file(QStringLiteral("good.asp"), "<p>fine</p>");
    run({QStringLiteral("missing.asp"), QStringLiteral("good.asp")});
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Member        : ProcessFile")));
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Stage         : Open File '")));
    EXPECT_TRUE(reports[0].contains(QStringLiteral("missing.asp")));
    EXPECT_TRUE(bodyLines().join(QString()).contains(QStringLiteral("fine")));
    EXPECT_EQ(host.labels, (QStringList{QStringLiteral("missing.asp"), QStringLiteral("good.asp")}));
}

TEST_F(EngineTest, BinaryContentIsProcessedWithoutFailure)
{
    QByteArray bytes;
    quint32 x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        bytes += char(x >> 24);
    }
    bytes += QByteArray("<%\0 x %>\0<script\0", 18);
    file(QStringLiteral("bin.asp"), bytes);
    run({QStringLiteral("bin.asp")});
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
    EXPECT_GE(doc().pages().size(), 1u);
}

TEST_F(EngineTest, CancelDuringTheSecondFileKeepsThePagesAndExports)
{
    for (const char* name : {"a.asp", "b.asp", "c.asp"})
        file(QString::fromLatin1(name), "<p>text</p>\r\n<% x %>\r\n");
    host.onEvents = [this] {
        if (host.labels.endsWith(QStringLiteral("b.asp")))
            g_bCancelled = true;
    };
    Options().ExportFormat = 99;
    Options().ViewExportedFile = true;
    g_sExportFile = dir.filePath(QStringLiteral("out.pdf"));
    run({QStringLiteral("a.asp"), QStringLiteral("b.asp"), QStringLiteral("c.asp")});
    EXPECT_EQ(host.labels, (QStringList{QStringLiteral("a.asp"), QStringLiteral("b.asp")}));
    EXPECT_EQ(host.converted, QStringList{dir.filePath(QStringLiteral("out.pdf"))});
    EXPECT_EQ(host.viewed, host.converted);
    EXPECT_EQ(host.surface.DocumentState(), 2);
    EXPECT_FALSE(g_bCancelled);
    EXPECT_FALSE(g_bProcessing);
    EXPECT_TRUE(g_sExportFile.isEmpty());
}

TEST_F(EngineTest, FailedPdfConversionShowsTheMessageAndOpensNothing)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    host.convertOk = false;
    Options().ExportFormat = 99;
    Options().ViewExportedFile = true;
    g_sExportFile = QStringLiteral("/nowhere/out.pdf");
    run({QStringLiteral("a.asp")});
    ASSERT_EQ(host.messages.size(), 1);
    EXPECT_EQ(host.messages[0],
              QStringLiteral("Failure to convert output to PDF. \rError = 'disk full'.\r\r File "
                             "name = ' /nowhere/out.pdf'\r\rPlease make sure that the file is "
                             "not currently open."));
    EXPECT_TRUE(host.viewed.isEmpty());
}

TEST_F(EngineTest, RunThatFailsStillEndsTheDocumentAndComesToRest)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    host.failPrepare = true;
    Options().ExportFormat = 99;
    g_sExportFile = dir.filePath(QStringLiteral("partial.pdf"));
    run({QStringLiteral("a.asp")});
    EXPECT_EQ(reports.size(), 1);
    EXPECT_EQ(host.ended, 1);
    EXPECT_FALSE(g_bProcessing);
    EXPECT_EQ(host.surface.DocumentState(), 2);
    EXPECT_EQ(host.converted.size(), 1); // what was made is still written
    EXPECT_TRUE(g_sExportFile.isEmpty());
}

TEST_F(EngineTest, OnlyTickedEntriesAreProcessedInListOrder)
{
    file(QStringLiteral("a.asp"), "a");
    file(QStringLiteral("b.asp"), "b");
    file(QStringLiteral("c.asp"), "c");
    std::vector<FileListItem> items = {{true, QStringLiteral("c.asp"), dir.path() + u'/'},
                                       {false, QStringLiteral("b.asp"), dir.path()},
                                       {true, QStringLiteral("a.asp"), dir.path()}};
    CodeProcessor().ProcessFiles(items, false);
    EXPECT_EQ(host.labels, (QStringList{QStringLiteral("c.asp"), QStringLiteral("a.asp")}));
    EXPECT_EQ(host.modes, std::vector<RunMode>{RunMode::Print});
    EXPECT_EQ(host.surface.ProgressText(), QStringLiteral("Now Printing Page %d"));
    EXPECT_EQ(host.surface.ProgressCaption(), QStringLiteral("Folionix - Printing"));
}

TEST(FullFileName, OneSeparatorBetweenFolderAndName)
{
    EXPECT_EQ(FullFileName(QStringLiteral("/site"), QStringLiteral("a.asp")), QStringLiteral("/site/a.asp"));
    EXPECT_EQ(FullFileName(QStringLiteral("/site/"), QStringLiteral("a.asp")), QStringLiteral("/site/a.asp"));
    EXPECT_EQ(FullFileName(QStringLiteral("C:\\site\\"), QStringLiteral("a.asp")),
              QStringLiteral("C:\\site\\a.asp"));
}

} // namespace
} // namespace folionix::test
