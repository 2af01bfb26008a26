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
    const QString rtf = read(exportAs(4, QStringLiteral("page.rtf")));
    // Only ASCII in the file: everything else is escaped.
    EXPECT_TRUE(std::all_of(rtf.cbegin(), rtf.cend(), [](QChar c) { return c.unicode() < 0x80; }));
    QStringList lines = listingLines(readRtf(rtf).plainText());
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
