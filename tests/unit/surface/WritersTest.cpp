#include "SurfaceTestSupport.h"
#include "TestSupport.h"
#include "WinColor.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

using folionix::PrintSurface;

namespace {

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(20000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": "
                                     << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(JsonDump, IsValidAndListsEveryAddTextAsOneItem)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.setHeaderText(QStringLiteral("Head"));
    surface.setPageBorder(4);
    surface.StartDoc();
    const QString awkward =
        QStringLiteral("q\"b\\s\tc") + QChar(0x01) + QString::fromUtf8("é中😀") + QChar(0xD800);
    const QStringList tokens = {QStringLiteral("Dim"), QStringLiteral(" "), QStringLiteral("x"), awkward};
    int added = 0;
    for (int line = 0; line < 150; ++line) {
        for (const QString& token : tokens) {
            surface.AddText(token);
            ++added;
        }
        surface.AddParagraph(line % 10 == 0 ? QString() : QStringLiteral(";"));
        added += line % 10 == 0 ? 0 : 1;
    }
    surface.setTextColor(0x0000FF);
    surface.setFontSize(8.5);
    surface.AddText(QStringLiteral("red"));
    ++added;
    surface.DrawLine(0.333, 10, 20.5, 10);
    surface.EndDoc();

    const QJsonObject json = surfacetest::parseJson(surface.document());
    const QJsonArray pages = json[QStringLiteral("pages")].toArray();
    ASSERT_EQ(pages.size(), surface.PageCount());
    ASSERT_GE(pages.size(), 2);
    int bodyItems = 0;
    QJsonObject last;
    for (const QJsonValue& pageValue : pages) {
        const QJsonObject page = pageValue.toObject();
        EXPECT_EQ(page[QStringLiteral("width")].toDouble(), 12240);
        EXPECT_EQ(page[QStringLiteral("height")].toDouble(), 15840);
        EXPECT_EQ(page[QStringLiteral("scale")].toDouble(), 100);
        int headers = 0;
        int boxes = 0;
        for (const QJsonValue& itemValue : page[QStringLiteral("items")].toArray()) {
            const QJsonObject item = itemValue.toObject();
            const QString kind = item[QStringLiteral("kind")].toString();
            if (kind == QStringLiteral("text") && item[QStringLiteral("role")] == QStringLiteral("body")) {
                ++bodyItems;
                last = item;
                if (item[QStringLiteral("text")].toString().startsWith(u'q')) {
                    EXPECT_EQ(item[QStringLiteral("text")].toString().chopped(1), awkward.chopped(1));
                }
            }
            headers += item[QStringLiteral("role")] == QStringLiteral("header");
            boxes += kind == QStringLiteral("box");
        }
        EXPECT_EQ(headers, 1);
        EXPECT_EQ(boxes, 1);
    }
    EXPECT_EQ(bodyItems, added);

    const QJsonArray lastItems = pages.last().toObject()[QStringLiteral("items")].toArray();
    EXPECT_EQ(last[QStringLiteral("text")], QStringLiteral("red"));
    EXPECT_EQ(last[QStringLiteral("color")], QStringLiteral("#FF0000"));
    EXPECT_EQ(last[QStringLiteral("size")].toDouble(), 8.5);
    EXPECT_EQ(last[QStringLiteral("font")], QStringLiteral("Courier New"));
    EXPECT_EQ(last[QStringLiteral("style")], QString());
    EXPECT_EQ(last[QStringLiteral("bold")], false);
    EXPECT_TRUE(last.contains(QStringLiteral("underline")) && last.contains(QStringLiteral("italic")));
    bool sawLine = false;
    for (const QJsonValue& value : lastItems) {
        const QJsonObject item = value.toObject();
        if (item[QStringLiteral("kind")] == QStringLiteral("line") &&
            item[QStringLiteral("role")] == QStringLiteral("body")) {
            sawLine = true;
            EXPECT_EQ(item[QStringLiteral("x1")].toDouble(), 0.33);
            EXPECT_EQ(item[QStringLiteral("x2")].toDouble(), 20.5);
            EXPECT_EQ(item[QStringLiteral("pen")], QStringLiteral("#000000"));
        }
    }
    EXPECT_TRUE(sawLine);

    // Whole numbers are written without a fraction.
    const QByteArray bytes = surfacetest::jsonBytes(surface.document());
    EXPECT_TRUE(bytes.contains("\"x\":1440,\"y\":1440,"));
    EXPECT_FALSE(bytes.contains("1440.0"));
}

TEST(JsonDump, ItemsFollowTheDrawingOrder)
{
    PrintSurface surface;
    surface.StartDoc();
    surface.DrawLine(0, 0, 1, 1);
    surface.AddText(QStringLiteral("a"));
    surface.DrawRoundedBox(0, 0, 10, 10, 2, 2);
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    surface.DrawPicture(picture, 0, 0, 100, 100);
    surface.DrawTextBox(QStringLiteral("box"), 0, 0, 500, 500, false);
    surface.AddText(QStringLiteral("b"));
    QStringList kinds;
    const QJsonObject json = surfacetest::parseJson(surface.document());
    for (const QJsonValue& item : json[QStringLiteral("pages")][0][QStringLiteral("items")].toArray())
        kinds << item[QStringLiteral("kind")].toString();
    EXPECT_EQ(kinds, QStringList({"line", "text", "roundedbox", "picture", "textbox", "text"}));
}

TEST(TextDump, LinesHeaderFooterAndFormFeeds)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.setHeaderText(QStringLiteral("Title %d"));
    surface.setFooterText(QStringLiteral("foot   "));
    surface.StartDoc();
    surface.AddParagraph(QStringLiteral("alpha"));
    surface.AddText(QStringLiteral("beta"));
    surface.setCurrentX(surface.CurrentX() + 2 * 96); // a gap of two characters
    surface.AddParagraph(QStringLiteral("gamma  "));
    surface.AddParagraph(QString());
    surface.setFontBold(true);
    surface.AddText(QStringLiteral("de"));
    surface.setFontBold(false);
    surface.AddParagraph(QStringLiteral("lta"));
    surface.NewPage();
    surface.AddParagraph(QString::fromUtf8("épsilon 中"));
    surface.EndDoc();
    EXPECT_EQ(surfacetest::plainText(surface.document()),
              QString::fromUtf8("Title 1\nalpha\nbeta  gamma\n\ndelta\nfoot\n\fTitle 2\népsilon 中\nfoot\n"));
}

TEST(TextDump, ColumnsAreWrittenOneAfterTheOther)
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
    EXPECT_EQ(surfacetest::plainText(surface.document()), QStringLiteral("left 1\nleft 2\nright 1\n"));
}

TEST(TextDump, ARunInsideWrittenCharactersOverwritesThem)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    const double left = surface.CurrentX();
    surface.AddText(QStringLiteral("  12 ")); // the gutter
    const double codeX = surface.CurrentX();
    surface.setCurrentX(left);
    surface.AddText(QStringLiteral("*")); // an indicator over the gutter's leading space
    surface.setCurrentX(codeX);
    surface.AddParagraph(QStringLiteral("Dim x"));
    surface.AddText(QStringLiteral("  13 "));
    surface.AddParagraph(QStringLiteral("x = 1"));
    surface.EndDoc();
    EXPECT_EQ(surfacetest::plainText(surface.document()), QStringLiteral("* 12 Dim x\n  13 x = 1\n"));
}

TEST(AtomicWrite, FailureLeavesNoFileAndKeepsAnExistingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PrintSurface surface;
    surface.AddParagraph(QStringLiteral("text"));
    surface.EndDoc();

    QString error;
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("no/such/folder/out.pdf"));
    EXPECT_FALSE(folionix::writePdf(surface.document(), missing, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(missing));

    const QString existing = testsupport::writeFile(dir, QStringLiteral("keep.pdf"), "old contents");
    error.clear();
    const bool written = folionix::writeFileAtomically(
        existing,
        [](QIODevice& device) {
            device.write("half a file");
            return false;
        },
        &error);
    EXPECT_FALSE(written);
    EXPECT_EQ(testsupport::readFile(existing), QByteArray("old contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.pdf")});

    EXPECT_TRUE(folionix::writePdf(surface.document(), existing, &error)) << error.toStdString();
    EXPECT_TRUE(testsupport::readFile(existing).startsWith("%PDF-"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.pdf")});
}

TEST(StreamWriters, ReportADeviceThatStopsAccepting)
{
    PrintSurface surface;
    for (int i = 0; i < 5000; ++i)
        surface.AddParagraph(QStringLiteral("line %1").arg(i));
    surfacetest::FailingDevice json(1000);
    json.open(QIODevice::WriteOnly);
    EXPECT_FALSE(folionix::writeJson(surface.document(), json));
    surfacetest::FailingDevice text(1000);
    text.open(QIODevice::WriteOnly);
    EXPECT_FALSE(folionix::writeText(surface.document(), text));
}

class PdfTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = QDir(dir.path()).filePath(QStringLiteral("listing.pdf"));
        surfacetest::useListingFont(surface);
    }

    void write()
    {
        surface.EndDoc();
        QString error;
        ASSERT_TRUE(folionix::writePdf(surface.document(), path, &error)) << error.toStdString();
    }

    QTemporaryDir dir;
    QString path;
    PrintSurface surface;
};

TEST_F(PdfTest, TextIsSelectableWithEmbeddedFontsAndPageSizesFollowTheScale)
{
    surface.setScaleOutput(50);
    surface.setHeaderText(QStringLiteral("Folionix|listing.asp|Page %d"));
    surface.StartDoc();
    surface.AddText(QStringLiteral("Response"));
    surface.AddText(QStringLiteral(".Write"));
    surface.setTextColor(0x0000FF);
    surface.AddParagraph(QStringLiteral(" \"Hello\""));
    surface.setTextColor(0);
    surface.DrawRoundedBox(1440, 3000, 5000, 4000, 100, 100);
    surface.DrawTextBox(QStringLiteral("Boxed note"), 1440, 5000, 4000, 1000, true);
    surface.setPageOrientation(1);
    surface.NewPage();
    surface.AddParagraph(QStringLiteral("Second page"));
    write();

    const QString pdftotext = surfacetest::popplerTool("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString text = runTool(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Response.Write \"Hello\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Boxed note")));
    EXPECT_TRUE(text.contains(QStringLiteral("Second page")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 2")));

    const QString pdffonts = surfacetest::popplerTool("pdffonts");
    if (!pdffonts.isEmpty()) {
        const QStringList rows = runTool(pdffonts, {path}).split(u'\n', Qt::SkipEmptyParts).mid(2);
        ASSERT_FALSE(rows.isEmpty());
        for (const QString& row : rows) {
            const QStringList columns = row.simplified().split(u' ');
            ASSERT_GE(columns.size(), 5);
            EXPECT_EQ(columns[columns.size() - 5], QStringLiteral("yes"))
                << "not embedded: " << row.toStdString();
        }
        EXPECT_TRUE(rows.join(u'\n').contains(QStringLiteral("LiberationMono")));
    }

    const QString pdfinfo = surfacetest::popplerTool("pdfinfo");
    if (!pdfinfo.isEmpty()) {
        const QString info = runTool(pdfinfo, {QStringLiteral("-f"), QStringLiteral("1"),
                                               QStringLiteral("-l"), QStringLiteral("2"), path})
                                 .simplified();
        EXPECT_TRUE(info.contains(QStringLiteral("Page 1 size: 612 x 792 pts"))) << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Page 2 size: 792 x 612 pts"))) << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Creator: Folionix")));
    }
}

TEST_F(PdfTest, ChineseFromAGbkFileReachesThePdfText)
{
    QStringDecoder gbk("GBK");
    if (!gbk.isValid())
        GTEST_SKIP() << "no GBK decoder in this Qt build";
    // "中文注释：你好" as a GBK-encoded ASP page would hold it.
    const QString chinese =
        gbk.decode(QByteArray("\xD6\xD0\xCE\xC4\xD7\xA2\xCA\xCD\xA3\xBA\xC4\xE3\xBA\xC3"));
    ASSERT_EQ(chinese, QString::fromUtf8("中文注释：你好"));
    surface.StartDoc();
    surface.AddText(QStringLiteral("' "));
    surface.AddParagraph(chinese);
    EXPECT_EQ(surface.TextWidth(chinese), 7 * 160); // one em each, from the CJK fallback face
    write();

    const QString pdftotext = surfacetest::popplerTool("pdftotext");
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    const QString text = runTool(pdftotext, {path, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(chinese)) << text.toStdString();
    const QString pdffonts = surfacetest::popplerTool("pdffonts");
    if (!pdffonts.isEmpty()) {
        const QString fonts = runTool(pdffonts, {path});
        EXPECT_TRUE(fonts.contains(QStringLiteral("WenQuanYi"))) << fonts.toStdString();
    }
}

TEST(PaintPage, PaintsAtTheDeviceResolution)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    surface.setBrushColor(0x0000FF);
    surface.setPenColor(0x0000FF);
    surface.DrawRoundedBox(1440, 1440, 2880, 2880, 0, 0); // one inch square, an inch in
    surface.EndDoc();
    QImage image(int(8.5 * 96), 11 * 96, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    folionix::paintPage(painter, surface.document(), 0);
    painter.end();
    EXPECT_EQ(image.pixelColor(96 + 48, 96 + 48), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(96 + 110, 96 + 48), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(96 - 10, 96 + 48), QColor(Qt::white));
}

// The longest unbroken dark stretch of any row of image between rows from and to: (left, right).
std::pair<int, int> longestDarkStretch(const QImage& image, int from, int to)
{
    std::pair<int, int> best{-1, -1};
    for (int y = std::max(0, from); y < std::min(image.height(), to); ++y) {
        int start = -1;
        for (int x = 0; x <= image.width(); ++x) {
            const bool dark = x < image.width() && qGray(image.pixel(x, y)) < 128;
            if (dark && start < 0)
                start = x;
            if (!dark && start >= 0) {
                if (x - 1 - start > best.second - best.first)
                    best = {start, x - 1};
                start = -1;
            }
        }
    }
    return best;
}

TEST(PaintPage, UnderlineRunsUnderItsTextOnly)
{
    const QString pdftoppm = surfacetest::popplerTool("pdftoppm");
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir dir;
    // Plain ASCII (drawn glyph by glyph) and text that needs shaping take different paths.
    for (const QString& word : {QStringLiteral("Confidential"), QStringLiteral("Caf\u00E9 caf\u00E9")}) {
        PrintSurface surface;
        surfacetest::useListingFont(surface);
        surface.setFontSize(20);
        surface.setFontUnderline(true);
        surface.StartDoc();
        surface.setCurrentX(2880); // two inches in
        const double top = surface.CurrentY();
        surface.AddText(word);
        const double right = surface.CurrentX();
        surface.EndDoc();
        const QString pdf = dir.filePath(QStringLiteral("underline.pdf"));
        QString error;
        ASSERT_TRUE(folionix::writePdf(surface.document(), pdf, &error)) << error.toStdString();
        runTool(pdftoppm, {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                           QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        const QImage image(dir.filePath(QStringLiteral("page.png")));
        ASSERT_FALSE(image.isNull());
        // At 96 dpi a pixel is 15 twips; the underline is the longest dark stretch under the line top.
        const auto [left, last] = longestDarkStretch(image, int(top / 15), int(top / 15) + 60);
        EXPECT_NEAR(left, 2880 / 15, 3) << word.toStdString();
        EXPECT_NEAR(last, right / 15, 4) << word.toStdString();
        EXPECT_GT(last - left, (right - 2880) / 15 * 0.8) << word.toStdString();
    }
}

struct ColorCase
{
    folionix::WinColor win;
    const char* name;
};

const ColorCase ColorCases[] = {
    {0x000000, "#000000"},   {0x0000FF, "#FF0000"},   {0x00FF00, "#00FF00"},   {0xFF0000, "#0000FF"},
    {0x123456, "#563412"},   {0x80000005, "#FFFFFF"}, {0x80000008, "#000000"}, {0x8000000C, "#808080"},
    {0x8000000F, "#D4D0C8"}, {0x80000012, "#000000"}, {0x800000FF, "#000000"},
};

class WinColorTest : public ::testing::TestWithParam<ColorCase>
{};

TEST_P(WinColorTest, MapsToTheRgbColour)
{
    EXPECT_EQ(folionix::colorName(GetParam().win), QString::fromLatin1(GetParam().name));
    if (!(GetParam().win & 0x80000000u)) {
        EXPECT_EQ(folionix::fromQColor(folionix::toQColor(GetParam().win)), GetParam().win);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, WinColorTest, ::testing::ValuesIn(ColorCases));

} // namespace
