#include "EngineFixture.h"

#include <CommonRoutines.h>
#include <RtfReader.h>
#include <UserMessages.h>

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLocale>

using namespace folionix;
using namespace folionix::test;

namespace {

class DocumentExtrasTest : public EngineTest
{
protected:
    // Body lines of one page, text joined per line.
    QStringList pageLines(int page) const { return bodyLines(page); }

    QString picture(const QString& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.setDotsPerMeterX(3780); // 96 dpi: 15 twips a pixel
        image.setDotsPerMeterY(3780);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    std::vector<const TextRun*> bodyRuns(int page) const
    {
        std::vector<const TextRun*> runs;
        for (const TextRun& run : doc().pages()[size_t(page)].runs)
            if (run.role == ItemRole::Body && run.textLength > 0)
                runs.push_back(&run);
        return runs;
    }
};

TEST_F(DocumentExtrasTest, TextCoverSheetFillsDateAndVariablesOnItsOwnPage)
{
    qputenv("FOLIONIX_COVER_USER", "Ada Lovelace");
    // Both line-end conventions: a cover sheet written on any system keeps its lines.
    for (const QByteArray& lineEnd : {QByteArray("\r\n"), QByteArray("\n")}) {
        ResetEngineState();
        CodeProcessor().setHost(&host);
        file(QStringLiteral("cover.txt"), "Printed <LongDate>" + lineEnd + "%FOLIONIX_COVER_USER%" + lineEnd);
        file(QStringLiteral("a.asp"), "<p>x</p>");
        Options().CoverSheetFileName =
            QStringLiteral("  ") + dir.filePath(QStringLiteral("cover.txt")) + u' ';
        Options().PageBorder = 7;
        run({QStringLiteral("a.asp")});

        const QString longDate = QLocale::system().toString(QDate::currentDate(), QLocale::LongFormat);
        ASSERT_GE(doc().pages().size(), 2u);
        EXPECT_EQ(pageLines(0),
                  (QStringList{QStringLiteral("Printed ") + longDate, QStringLiteral("Ada Lovelace")}));
        for (const TextRun* run : bodyRuns(0)) {
            const FontKey& font = doc().fonts()[run->font];
            EXPECT_EQ(font.family, QStringLiteral("Courier New"));
            EXPECT_EQ(font.pointSize, 11);
            EXPECT_TRUE(font.bold);
            EXPECT_EQ(run->color, 0xFF0000u); // blue
        }
        // No header, footer or border on the cover; the listing starts on the next page with them.
        const Page& cover = doc().pages()[0];
        EXPECT_TRUE(std::none_of(cover.runs.begin(), cover.runs.end(),
                                 [](const TextRun& r) { return r.role != ItemRole::Body; }));
        EXPECT_TRUE(cover.shapes.empty());
        EXPECT_FALSE(doc().pages()[1].shapes.empty());
        EXPECT_TRUE(pageLines(1).value(0).startsWith(QStringLiteral(" 00001")));
        EXPECT_EQ(host.surface.PageBorder(), 7);
        EXPECT_EQ(g_iDocumentSection, SectionListing);
        EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
    }
    qunsetenv("FOLIONIX_COVER_USER");
}

TEST_F(DocumentExtrasTest, CoverSheetKindsByExtension)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    struct Case
    {
        const char* name;
        const char* content;
        bool textOnCover;
        int messages;
    };
    const Case cases[] = {
        {"cover.htm", "<h1>Title</h1>", false, 0},      // neither .txt nor .rtf: an empty cover page
        {"COVER.TXT", "Upper case extension", true, 0}, // extension ignoring case
        {"missing.txt", nullptr, false, 1},             // unreadable: the message, an empty cover
        {"empty.txt", "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetEngineState();
        CodeProcessor().setHost(&host);
        host.messages.clear();
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        if (c.content)
            file(QString::fromLatin1(c.name), c.content);
        Options().CoverSheetFileName = path;
        run({QStringLiteral("a.asp")});
        ASSERT_GE(doc().pages().size(), 2u);
        EXPECT_EQ(!bodyRuns(0).empty(), c.textOnCover);
        EXPECT_TRUE(pageLines(1).value(0).startsWith(QStringLiteral(" 00001")));
        ASSERT_EQ(host.messages.size(), c.messages);
        if (c.messages) {
            EXPECT_TRUE(host.messages[0].startsWith(
                QStringLiteral("Failure to render the Coversheet file. Error = 53 - ")))
                << host.messages[0].toStdString();
        }
    }
}

TEST_F(DocumentExtrasTest, RtfCoverSheetIsRenderedWithItsFormatting)
{
    qputenv("FOLIONIX_COVER_USER", "Ada");
    file(QStringLiteral("cover.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}}"
                                      "{\\colortbl;\\red255\\green0\\blue0;}"
                                      "\\f0\\fs40\\b Site listing\\b0\\par"
                                      "\\f1\\fs20 Printed <ShortDate> for \\i %FOLIONIX_COVER_USER%\\i0\\par"
                                      "\\cf1\\ul Confidential\\ulnone\\tab caf\\'e9\\par}");
    file(QStringLiteral("a.asp"), "<p>x</p>");
    Options().CoverSheetFileName = dir.filePath(QStringLiteral("cover.rtf"));
    run({QStringLiteral("a.asp")});
    ASSERT_GE(doc().pages().size(), 2u);
    const QString shortDate = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const QStringList lines = pageLines(0);
    ASSERT_EQ(lines.size(), 3) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Site listing"));
    EXPECT_EQ(lines[1], QStringLiteral("Printed ") + shortDate + QStringLiteral(" for Ada"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Confidential"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("caf\u00E9"))) << lines[2].toStdString();
    const auto runWith = [&](const QString& text) -> const TextRun* {
        for (const TextRun* run : bodyRuns(0))
            if (doc().textOf(*run).contains(text))
                return run;
        return nullptr;
    };
    const TextRun* title = runWith(QStringLiteral("Site listing"));
    const TextRun* user = runWith(QStringLiteral("Ada"));
    const TextRun* warning = runWith(QStringLiteral("Confidential"));
    ASSERT_TRUE(title && user && warning);
    EXPECT_EQ(doc().fonts()[title->font].family, QStringLiteral("Times New Roman"));
    EXPECT_EQ(doc().fonts()[title->font].pointSize, 20);
    EXPECT_TRUE(doc().fonts()[title->font].bold);
    EXPECT_TRUE(doc().fonts()[user->font].italic);
    EXPECT_EQ(doc().fonts()[user->font].family, QStringLiteral("Courier New"));
    EXPECT_TRUE(doc().fonts()[warning->font].underline);
    EXPECT_EQ(warning->color, 0x0000FFu); // red
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
    qunsetenv("FOLIONIX_COVER_USER");
}

TEST_F(DocumentExtrasTest, CoverSheetFromTheWebIsNotReadAndNoCoverWithoutName)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    Options().CoverSheetFileName = QStringLiteral("HTTP://example.invalid/cover.txt");
    run({QStringLiteral("a.asp")});
    EXPECT_EQ(doc().pages().size(), 2u); // the empty cover page and the listing
    EXPECT_TRUE(host.messages.isEmpty());

    ResetEngineState();
    CodeProcessor().setHost(&host);
    Options().CoverSheetFileName = QStringLiteral("   ");
    run({QStringLiteral("a.asp")});
    EXPECT_EQ(doc().pages().size(), 1u);
}

TEST(CoverSheetText, PlaceholdersIgnoreCaseAndVariablesFollow)
{
    const QDateTime now(QDate(2026, 3, 7), QTime(14, 5, 9));
    const QLocale locale = QLocale::system();
    qputenv("FOLIONIX_COVER_SITE", "intranet");
    const QString text = CoverSheetText(
        QStringLiteral(
            "<longdate>|<SHORTDATE>|<ShortTime>|<Today>|<GeneralDate>|%FOLIONIX_COVER_SITE%|<Other>"),
        now);
    const QStringList parts = text.split(u'|');
    ASSERT_EQ(parts.size(), 7);
    EXPECT_EQ(parts[0], locale.toString(now.date(), QLocale::LongFormat));
    EXPECT_EQ(parts[1], locale.toString(now.date(), QLocale::ShortFormat));
    EXPECT_EQ(parts[2], locale.toString(now.time(), QLocale::ShortFormat));
    EXPECT_EQ(parts[3], parts[4]);
    EXPECT_TRUE(parts[3].startsWith(parts[1])) << parts[3].toStdString();
    EXPECT_EQ(parts[5], QStringLiteral("intranet"));
    EXPECT_EQ(parts[6], QStringLiteral("<Other>"));
    qunsetenv("FOLIONIX_COVER_SITE");
}

TEST_F(DocumentExtrasTest, FormBitmapFileName)
{
    Options().bmFileExtension = QStringLiteral("GIF");
    EXPECT_EQ(FormBitmapFile(QStringLiteral("/site/default.asp")), QStringLiteral("/site/default.GIF"));
    EXPECT_EQ(FormBitmapFile(QStringLiteral("/site/page.v2.asp")), QStringLiteral("/site/page.v2.GIF"));
    Options().bmDirectory = QStringLiteral("  /pictures ");
    EXPECT_EQ(FormBitmapFile(QStringLiteral("/site/default.asp")), QStringLiteral("/pictures/default.GIF"));
}

TEST_F(DocumentExtrasTest, FormBitmapAtTheStartComesBeforeTheListing)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    picture(QStringLiteral("a.png"), 40, 20);
    Options().bmIncludeFormBitmaps = true;
    Options().bmFileExtension = QStringLiteral("png");
    Options().bmAlignment = 1;
    run({QStringLiteral("a.asp")});
    ASSERT_EQ(doc().pages().size(), 1u);
    const Page& first = doc().pages()[0];
    ASSERT_EQ(first.pictures.size(), 1u);
    const PlacedPicture& placed = first.pictures[0];
    EXPECT_EQ(placed.role, ItemRole::Body);
    EXPECT_NEAR(placed.width, 600, 0.5);
    EXPECT_NEAR(placed.height, 300, 0.5);
    host.surface.RefreshTextArea();
    // Centred in the column, with the listing below it.
    const double centre = (host.surface.TextAreaLeft() + host.surface.TextAreaRight()) / 2;
    EXPECT_NEAR(placed.x + placed.width / 2, centre, 1.0);
    const std::vector<const TextRun*> runs = bodyRuns(0);
    ASSERT_FALSE(runs.empty());
    EXPECT_GE(runs.front()->y, placed.y + placed.height - 0.5);
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
}

TEST_F(DocumentExtrasTest, FormBitmapAtTheEndGoesToTheNextColumnOrPage)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    picture(QStringLiteral("a.png"), 30, 30);
    Options().bmIncludeFormBitmaps = true;
    Options().bmFileExtension = QStringLiteral("png");
    Options().bmPrintLocation = 1;
    Options().bmAlignment = 0;
    Options().Columns = 2;
    run({QStringLiteral("a.asp")});
    ASSERT_GE(doc().pages().size(), 1u);
    ASSERT_EQ(doc().pages()[0].pictures.size(), 1u);
    const PlacedPicture& placed = doc().pages()[0].pictures[0];
    EXPECT_EQ(placed.column, 2);
    EXPECT_NEAR(placed.y, host.surface.TextAreaTop(), 1.0);

    // A listing that already ends in the last column puts the picture on the next page.
    ResetEngineState();
    CodeProcessor().setHost(&host);
    Options().Columns = 1;
    run({QStringLiteral("a.asp")});
    ASSERT_EQ(doc().pages().size(), 2u);
    EXPECT_TRUE(doc().pages()[0].pictures.empty());
    ASSERT_EQ(doc().pages()[1].pictures.size(), 1u);
    EXPECT_NEAR(doc().pages()[1].pictures[0].y, host.surface.TextAreaTop(), 1.0);
}

TEST_F(DocumentExtrasTest, FormBitmapThatIsNoPictureIsReportedAndMissingOneIsSkipped)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    file(QStringLiteral("b.asp"), "<p>y</p>");
    file(QStringLiteral("a.png"), "this is not a picture");
    Options().bmIncludeFormBitmaps = true;
    Options().bmFileExtension = QStringLiteral("png");
    run({QStringLiteral("a.asp"), QStringLiteral("b.asp")});
    ASSERT_EQ(reports.size(), 1) << reports.join(u'\n').toStdString();
    EXPECT_TRUE(reports[0].contains(QStringLiteral("481"))) << reports[0].toStdString();
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Output bitmap file"))) << reports[0].toStdString();
    EXPECT_TRUE(bodyLines().join(u' ').contains(QStringLiteral("<P>y")));
}

TEST_F(DocumentExtrasTest, PictureTallerThanTheColumnIsShrunkToIt)
{
    startDirect();
    const QString path = picture(QStringLiteral("tall.png"), 100, 5000);
    Options().bmAlignment = 2;
    CodeProcessor().PrintBitmapFile(path);
    const Page& page = doc().pages()[0];
    ASSERT_EQ(page.pictures.size(), 1u);
    const double room = host.surface.TextAreaBottom() - host.surface.TextAreaTop();
    EXPECT_LE(page.pictures[0].height, room + 0.5);
    EXPECT_NEAR(page.pictures[0].x + page.pictures[0].width, host.surface.TextAreaRight(), 1.0);
}

TEST(RtfHeaderLine, FillsTheTemplateAndEscapes)
{
    struct Case
    {
        QString header;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("/site/a.asp| |Page 3"),
         QStringLiteral(
             "{\\rtf1\\viewkind4\\uc1\\pard\\lang2057\\b\\f0\\fs17 /site/a.asp \\tab   \\tab Page 3\\par }")},
        {QStringLiteral("only left"),
         QStringLiteral(
             "{\\rtf1\\viewkind4\\uc1\\pard\\lang2057\\b\\f0\\fs17 only left \\tab  \\tab \\par }")},
        {QStringLiteral("C:\\{x}|%D of pages"),
         QStringLiteral("{\\rtf1\\viewkind4\\uc1\\pard\\lang2057\\b\\f0\\fs17 C:\\\\\\{x\\} \\tab "
                        "{\\field{\\*\\fldinst PAGE}{\\fldrslt 4}} of pages \\tab \\par }")},
        {QStringLiteral("caf\u00E9|\U0001F600"),
         QStringLiteral("{\\rtf1\\viewkind4\\uc1\\pard\\lang2057\\b\\f0\\fs17 caf\\u233? \\tab "
                        "\\u-10179?\\u-8704? \\tab \\par }")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RtfHeaderLine(c.header, 4), c.expected) << c.header.toStdString();
}

TEST_F(DocumentExtrasTest, RtfExportWritesAHeaderLineAtEachFileStart)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    file(QStringLiteral("b.asp"), "<p>y</p>");
    Options().HeaderCodes.erase(QStringLiteral("Header Codes"));
    Options().AddHeader(QStringLiteral("Header Codes"), QStringLiteral("{Filename}"),
                        QStringLiteral("{Blank}"), QStringLiteral("{Page Number}"));
    Options().ExportFormat = 4;
    g_sExportFile = dir.filePath(QStringLiteral("out.rtf"));
    run({QStringLiteral("a.asp"), QStringLiteral("b.asp")});
    std::vector<QString> inserts;
    for (const Page& page : doc().pages())
        for (const RtfInsert& insert : page.rtfInserts)
            inserts.push_back(doc().textOf(insert).toString());
    ASSERT_EQ(inserts.size(), 2u);
    EXPECT_EQ(inserts[0],
              RtfHeaderLine(dir.filePath(QStringLiteral("a.asp")) + QStringLiteral("| |Page 1"), 1));
    EXPECT_EQ(inserts[1],
              RtfHeaderLine(dir.filePath(QStringLiteral("b.asp")) + QStringLiteral("| |Page 2"), 2));
    // In the file each header line opens its file's listing, bold, with the tabs between its parts.
    const RtfDocument rtf =
        readRtf(QString::fromLatin1(testsupport::readFile(dir.filePath(QStringLiteral("out.rtf")))));
    QStringList headerLines;
    for (const RtfParagraph& paragraph : rtf.paragraphs) {
        QString text;
        for (const RtfSpan& span : paragraph.spans)
            text += span.text;
        if (text.contains(QStringLiteral(".asp"))) {
            headerLines << text;
            EXPECT_TRUE(paragraph.spans.front().format.bold);
        }
    }
    EXPECT_EQ(headerLines,
              (QStringList{dir.filePath(QStringLiteral("a.asp")) + QStringLiteral(" \t  \tPage 1"),
                           dir.filePath(QStringLiteral("b.asp")) + QStringLiteral(" \t  \tPage 2")}));
    const QStringList lines = rtf.plainText().split(u'\n');
    const auto at = [&](const QString& text) {
        return std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(text); }) -
               lines.begin();
    };
    EXPECT_LT(at(QStringLiteral("a.asp")), at(QStringLiteral("<P>x")));
    EXPECT_LT(at(QStringLiteral("<P>x")), at(QStringLiteral("b.asp")));
    EXPECT_LT(at(QStringLiteral("b.asp")), at(QStringLiteral("<P>y")));
    // Without an RTF export nothing is handed over.
    ResetEngineState();
    CodeProcessor().setHost(&host);
    run({QStringLiteral("a.asp")});
    EXPECT_TRUE(doc().pages()[0].rtfInserts.empty());
}

TEST_F(DocumentExtrasTest, RtfExportEmbedsTheFormPictureInsteadOfDrawingIt)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    picture(QStringLiteral("a.png"), 8, 4);
    Options().bmIncludeFormBitmaps = true;
    Options().bmFileExtension = QStringLiteral("png");
    Options().bmAlignment = 2;
    Options().ExportFormat = 4;
    Options().HeaderCodes.erase(QStringLiteral("Header Codes"));
    Options().AddHeader(QStringLiteral("Header Codes"), QString(), QString(), QString());
    g_sExportFile = dir.filePath(QStringLiteral("out.rtf"));
    run({QStringLiteral("a.asp")});
    const Page& first = doc().pages()[0];
    EXPECT_TRUE(first.pictures.empty());
    ASSERT_FALSE(first.rtfInserts.empty());
    const QString rtf = doc().textOf(first.rtfInserts[0]).toString();
    EXPECT_TRUE(rtf.startsWith(
        QStringLiteral("{\\pard\\li0\\qr{\\pict\\pngblip\\picw8\\pich4\\picwgoal120\\pichgoal60")))
        << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(QStringLiteral("89504e47"))); // the PNG signature in hex
}

TEST_F(DocumentExtrasTest, ExportThatCannotBeWrittenIsReportedAndNotOpened)
{
    file(QStringLiteral("a.asp"), "<p>x</p>");
    Options().ExportFormat = 5; // plain text
    Options().ViewExportedFile = true;
    g_sExportFile = dir.filePath(QStringLiteral("no/such/folder/out.txt"));
    run({QStringLiteral("a.asp")});
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Cannot write the export file")))
        << reports[0].toStdString();
    EXPECT_TRUE(host.viewed.isEmpty());
    EXPECT_TRUE(g_sExportFile.isEmpty());
    EXPECT_FALSE(host.surface.ExportMode());
    EXPECT_TRUE(host.surface.ExportFile().isEmpty());

    // The same export to a folder that exists is written and opened.
    reports.clear();
    g_sExportFile = dir.filePath(QStringLiteral("out.txt"));
    run({QStringLiteral("a.asp")});
    EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
    EXPECT_EQ(host.viewed, QStringList{dir.filePath(QStringLiteral("out.txt"))});
    EXPECT_TRUE(testsupport::readFile(dir.filePath(QStringLiteral("out.txt"))).contains("<P>x"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("out")),
              QStringList{QStringLiteral("out.txt")}); // no temporary file left
}

// Opening an exported file: the shell's answers and what the user sees.
class ViewExportedFileTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        setMessageHandler([this](const QString& text, MessageIcon) { shown << text; });
        setQuestionHandler([this](const QString& question) {
            asked << question;
            return answer;
        });
        setApplicationChooser([this](const QString& file) { chosen << file; });
        setShellOpen([this](const QString& file) {
            opened << file;
            return result;
        });
    }
    void TearDown() override
    {
        setMessageHandler({});
        setQuestionHandler({});
        setApplicationChooser({});
        resetShellOpen();
        EngineTest::TearDown();
    }

    int result = 33;
    bool answer = false;
    QStringList shown, asked, chosen, opened;
};

TEST_F(ViewExportedFileTest, ShellResults)
{
    struct Case
    {
        int result;
        const char* message; // "" when nothing is shown
    };
    const Case cases[] = {
        {33, ""},
        {42, ""},
        {-1, ""},
        {0, "Out of memory"},
        {2, "File not found"},
        {3, "Path not found"},
        {5, "Path/file access error"},
        {26, "A sharing violation occurred."},
        {32, "The specified dynamic-link library was not found."},
        {4, "An error occurred occurred whilst trying to open or print the selected file."},
        {20, "An error occurred occurred whilst trying to open or print the selected file."},
    };
    Options().ExportFormat = 4;
    for (const Case& c : cases) {
        shown.clear();
        result = c.result;
        ViewExportedFile(QStringLiteral("/out/report.rtf"));
        const QString expected = *c.message ? QStringLiteral("Failure to open the exported file. ") +
                                                  QString::fromLatin1(c.message)
                                            : QString();
        EXPECT_EQ(shown.join(QString()), expected) << c.result;
    }
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(ViewExportedFileTest, NoApplicationAsksAndLetsTheUserPickOne)
{
    Options().ExportFormat = 1;
    result = 31;
    for (bool yes : {false, true}) {
        answer = yes;
        ViewExportedFile(QStringLiteral("/out/site.html"));
    }
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0],
              QStringLiteral("The exported file cannot be viewed as there is no application associated "
                             "with this file type. \r\rDo you want to locate an application for viewing "
                             "this file?"));
    EXPECT_EQ(chosen, QStringList{QStringLiteral("/out/site.html")});
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(ViewExportedFileTest, PagedHtmlOpensTheFirstPageWhenItExists)
{
    const QString name = dir.filePath(QStringLiteral("site.html"));
    Options().ExportFormat = 3;
    ViewExportedFile(name);
    file(QStringLiteral("site1.html"), "<p>1</p>");
    ViewExportedFile(name);
    Options().ExportFormat = 1;
    ViewExportedFile(name);
    EXPECT_EQ(opened, (QStringList{name, dir.filePath(QStringLiteral("site1.html")), name}));
}

TEST(OpenWithDesktop, MissingFileAndFolderAreTold)
{
    QTemporaryDir dir;
    EXPECT_EQ(OpenWithDesktop(QDir(dir.path()).filePath(QStringLiteral("none.rtf"))), 2);
    EXPECT_EQ(OpenWithDesktop(QDir(dir.path()).filePath(QStringLiteral("no/none.rtf"))), 3);
}

} // namespace
