// Every export format of one listing read back to text: what the plain-text export shows must come
// back from RTF (through the RTF reader), from HTML (tags stripped, entities decoded) and from PDF
// (through pdftotext), special characters, control characters and script included.
#include "EngineFixture.h"

#include <RtfReader.h>
#include <Writers.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace folionix;
using namespace folionix::test;

namespace {

// A page with every character an export must escape or keep: RTF's \ { }, HTML's & < > " ', text
// beyond ASCII and the BMP, NUL and another control character, and script that must never run.
const QByteArray kSource = "<p>text &amp; more</p>\r\n"
                           "<% ' \\ { } & < > \" ' caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80 nul[" +
                           QByteArray(1, '\0') +
                           "] soh[\x01]\r\n"
                           "x = \"<script>alert(1)</script>\" ' end\r\n"
                           "%>\r\n"
                           "<script>document.title=\"PWNED\"</script>\r\n"
                           "<img src=x onerror=\"document.title='PWNED'\">\r\n";

// Lines of text as the export formats show them: control characters as their control pictures,
// trailing blanks and page separators dropped, lines holding only blanks left out.
QStringList listingLines(const QString& text, bool collapseBlanks = false)
{
    QStringList lines;
    for (QString line : text.split(u'\n')) {
        line.remove(u'\f');
        for (QChar& c : line)
            if (c.unicode() < 0x20 && c != u'\t')
                c = QChar(char16_t(0x2400 + c.unicode()));
        if (collapseBlanks)
            line = line.simplified();
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        if (!line.trimmed().isEmpty())
            lines << line;
    }
    return lines;
}

// The text a browser shows of an exported page: the body without markup, the program's own page
// labels and navigation bars, entities decoded.
QString htmlText(QString html)
{
    const qsizetype body = html.indexOf(QStringLiteral("<body>"));
    const qsizetype end = html.lastIndexOf(QStringLiteral("</body>"));
    EXPECT_TRUE(body >= 0 && end > body);
    html = html.mid(body + 6, end - body - 6);
    html.remove(QRegularExpression(QStringLiteral("<div class=\"sep\">.*?</div>"),
                                   QRegularExpression::DotMatchesEverythingOption));
    html.remove(QRegularExpression(QStringLiteral("<p style=\"background-color:#000099\";>.*?</p>"),
                                   QRegularExpression::DotMatchesEverythingOption));
    html.replace(QStringLiteral("</pre>"), QStringLiteral("\n"));
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    // Numeric references, then the named ones, "&amp;" last so that "&amp;lt;" stays "&lt;".
    static const QRegularExpression numeric(QStringLiteral("&#(x[0-9A-Fa-f]+|[0-9]+);"));
    QString decoded;
    qsizetype pos = 0;
    for (auto it = numeric.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        decoded += QStringView(html).mid(pos, m.capturedStart() - pos);
        const QString code = m.captured(1);
        const uint value = code.startsWith(u'x') ? code.mid(1).toUInt(nullptr, 16) : code.toUInt();
        const char32_t cp[1] = {value};
        decoded += QString::fromUcs4(cp, 1);
        pos = m.capturedEnd();
    }
    decoded += QStringView(html).mid(pos);
    decoded.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    decoded.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    decoded.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    decoded.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    decoded.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return decoded;
}

class ExportRoundTripTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // No header and footer text: the flow formats carry only the listing.
        for (const char* key : {"Header Codes", "Footer Codes"}) {
            Options().HeaderCodes.erase(QString::fromLatin1(key));
            Options().AddHeader(QString::fromLatin1(key), QString(), QString(), QString());
        }
        file(QStringLiteral("page.asp"), kSource);
    }

    // Runs one export of page.asp and returns the file name.
    QString exportAs(int format, const QString& name)
    {
        ResetEngineState();
        CodeProcessor().setHost(&host);
        Options().ExportFormat = format;
        g_sExportFile = dir.filePath(name);
        const QString written = g_sExportFile;
        run({QStringLiteral("page.asp")});
        EXPECT_TRUE(reports.isEmpty()) << reports.join(u'\n').toStdString();
        return written;
    }

    static QString read(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return QString::fromUtf8(f.readAll());
    }

    QString expectedText() { return read(exportAs(5, QStringLiteral("page.txt"))); }
};

TEST_F(ExportRoundTripTest, RtfReadsBackToTheListing)
{
    const QStringList expected = listingLines(expectedText());
    ASSERT_GE(expected.size(), 5);
    ASSERT_TRUE(
        expected.join(u'\n').contains(QStringLiteral("caf\u00E9 \u4E2D \U0001F600 nul[\u2400] soh[\u2401]")));
    const QString rtf = read(exportAs(4, QStringLiteral("page.rtf")));
    // Only ASCII in the file: everything else is escaped.
    EXPECT_TRUE(std::all_of(rtf.cbegin(), rtf.cend(), [](QChar c) { return c.unicode() < 0x80; }));
    QStringList lines = listingLines(readRtf(rtf).plainText());
    EXPECT_EQ(lines, expected);
}

TEST_F(ExportRoundTripTest, HtmlShowsTheListingAndRunsNothing)
{
    const QStringList expected = listingLines(expectedText());
    const QString html = read(exportAs(1, QStringLiteral("page.html")));
    EXPECT_EQ(listingLines(htmlText(html)), expected);
    // The source's markup is text: no element of it reaches the page.
    for (const char* raw : {"<script", "<img", "onerror=\"", "<p>text"})
        EXPECT_FALSE(html.contains(QLatin1String(raw), Qt::CaseInsensitive)) << raw;
}

TEST_F(ExportRoundTripTest, PagedHtmlPagesTogetherShowTheListing)
{
    Options().Columns = 1;
    file(QStringLiteral("page.asp"), kSource.repeated(30)); // several pages
    const QStringList expected = listingLines(expectedText());
    const QString name = exportAs(3, QStringLiteral("site.html"));
    QStringList lines;
    int pages = 0;
    for (int page = 1; QFile::exists(pagedHtmlFileName(name, page)); ++page) {
        const QString html = read(pagedHtmlFileName(name, page));
        EXPECT_TRUE(html.contains(QStringLiteral("Page %1 of").arg(page))) << page;
        lines << listingLines(htmlText(html));
        ++pages;
    }
    EXPECT_GE(pages, 2);
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_EQ(lines, expected);
}

TEST_F(ExportRoundTripTest, PdfTextIsTheListing)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QStringList expected = listingLines(expectedText(), true);
    // The PDF carries the emoji as a picture of a glyph without a text mapping beyond the BMP.
    for (QString& line : expected)
        line.remove(QRegularExpression(QStringLiteral("[\\x{10000}-\\x{10FFFF}] ?")));
    ResetEngineState();
    CodeProcessor().setHost(&host);
    run({QStringLiteral("page.asp")});
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QString error;
    ASSERT_TRUE(writePdf(doc(), pdf, &error)) << error.toStdString();
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    QStringList lines = listingLines(QString::fromUtf8(process.readAllStandardOutput()), true);
    for (QString& line : lines)
        line.remove(QRegularExpression(QStringLiteral("[\\x{10000}-\\x{10FFFF}] ?")));
    EXPECT_EQ(lines, expected);
}

} // namespace
