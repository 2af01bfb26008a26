#include "SurfaceTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

using folionix::PrintSurface;

namespace {

// The bar the program puts at the top of each page of a paged export.
const QString ProgramBar = QStringLiteral(
    "<p style=\"background-color:#000099\";>\n"
    "<font face=Wingdings size=2 color=#99CCFF><b> <a%s style=\"color:#99CCFF\">\u00E7\u00E7</a> <a%s "
    "style=\"color:#99CCFF\">\u00E7</a> </b></font>\n"
    "<font face=Tahoma size=2 color=#99CCFF>|<b>&nbsp;&nbsp;&nbsp;&nbsp;Page %d of "
    "%d&nbsp;&nbsp;&nbsp;&nbsp;</b>|</font>\n"
    "<font face=Wingdings size=2 color=#99CCFF><b> <a%s style=\"color:#99CCFF\">\u00E8</a> <a%s "
    "style=\"color:#99CCFF\">\u00E8\u00E8</a> </b></font>\n"
    "</p>\n");

const QString SymbolFaces = QStringLiteral("face=\"DejaVu Sans, Segoe UI Symbol, sans-serif\"");

QString htmlOf(const folionix::Document& document, const QString& title = QStringLiteral("Listing"))
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    folionix::HtmlExportOptions options;
    options.title = title;
    QString error;
    EXPECT_TRUE(folionix::writeHtml(document, buffer, options, &error)) << error.toStdString();
    return QString::fromUtf8(buffer.data());
}

// Markup removed and references resolved; control pictures back to the controls they show.
QString textOfMarkup(QString html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    html.remove(tag);
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&#39;"), QStringLiteral("'"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    for (QChar& c : html)
        if (c.unicode() >= 0x2400 && c.unicode() <= 0x241F)
            c = QChar(c.unicode() - 0x2400);
    return html;
}

// The listing as the plain text writes it: each page's columns one after the other, a line end after
// each column, a form feed between pages.
QString flowText(const QString& html)
{
    static const QRegularExpression pre(QStringLiteral("<pre>(.*?)</pre>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    QStringList pages = html.split(QStringLiteral("<div class=\"page\">"));
    pages.removeFirst();
    QStringList texts;
    for (const QString& page : pages) {
        QString text;
        for (const QRegularExpressionMatch& m : pre.globalMatch(page)) {
            // As a browser reads it: a line end right after the start tag is not content.
            QString column = m.captured(1);
            if (column.startsWith(u'\n'))
                column.remove(0, 1);
            text += textOfMarkup(column) + u'\n';
        }
        texts << text;
    }
    return texts.join(u'\f');
}

QString withoutTrailingBlanks(QString text)
{
    static const QRegularExpression blanks(QStringLiteral(" +(?=\n|\f|$)"));
    return text.remove(blanks);
}

// The CSS rule of a class, without the braces.
QString ruleOf(const QString& html, const QString& cls)
{
    const QRegularExpression rule(QStringLiteral("\\n\\.") + QRegularExpression::escape(cls) +
                                  QStringLiteral("\\{([^}]*)\\}"));
    return rule.match(html).captured(1);
}

void addStyle(PrintSurface& surface, const QString& name, folionix::WinColor color, bool bold)
{
    surface.setFontBold(bold);
    surface.setTextColor(color);
    surface.styles().Add(name, 1);
    surface.setFontBold(false);
    surface.setTextColor(0);
}

// Three pages of a listing with line numbers, keywords, strings, a blank line, a picture, and text that
// must never act as markup.
QImage samplePicture()
{
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(QColor(0, 128, 255));
    return picture;
}

void buildListing(PrintSurface& surface)
{
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    addStyle(surface, QStringLiteral("Keywords"), 0x0000FF, true);
    addStyle(surface, QStringLiteral("Strings"), 0x008000, false);
    addStyle(surface, QStringLiteral("Line Numbers"), 0x808080, false);
    const QStringList awkward = {QStringLiteral("\\ { } & < > \" '"),
                                 QString::fromUtf8("é 中 😀"),
                                 QChar(0) + QStringLiteral("nul"),
                                 QChar(1) + QStringLiteral("soh\tx"),
                                 QStringLiteral("<script>alert(1)</script>"),
                                 QStringLiteral("lone ") + QChar(0xD800) + QStringLiteral(" surrogate")};
    int number = 0;
    for (int page = 0; page < 3; ++page) {
        if (page > 0)
            surface.NewPage();
        for (const QString& text : awkward) {
            surface.styles().Apply(QStringLiteral("Line Numbers"));
            surface.AddText(QStringLiteral("%1 ").arg(++number, 5));
            surface.styles().Apply(QStringLiteral("Keywords"));
            surface.AddText(QStringLiteral("Dim"));
            surface.setTextColor(0); // no style
            surface.AddText(QStringLiteral(" x = "));
            surface.styles().Apply(QStringLiteral("Strings"));
            surface.AddParagraph(text);
        }
        surface.AddParagraph(QString());
        if (page == 1) {
            surface.DrawPicture(samplePicture(), surface.CurrentX(), surface.CurrentY(), 300, 150);
            surface.setCurrentY(surface.CurrentY() + 150);
        }
        surface.styles().Apply(QStringLiteral("Keywords"));
        surface.AddText(QStringLiteral("End"));
        surface.AddParagraph(QStringLiteral(" Page"));
    }
    surface.EndDoc();
}

TEST(HtmlExport, PageTextEscapedIsTheListingText)
{
    PrintSurface surface;
    buildListing(surface);
    ASSERT_EQ(surface.PageCount(), 3);
    const QString html = htmlOf(surface.document());

    EXPECT_EQ(withoutTrailingBlanks(flowText(html)),
              withoutTrailingBlanks(surfacetest::plainText(surface.document())));

    // Nothing of the listing can act as markup or run.
    EXPECT_FALSE(html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("\\ { } &amp; &lt; &gt; &quot; &#39;")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("é 中 😀")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("␀nul")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("␁soh␉x")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("lone \uFFFD surrogate")));
    for (const QChar c : html)
        EXPECT_TRUE(c == u'\n' || c.unicode() >= 0x20) << "control " << int(c.unicode());

    // Visible page separators, and page breaks when printed.
    EXPECT_EQ(html.count(QStringLiteral("<div class=\"sep\">")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral("<div class=\"sep\">Page 2</div>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<div class=\"sep\">Page 3</div>")));
    EXPECT_TRUE(html.contains(QStringLiteral(".page+.page{break-before:page}")));
}

TEST(HtmlExport, HeadHoldsTitleCharsetAndAPolicyThatForbidsScript)
{
    PrintSurface surface;
    surface.AddParagraph(QStringLiteral("x"));
    surface.EndDoc();
    const QString html = htmlOf(surface.document(), QStringLiteral("A<b>&\"'") + QChar(2));
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>\n")));
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                       "style-src 'unsafe-inline'; img-src data:\">")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("<title>A&lt;b&gt;&amp;&quot;&#39;␂</title>")));
    EXPECT_LT(html.indexOf(QStringLiteral("Content-Security-Policy")),
              html.indexOf(QStringLiteral("<body>")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</body>\n</html>\n")));
}

struct ClassCase
{
    const char* style; // "" for text without a named style
    const char* family;
    bool bold, italic, underline;
    folionix::WinColor color;
    const char* token;
    const char* expectedClass; // nullptr: a generic class
    const char* expectedRule;  // what the rule holds, ';'-separated
};

const ClassCase ClassCases[] = {
    {"Keywords", "Courier New", true, false, false, 0x0000FF, "kwRed", "Keywords",
     "font-family:\"Courier New\",monospace;font-size:8pt;font-weight:bold;color:#FF0000"},
    {"Keywords", "Courier New", true, false, false, 0xFF0000, "kwBlue", "Keywords2",
     "font-weight:bold;color:#0000FF"},
    {"Line Numbers", "Courier New", false, false, false, 0x808080, "gutter", "Line_Numbers", "color:#808080"},
    {"3D", "Courier New", false, true, true, 0x123456, "threeD", "_3D",
     "font-style:italic;text-decoration:underline;color:#563412"},
    {"Prose", "Arial", false, false, false, 0, "prose", "Prose", "font-family:\"Arial\",sans-serif"},
    {"Serif", "Times New Roman", false, false, false, 0, "serif", "Serif",
     "font-family:\"Times New Roman\",serif"},
    {"", "Courier New", false, false, false, 0x00FF00, "plain", nullptr, "color:#00FF00"},
    {"中文", "Courier New", false, false, false, 0, "unnamed", nullptr, "color:#000000"},
};

TEST(HtmlExport, EachTokenStyleHasItsClassAndRule)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    for (const ClassCase& c : ClassCases) {
        surface.setFontName(QString::fromUtf8(c.family));
        surface.setFontBold(c.bold);
        surface.setFontItalic(c.italic);
        surface.setFontUnderline(c.underline);
        surface.setTextColor(c.color);
        if (*c.style) {
            surface.styles().Add(QString::fromUtf8(c.style), 1);
            surface.styles().Apply(QString::fromUtf8(c.style));
        }
        surface.AddParagraph(QString::fromLatin1(c.token));
    }
    surface.EndDoc();
    const QString html = htmlOf(surface.document());

    QStringList classes;
    for (const ClassCase& c : ClassCases) {
        SCOPED_TRACE(c.token);
        const QRegularExpression span(QStringLiteral("<span class=\"([^\"]+)\">") + QLatin1String(c.token) +
                                      QStringLiteral("</span>"));
        const QString cls = span.match(html).captured(1);
        ASSERT_FALSE(cls.isEmpty());
        if (c.expectedClass)
            EXPECT_EQ(cls, QString::fromLatin1(c.expectedClass));
        else
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^s\\d+$")).match(cls).hasMatch())
                << cls.toStdString();
        classes << cls;
        const QString rule = ruleOf(html, cls);
        for (const QString& piece : QString::fromLatin1(c.expectedRule).split(u';'))
            EXPECT_TRUE(rule.contains(piece)) << rule.toStdString() << " lacks " << piece.toStdString();
        EXPECT_EQ(rule.contains(QStringLiteral("font-weight:bold")), c.bold);
        EXPECT_EQ(rule.contains(QStringLiteral("font-style:italic")), c.italic);
    }
    classes.removeDuplicates();
    EXPECT_EQ(classes.size(), qsizetype(std::size(ClassCases)));
}

TEST(HtmlExport, RunsOfOneClassShareASpan)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    addStyle(surface, QStringLiteral("Keywords"), 0x0000FF, true);
    surface.styles().Apply(QStringLiteral("Keywords"));
    surface.AddText(QStringLiteral("If"));
    surface.AddText(QStringLiteral(" "));
    surface.AddText(QStringLiteral("Then"));
    surface.setTextColor(0);
    surface.AddParagraph(QStringLiteral(" x"));
    surface.EndDoc();
    const QString html = htmlOf(surface.document());
    EXPECT_TRUE(html.contains(QStringLiteral("<pre><span class=\"Keywords\">If Then</span>"
                                             "<span class=\"s1\"> x</span></pre>")))
        << html.toStdString();
}

TEST(HtmlExport, ColumnsStandSideBySideAndKeepTheirLines)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.setColumns(2);
    surface.StartDoc();
    surface.AddParagraph(QStringLiteral("left 1"));
    surface.AddParagraph(QStringLiteral("left 2"));
    surface.NewColumn();
    surface.AddParagraph(QStringLiteral("right 1"));
    surface.EndDoc();
    const QString html = htmlOf(surface.document());
    EXPECT_TRUE(
        html.contains(QStringLiteral("<div class=\"cols\"><pre><span class=\"s1\">left 1\nleft 2</span>"
                                     "</pre><pre><span class=\"s1\">right 1</span></pre></div>")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral(".cols{display:flex")));
    EXPECT_EQ(flowText(html), surfacetest::plainText(surface.document()));
}

TEST(HtmlExport, AColumnThatStartsWithABlankLineKeepsIt)
{
    // The surface drops blank lines at a column's top; a document read back from elsewhere may hold one.
    folionix::Document document;
    folionix::Page& page = document.addPage(12240, 15840, 100);
    const uint16_t font = document.internFont({QStringLiteral("Courier New"), 8});
    for (const char* text : {"", "", "x"}) {
        folionix::TextRun run;
        run.x = 1440;
        run.textStart = document.appendText(QString::fromLatin1(text));
        run.textLength = uint32_t(qstrlen(text));
        run.width = float(96 * run.textLength);
        run.seq = document.nextSeq();
        run.font = font;
        run.lineStart = true;
        page.runs.push_back(run);
    }
    const QString html = htmlOf(document);
    EXPECT_TRUE(html.contains(QStringLiteral("<pre>\n\n\n<span class=\"s1\">x</span></pre>")))
        << html.toStdString();
    EXPECT_EQ(flowText(html), surfacetest::plainText(document));
}

TEST(HtmlExport, PictureIsAnEmbeddedPngBetweenTheLines)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    surface.AddParagraph(QStringLiteral("above"));
    surface.DrawPicture(samplePicture(), surface.CurrentX(), surface.CurrentY(), 300, 150);
    surface.setCurrentY(surface.CurrentY() + 150);
    surface.AddParagraph(QStringLiteral("below"));
    surface.EndDoc();
    const QString html = htmlOf(surface.document());

    const QRegularExpression img(
        QStringLiteral("above(?:</span>)?\n<img alt=\"\" width=\"(\\d+)\" height=\"(\\d+)\" "
                       "src=\"data:image/png;base64,([A-Za-z0-9+/=]+)\">(?:<span class=\"s1\">)?below"));
    const QRegularExpressionMatch m = img.match(html);
    ASSERT_TRUE(m.hasMatch()) << html.toStdString();
    EXPECT_EQ(m.captured(1), QStringLiteral("20"));
    EXPECT_EQ(m.captured(2), QStringLiteral("10"));
    const QImage decoded = QImage::fromData(QByteArray::fromBase64(m.captured(3).toLatin1()), "PNG");
    EXPECT_EQ(decoded.size(), QSize(8, 4));
    EXPECT_EQ(decoded.pixelColor(3, 2), QColor(0, 128, 255));
    EXPECT_EQ(flowText(html), QStringLiteral("above\nbelow\n"));
}

TEST(HtmlExport, DeviceThatStopsAcceptingFailsWithAReason)
{
    PrintSurface surface;
    for (int i = 0; i < 5000; ++i)
        surface.AddParagraph(QStringLiteral("line %1").arg(i));
    surface.EndDoc();
    surfacetest::FailingDevice device(1000);
    device.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_FALSE(folionix::writeHtml(surface.document(), device, {}, &error));
    EXPECT_FALSE(error.isEmpty());
}

struct NameCase
{
    const char* fileName;
    int page;
    const char* expected;
};

const NameCase NameCases[] = {
    {"/out/site.html", 3, "/out/site3.html"},     {"site.html", 1, "site1.html"},
    {"/out/a.b/site", 2, "/out/a.b/site2"},       {"/out/site.tar.html", 12, "/out/site.tar12.html"},
    {"/out/My Site.HTM", 7, "/out/My Site7.HTM"}, {"/out/.html", 1, "/out/.html1"},
};

TEST(PagedHtml, PageFileNamesPutTheNumberBeforeTheExtension)
{
    for (const NameCase& c : NameCases)
        EXPECT_EQ(folionix::pagedHtmlFileName(QString::fromUtf8(c.fileName), c.page),
                  QString::fromUtf8(c.expected))
            << c.fileName;
}

class PagedHtmlTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }

    // Pages of lines "page N line M"; the style Only3 is used on the third page alone.
    void build(int pages)
    {
        surfacetest::useListingFont(surface);
        surface.StartDoc();
        addStyle(surface, QStringLiteral("Keywords"), 0x0000FF, true);
        addStyle(surface, QStringLiteral("Only3"), 0x00FF00, false);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                surface.NewPage();
            surface.styles().Apply(page == 3 ? QStringLiteral("Only3") : QStringLiteral("Keywords"));
            for (int line = 1; line <= 3; ++line)
                surface.AddParagraph(QStringLiteral("page %1 line %2").arg(page).arg(line));
        }
        surface.EndDoc();
    }

    bool exportTo(const QString& fileName, QString* error = nullptr)
    {
        folionix::HtmlExportOptions options;
        options.title = QStringLiteral("Site");
        options.navigationBar[0] = ProgramBar;
        options.navigationBar[1] = QStringLiteral("<br><br>") + ProgramBar;
        QString reason;
        const bool ok = folionix::writePagedHtml(surface.document(), fileName, options, &reason);
        if (error)
            *error = reason;
        return ok;
    }

    QString page(const QString& name) const { return QString::fromUtf8(testsupport::readFile(path(name))); }

    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QTemporaryDir dir;
    PrintSurface surface;
};

// The link targets of the anchors in a piece of a bar, in order; "" for an anchor without a link.
QStringList hrefsOf(const QString& bar)
{
    static const QRegularExpression anchor(QStringLiteral("<a( href=\"([^\"]*)\")? style="));
    QStringList hrefs;
    for (const QRegularExpressionMatch& m : anchor.globalMatch(bar))
        hrefs << m.captured(2);
    return hrefs;
}

struct BarCase
{
    int page;
    QStringList hrefs; // first, previous, next, last
};

TEST_F(PagedHtmlTest, EachPageHasItsOwnLinesAndFilledBars)
{
    build(3);
    QString error;
    ASSERT_TRUE(exportTo(path(QStringLiteral("site.html")), &error)) << error.toStdString();
    EXPECT_EQ(files(), QStringList({"site1.html", "site2.html", "site3.html"}));

    const BarCase cases[] = {
        {1, {"", "", "site2.html", "site3.html"}},
        {2, {"site1.html", "site1.html", "site3.html", "site3.html"}},
        {3, {"site1.html", "site2.html", "", ""}},
    };
    for (const BarCase& c : cases) {
        SCOPED_TRACE(c.page);
        const QString html = page(QStringLiteral("site%1.html").arg(c.page));
        const qsizetype body = html.indexOf(QStringLiteral("<div class=\"page\">"));
        const qsizetype bottom = html.indexOf(QStringLiteral("<br><br>"));
        ASSERT_GT(body, 0);
        ASSERT_GT(bottom, body);
        const QString top = html.mid(0, body);
        const QString end = html.mid(bottom);
        EXPECT_EQ(hrefsOf(top), c.hrefs);
        EXPECT_EQ(hrefsOf(end), c.hrefs);
        const QString pageOf = QStringLiteral("Page %1 of 3").arg(c.page);
        EXPECT_TRUE(top.contains(pageOf));
        EXPECT_TRUE(end.contains(pageOf));

        // The arrows in a face that has them; the rest of the bar as the program wrote it.
        for (const QString& bar : {top, end}) {
            EXPECT_TRUE(bar.contains(QStringLiteral("\u21E6\u21E6</a> <a")));
            EXPECT_TRUE(bar.contains(QStringLiteral("\u21E8\u21E8</a> </b></font>")));
            EXPECT_FALSE(bar.contains(QChar(0x00E7)) || bar.contains(QChar(0x00E8)));
            EXPECT_FALSE(bar.contains(QStringLiteral("Wingdings")));
            EXPECT_EQ(bar.count(SymbolFaces + QStringLiteral(" size=2 color=#99CCFF>")), 2);
            EXPECT_TRUE(bar.contains(QStringLiteral("<font face=Tahoma size=2 color=#99CCFF>|<b>")));
            EXPECT_TRUE(bar.contains(QStringLiteral("<p style=\"background-color:#000099\";>")));
        }

        // Only this page's lines, and only the classes it uses.
        EXPECT_EQ(flowText(html),
                  QStringLiteral("page %1 line 1\npage %1 line 2\npage %1 line 3\n").arg(c.page));
        EXPECT_FALSE(html.contains(QStringLiteral("<div class=\"sep\">")));
        EXPECT_EQ(html.contains(QStringLiteral("\n.Only3{")), c.page == 3);
        EXPECT_EQ(html.contains(QStringLiteral("\n.Keywords{")), c.page != 3);
        EXPECT_TRUE(html.contains(QStringLiteral("Content-Security-Policy")));
        EXPECT_TRUE(html.contains(QStringLiteral("<title>Site</title>")));
    }
}

TEST_F(PagedHtmlTest, LinksArePercentEncodedAndEscaped)
{
    build(2);
    ASSERT_TRUE(exportTo(path(QStringLiteral("a b&c#'.html"))));
    EXPECT_EQ(files(), QStringList({"a b&c#'1.html", "a b&c#'2.html"}));
    EXPECT_EQ(hrefsOf(page(QStringLiteral("a b&c#'1.html"))).mid(0, 4),
              QStringList({"", "", "a%20b&amp;c%23&#39;2.html", "a%20b&amp;c%23&#39;2.html"}));
}

struct BarTextCase
{
    QString bar;
    QString expected;
};

TEST_F(PagedHtmlTest, BarsAreFilledInOrderAndOnlySymbolFontTextIsTranslated)
{
    build(1);
    const BarTextCase cases[] = {
        {"<font face=Wingdings>\u00E7</font>", "<font " + SymbolFaces + ">\u21E6</font>"},
        {"<FONT FACE=\"wingdings\" color=red>\u00E8<b>\u00E7</b></FONT>\u00E7",
         "<FONT " + SymbolFaces + " color=red>\u21E8<b>\u21E6</b></FONT>\u00E7"},
        {"<font face=Tahoma>Fran\u00E7ais \u00E8</font>", "<font face=Tahoma>Fran\u00E7ais \u00E8</font>"},
        {"<font face='Wingdings'><font face=Arial>\u00E7</font>\u00E8<font size=1>\u00E7</font></font>",
         "<font " + SymbolFaces + "><font face=Arial>\u00E7</font>\u21E8<font size=1>\u21E6</font></font>"},
        {"<a%s>|%d of %d|<a%s><a%s><a%s><a%s>%d%x%", "<a>|1 of 1|<a><a><a><a>%x%"},
        {"<font face=Wingdings", "<font " + SymbolFaces},
    };
    for (const BarTextCase& c : cases) {
        SCOPED_TRACE(c.bar.toStdString());
        folionix::HtmlExportOptions options;
        options.navigationBar[0] = c.bar;
        ASSERT_TRUE(
            folionix::writePagedHtml(surface.document(), path(QStringLiteral("bar.html")), options, nullptr));
        const QString html = page(QStringLiteral("bar1.html"));
        const qsizetype start = html.indexOf(QStringLiteral("<body>\n")) + 7;
        EXPECT_EQ(html.mid(start, html.indexOf(QStringLiteral("<div class=\"page\">")) - start), c.expected);
    }
}

TEST_F(PagedHtmlTest, StalePagesGoAndOtherFilesStay)
{
    const QStringList kept = {"site.html",  "sitemap.html", "site1a.html", "site01.html",
                              "Site3.html", "site3.htm",    "site0.html"};
    for (const QString& name : kept + QStringList{"site1.html", "site2.html", "site3.html", "site12.html"})
        testsupport::writeFile(dir, name, "old");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("site4.html")));
    build(2);
    ASSERT_TRUE(exportTo(path(QStringLiteral("site.html"))));

    EXPECT_EQ(files(), QStringList({"Site3.html", "site.html", "site0.html", "site01.html", "site1.html",
                                    "site1a.html", "site2.html", "site3.htm", "sitemap.html"}));
    for (const QString& name : kept)
        EXPECT_EQ(testsupport::readFile(path(name)), QByteArray("old")) << name.toStdString();
    EXPECT_TRUE(page(QStringLiteral("site1.html")).contains(QStringLiteral("page 1 line 3")));
    EXPECT_TRUE(page(QStringLiteral("site2.html")).contains(QStringLiteral("page 2 line 3")));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("site4.html"))).isDir());
}

struct RemoveCase
{
    int fromPage;
    QStringList left;
};

TEST_F(PagedHtmlTest, RemovalStartsAtTheGivenPage)
{
    const RemoveCase cases[] = {
        {10, {"a[1]1.html", "a[1]9.html", "a[1]x10.html"}},
        {2, {"a[1]1.html", "a[1]x10.html"}},
        {1, {"a[1]x10.html"}},
    };
    for (const RemoveCase& c : cases) {
        for (const char* name : {"a[1]1.html", "a[1]9.html", "a[1]10.html", "a[1]12.html", "a[1]x10.html",
                                 "a[1]99999999999999999999.html"})
            testsupport::writeFile(dir, QString::fromLatin1(name), "old");
        folionix::removePagedHtmlFiles(path(QStringLiteral("a[1].html")), c.fromPage);
        EXPECT_EQ(files(), c.left) << c.fromPage;
    }
}

TEST_F(PagedHtmlTest, AnEmptyDocumentIsOneEmptyPage)
{
    testsupport::writeFile(dir, QStringLiteral("site2.html"), "old");
    const folionix::Document empty;
    folionix::HtmlExportOptions options;
    options.navigationBar[0] = ProgramBar;
    ASSERT_TRUE(folionix::writePagedHtml(empty, path(QStringLiteral("site.html")), options, nullptr));
    EXPECT_EQ(files(), QStringList{"site1.html"});
    const QString html = page(QStringLiteral("site1.html"));
    EXPECT_TRUE(html.contains(QStringLiteral("Page 1 of 1")));
    EXPECT_EQ(hrefsOf(html), QStringList({"", "", "", ""}));
    EXPECT_EQ(flowText(html), QString());

    const QString plain = htmlOf(empty);
    EXPECT_FALSE(plain.contains(QStringLiteral("<div class=\"page\">")));
    EXPECT_TRUE(plain.endsWith(QStringLiteral("<body>\n</body>\n</html>\n")));
}

TEST_F(PagedHtmlTest, AFolderThatCannotBeWrittenFailsWithAReasonAndLeavesNothing)
{
    build(2);
    testsupport::writeFile(dir, QStringLiteral("plainfile"), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    QFile::setPermissions(path(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner);
    // As root every folder is writable: the locked folder then proves nothing.
    const bool lockHolds = !QFile(path(QStringLiteral("locked/probe"))).open(QIODevice::WriteOnly);
    QFile::remove(path(QStringLiteral("locked/probe")));

    for (const QString& target :
         {QStringLiteral("missing/folder/site.html"), QStringLiteral("plainfile/site.html"),
          QStringLiteral("locked/site.html")}) {
        SCOPED_TRACE(target.toStdString());
        if (target.startsWith(QStringLiteral("locked")) && !lockHolds)
            continue;
        QString error;
        EXPECT_FALSE(exportTo(path(target), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(files(), QStringList{"plainfile"});
        EXPECT_TRUE(QDir(path(QStringLiteral("locked"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
    QFile::setPermissions(path(QStringLiteral("locked")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
