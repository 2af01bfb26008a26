#include "RtfReader.h"
#include "SurfaceTestSupport.h"
#include "TestSupport.h"
#include "WinColor.h"

#include <QBuffer>
#include <QImageWriter>
#include <QStringDecoder>
#include <cmath>
#include <random>

using folionix::PrintSurface;
using folionix::RtfCharFormat;
using folionix::RtfDocument;
using folionix::RtfParagraph;
using folionix::WinColor;

namespace {

QByteArray rtfOf(const folionix::Document& document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_TRUE(folionix::writeRtf(document, buffer, &error)) << error.toStdString();
    return buffer.data();
}

RtfDocument readBack(const folionix::Document& document)
{
    return folionix::readRtf(QString::fromLatin1(rtfOf(document)));
}

// Control characters as the flow writers show them: U+0000 to U+001F become U+2400 to U+241F.
QString withControlPictures(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 0x20)
            c = QChar(char16_t(0x2400 + c.unicode()));
    }
    return text;
}

// The plain text writer's pages: lines of each page, control characters shown as pictures.
QList<QStringList> textPages(const folionix::Document& document)
{
    QList<QStringList> pages;
    for (const QString& page : surfacetest::plainText(document).split(u'\f')) {
        QStringList lines = page.split(u'\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast(); // every line ends with '\n'
        for (QString& line : lines)
            line = withControlPictures(line);
        pages << lines;
    }
    return pages;
}

QString textOf(const RtfParagraph& paragraph)
{
    QString text;
    for (const folionix::RtfSpan& span : paragraph.spans)
        text += span.text;
    return text;
}

QString pictureMark(QSize size)
{
    return QStringLiteral("[picture %1x%2]").arg(size.width()).arg(size.height());
}

// Paragraphs of each page of a read document: their text, or a mark for each picture.
QList<QStringList> rtfPages(const RtfDocument& document)
{
    QList<QStringList> pages;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        if (pages.isEmpty() || paragraph.pageBreakBefore)
            pages.append(QStringList());
        QString text = textOf(paragraph);
        for (const QImage& picture : paragraph.pictures)
            text += pictureMark(picture.size());
        pages.last() << text;
    }
    return pages;
}

// The plain text of pages as rtfPages lists them: a picture's paragraph has no text.
QString joined(const QList<QStringList>& pages)
{
    QStringList lines;
    for (const QStringList& page : pages) {
        for (const QString& line : page)
            lines << (line.startsWith(QStringLiteral("[picture ")) ? QString() : line);
    }
    return lines.join(u'\n');
}

RtfCharFormat format(const char* font, double size, bool bold, bool italic, bool underline, WinColor color)
{
    return RtfCharFormat{QString::fromLatin1(font), size, bold, italic, underline, color};
}

// Text runs of the body as the surface recorded them.
struct RecordedRun
{
    QString text;
    folionix::FontKey font;
    WinColor color;
    folionix::TextRun run;
};

std::vector<RecordedRun> recordedRuns(const folionix::Document& document, size_t page = 0)
{
    std::vector<RecordedRun> runs;
    for (const folionix::TextRun& run : surfacetest::bodyRuns(document, page))
        runs.push_back({document.textOf(run).toString(), document.fonts()[run.font], run.color, run});
    return runs;
}

QByteArray hexOf(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes.toHex();
}

// ---------------------------------------------------------------------------------------------------
// Reading

// What a cover sheet looks like: two fonts, colours, styled spans, a tab, three paragraphs and a last
// group that is never closed.
const QString CoverSheet = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{"
                                          "\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fmodern Courier New;}}\r\n"
                                          "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                                          "{\\*\\generator Cover 1.0;}\\viewkind4\\uc1\r\n"
                                          "\\pard\\qc\\b\\fs32 Listing of default.asp\\b0\\par\r\n"
                                          "\\pard\\f1\\fs20 File:\\tab{\\i default.asp}\\par\r\n"
                                          "{\\cf1\\ul Caf\\'e9} costs \\u8364?5 {\\cf2 blue {\\b bold");

struct ExpectedSpan
{
    QString text;
    RtfCharFormat format;
};

TEST(RtfRead, CoverSheetParagraphsSpansAndFormats)
{
    const RtfDocument document = folionix::readRtf(CoverSheet);
    const RtfCharFormat courier = format("Courier New", 10, false, false, false, 0);
    RtfCharFormat italic = courier;
    italic.italic = true;
    RtfCharFormat redUnderlined = courier;
    redUnderlined.color = 0x0000FF;
    redUnderlined.underline = true;
    RtfCharFormat blue = courier;
    blue.color = 0xFF0000;
    RtfCharFormat blueBold = blue;
    blueBold.bold = true;
    const std::vector<std::pair<int, std::vector<ExpectedSpan>>> expected = {
        {2, {{QStringLiteral("Listing of default.asp"), format("Arial", 16, true, false, false, 0)}}},
        {0, {{QStringLiteral("File:\t"), courier}, {QStringLiteral("default.asp"), italic}}},
        {0,
         {{QString::fromUtf8("Café"), redUnderlined},
          {QString::fromUtf8(" costs €5 "), courier},
          {QStringLiteral("blue "), blue},
          {QStringLiteral("bold"), blueBold}}},
    };
    ASSERT_EQ(document.paragraphs.size(), expected.size());
    for (size_t p = 0; p < expected.size(); ++p) {
        const RtfParagraph& paragraph = document.paragraphs[p];
        SCOPED_TRACE(p);
        EXPECT_EQ(paragraph.alignment, expected[p].first);
        EXPECT_FALSE(paragraph.pageBreakBefore);
        EXPECT_TRUE(paragraph.pictures.empty());
        ASSERT_EQ(paragraph.spans.size(), expected[p].second.size());
        for (size_t s = 0; s < paragraph.spans.size(); ++s) {
            const ExpectedSpan& span = expected[p].second[s];
            EXPECT_EQ(paragraph.spans[s].text, span.text);
            EXPECT_EQ(paragraph.spans[s].format.fontName, span.format.fontName) << s;
            EXPECT_EQ(paragraph.spans[s].format.pointSize, span.format.pointSize) << s;
            EXPECT_TRUE(paragraph.spans[s].format == span.format) << span.text.toStdString();
        }
    }
    EXPECT_EQ(document.plainText(),
              QString::fromUtf8("Listing of default.asp\nFile:\tdefault.asp\nCafé costs €5 blue bold"));
}

struct TextCase
{
    const char* name;
    const char* rtf;
    const char* plain;             // UTF-8
    const char* decoder = nullptr; // the code page decoder the case needs, if any
};

const TextCase TextCases[] = {
    {"escaped symbols", "{\\rtf1 a\\\\b\\{c\\}d}", "a\\b{c}d"},
    {"Windows-1252 bytes", "{\\rtf1\\ansi \\'e9\\'80\\'93}", "é€“"},
    {"Windows-1252 by default", "{\\rtf1 \\'e9t\\'e9}", "été"},
    {"Cyrillic code page", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", "При", "windows-1251"},
    {"double-byte code page", "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}", "中文", "GBK"},
    {"code page of the font's charset",
     "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}}\\f0 \\'cf\\'f0\\'e8}", "При", "windows-1251"},
    {"unicode with fallback", "{\\rtf1 \\u8364?5 \\u233e}", "€5 é"},
    {"negative unicode", "{\\rtf1 \\u-4064?}", "\xef\x80\xa0"},
    {"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?!}", "😀!"},
    {"unpaired surrogates", "{\\rtf1 \\u-10179?x\\u-8704?y}", "\xef\xbf\xbdx\xef\xbf\xbdy"},
    {"longer fallback", "{\\rtf1\\uc2 \\u20013\\'d6\\'d0!}", "中!"},
    {"no fallback", "{\\rtf1\\uc0 \\u20013!}", "中!"},
    {"fallback count ends with its group", "{\\rtf1 {\\uc3 \\u20013 ab}cd}", "中cd"},
    {"fallback never crosses a control word", "{\\rtf1 \\u20013\\par x}", "中\nx"},
    {"named characters", "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~}",
     "—–•‘’“”\xc2\xa0"},
    {"line and tab", "{\\rtf1 a\\line b\\tab c}", "a\nb\tc"},
    {"source line ends are not text", "{\\rtf1 a\r\nb\n\\par c}", "ab\nc"},
    {"escaped line end ends the paragraph", "{\\rtf1 a\\\nb}", "a\nb"},
    {"unknown control words are skipped", "{\\rtf1\\lang2057\\noproof\\sl-240\\slmult0 text}", "text"},
    {"destinations without text",
     "{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s1 Heading;}}{\\header H}{\\footer F}"
     "{\\*\\unknowndest X}{\\*\\fldinst HYPERLINK}{\\pict\\wmetafile8 0102}body}",
     "body"},
    {"field results are text", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", "link"},
    {"nested documents are ordinary groups", "{\\rtf1 a {\\rtf1\\ansi b}c\\par d}", "a bc\nd"},
    {"unicode half of a pair", "{\\rtf1{\\upr{\\ansi-text}{\\*\\ud{wide}}}}", "wide"},
};

TEST(RtfRead, EscapesCodePagesAndDestinations)
{
    for (const TextCase& c : TextCases) {
        SCOPED_TRACE(c.name);
        if (c.decoder && !QStringDecoder(c.decoder).isValid()) {
            std::cout << "no " << c.decoder << " decoder: skipping '" << c.name << "'\n";
            continue;
        }
        EXPECT_EQ(folionix::readRtf(QString::fromUtf8(c.rtf)).plainText(), QString::fromUtf8(c.plain));
    }
}

TEST(RtfRead, ParagraphBreaksAndProperties)
{
    const RtfDocument document = folionix::readRtf(
        u"{\\rtf1\\pard\\qc\\li720 centred\\par \\qr right\\par\\pard\\qj\\li-5 just\\page next\\par"
        u"\\column col\\par\\pard \\page\\page after\\sect{\\ql left}}");
    struct Expected
    {
        const char* text;
        int alignment;
        int indent;
        bool pageBreak;
        bool columnBreak;
    };
    const Expected expected[] = {
        {"centred", 2, 720, false, false}, {"right", 1, 720, false, false}, {"just", 3, -5, false, false},
        {"next", 3, -5, true, false},      {"col", 3, -5, false, true},     {"", 0, 0, true, false},
        {"after", 0, 0, true, false},      {"left", 0, 0, false, false},
    };
    ASSERT_EQ(document.paragraphs.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].text);
        const RtfParagraph& paragraph = document.paragraphs[i];
        EXPECT_EQ(textOf(paragraph), QString::fromLatin1(expected[i].text));
        EXPECT_EQ(paragraph.alignment, expected[i].alignment);
        EXPECT_EQ(paragraph.leftIndent, expected[i].indent);
        EXPECT_EQ(paragraph.pageBreakBefore, expected[i].pageBreak);
        EXPECT_EQ(paragraph.columnBreakBefore, expected[i].columnBreak);
    }
}

TEST(RtfRead, CharacterPropertiesFollowGroupsAndResets)
{
    const RtfDocument document = folionix::readRtf(
        u"{\\rtf1{\\fonttbl\\f0\\fnil Mono;\\f3\\fswiss Sans;}{\\colortbl;\\red1\\green2\\blue3;}"
        u"\\f3\\fs30\\b\\i\\ul\\cf1 a{\\b0\\i0\\ulnone\\f0 b}c\\plain d\\ul e\\ul0 f\\uldb g\\ulnone\\b1 "
        u"h\\b0"
        u"\\cf7 i\\f9 j\\fs0 k\\fs99999999999 l}");
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const std::vector<ExpectedSpan> expected = {
        {QStringLiteral("a"), format("Sans", 15, true, true, true, 0x030201)},
        {QStringLiteral("b"), format("Mono", 15, false, false, false, 0x030201)},
        {QStringLiteral("c"), format("Sans", 15, true, true, true, 0x030201)},
        {QStringLiteral("d"), format("Mono", 12, false, false, false, 0)},
        {QStringLiteral("e"), format("Mono", 12, false, false, true, 0)},
        {QStringLiteral("f"), format("Mono", 12, false, false, false, 0)},
        {QStringLiteral("g"), format("Mono", 12, false, false, true, 0)},
        {QStringLiteral("h"), format("Mono", 12, true, false, false, 0)},
        {QStringLiteral("i"), format("Mono", 12, false, false, false, 0)}, // no colour 7: automatic
        {QStringLiteral("j"), format("", 12, false, false, false, 0)},     // no font 9
        {QStringLiteral("k"), format("", 12, false, false, false, 0)},     // no size 0: the default
        {QStringLiteral("l"), format("", 1638, false, false, false, 0)},   // clamped
    };
    const std::vector<folionix::RtfSpan>& spans = document.paragraphs[0].spans;
    // Neighbours of one format share a span.
    std::vector<ExpectedSpan> merged;
    for (const ExpectedSpan& span : expected) {
        if (!merged.empty() && merged.back().format == span.format)
            merged.back().text += span.text;
        else
            merged.push_back(span);
    }
    ASSERT_EQ(spans.size(), merged.size());
    for (size_t i = 0; i < spans.size(); ++i) {
        SCOPED_TRACE(merged[i].text.toStdString());
        EXPECT_EQ(spans[i].text, merged[i].text);
        EXPECT_EQ(spans[i].format.fontName, merged[i].format.fontName);
        EXPECT_EQ(spans[i].format.pointSize, merged[i].format.pointSize);
        EXPECT_EQ(spans[i].format.color, merged[i].format.color);
        EXPECT_TRUE(spans[i].format == merged[i].format);
    }
}

TEST(RtfRead, PngAndJpegPicturesOthersSkipped)
{
    QImage image(12, 6, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    const QByteArray png = hexOf(image, "PNG");
    QString rtf =
        QStringLiteral("{\\rtf1 before\\par{\\pict\\pngblip\\picw12\\pich6\\picwgoal360\\pichgoal90\n") +
        QString::fromLatin1(png) + QStringLiteral("}{\\pict\\wmetafile8\\picwgoal100 ") +
        QString::fromLatin1(png) +
        QStringLiteral(
            "}{\\*\\shppict{\\pict{\\*\\blipuid 0123456789abcdef}\\pngblip\\picwgoal720\\picscalex50 ") +
        QString::fromLatin1(png) + QStringLiteral("}}{\\nonshppict{\\pict\\pngblip ") +
        QString::fromLatin1(png) + QStringLiteral("}}{\\pict\\pngblip 89504e47}");
    const bool jpeg = QImageWriter::supportedImageFormats().contains("jpeg");
    if (jpeg)
        rtf += QStringLiteral("{\\pict\\jpegblip ") + QString::fromLatin1(hexOf(image, "JPEG")) + u'}';
    rtf += QStringLiteral("after}");
    const RtfDocument document = folionix::readRtf(rtf);
    ASSERT_EQ(document.paragraphs.size(), 2u);
    // The pictures go in the paragraph they stand in.
    EXPECT_EQ(document.plainText(), QStringLiteral("before\nafter"));
    EXPECT_TRUE(document.paragraphs[0].pictures.empty());

    // Goal sizes (scaled) are kept as the resolution; the metafile, the copy for readers without
    // shapes and the broken PNG are left out.
    const std::vector<QImage>& pictures = document.paragraphs[1].pictures;
    ASSERT_EQ(pictures.size(), jpeg ? 3u : 2u);
    const auto twips = [](const QImage& picture, bool across) {
        const int dpm = across ? picture.dotsPerMeterX() : picture.dotsPerMeterY();
        return (across ? picture.width() : picture.height()) * 1440.0 / (dpm * 0.0254);
    };
    EXPECT_EQ(pictures[0].size(), QSize(12, 6));
    EXPECT_EQ(pictures[0].pixelColor(5, 3), QColor(10, 200, 30));
    EXPECT_NEAR(twips(pictures[0], true), 360, 1);
    EXPECT_NEAR(twips(pictures[0], false), 90, 1);
    EXPECT_EQ(pictures[1].size(), QSize(12, 6));
    EXPECT_NEAR(twips(pictures[1], true), 360, 1);
    if (jpeg) {
        EXPECT_EQ(pictures[2].size(), QSize(12, 6));
    }
}

TEST(RtfRead, BrokenInputNeverFails)
{
    const QString deep = QString(200000, u'{') + QStringLiteral("deep") + QString(200000, u'}');
    const QString longWord = QStringLiteral("{\\rtf1 \\") + QString(100000, u'a') + QStringLiteral(" x}");
    struct Case
    {
        QString rtf;
        QString plain;
    };
    const Case cases[] = {
        {QString(), QString()},
        {QStringLiteral("{{{{"), QString()},
        {QStringLiteral("}}}}"), QString()},
        {QStringLiteral("}}a{{b"), QStringLiteral("ab")},
        {QStringLiteral("\\"), QString()},
        {QStringLiteral("{\\rtf1 a\\"), QStringLiteral("a")},
        {QStringLiteral("{\\rtf1 a\\'4"), QStringLiteral("a")},
        {QStringLiteral("{\\rtf1 a\\'zzb}"), QStringLiteral("azzb")},
        {QStringLiteral("{\\rtf1 \\u99999999999?x}"), QString(QChar(0xFFFD)) + u'x'},
        {QStringLiteral("{\\rtf1 \\u-99999999999?x}"), QString(QChar(0xFFFD)) + u'x'},
        {QStringLiteral("{\\rtf1 \\uc99999999\\u65 abc}"), QStringLiteral("A")},
        {QStringLiteral("{\\rtf1 a\\bin99999999999 bcd}"), QStringLiteral("a")},
        {QStringLiteral("{\\rtf1 a\\bin2 {}b}"), QStringLiteral("ab")},
        {QStringLiteral("{\\rtf1 a\\bin-5 b}"), QStringLiteral("ab")},
        {QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Unclosed"), QString()},
        {QStringLiteral("{\\rtf1{\\pict\\pngblip 89504e470d0a1a0a zz"), QString()},
        {QStringLiteral("{\\rtf1 a") + QChar(0) + QChar(7) + QStringLiteral("b\tc}"),
         QStringLiteral("ab\tc")},
        {deep, QStringLiteral("deep")},
        {longWord, QStringLiteral("x")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf.left(40).toStdString());
        const RtfDocument document = folionix::readRtf(c.rtf);
        EXPECT_EQ(document.plainText(), c.plain);
        PrintSurface surface;
        surfacetest::useListingFont(surface);
        folionix::renderRtf(surface, document);
        EXPECT_EQ(surface.FontName(), QStringLiteral("Courier New"));
        EXPECT_EQ(surface.FontSize(), 8);
    }

    // Random bytes with plenty of RTF syntax among them.
    std::mt19937 random(20240611);
    const char16_t syntax[] = u"{}\\\\\\'-0123456789abcfiuprsdl ;\r\n";
    QString noise;
    noise.reserve(400000);
    for (int i = 0; i < 400000; ++i) {
        const unsigned r = random();
        noise.append(
            QChar(r % 3 == 0 ? char16_t(r >> 8 & 0xFF) : syntax[(r >> 8) % (std::size(syntax) - 1)]));
    }
    const RtfDocument document = folionix::readRtf(QStringLiteral("{\\rtf1 ") + noise);
    const QString plain = document.plainText();
    for (const QChar c : plain)
        ASSERT_TRUE(c.unicode() >= 0x20 || c == u'\n' || c == u'\t') << int(c.unicode());
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    folionix::renderRtf(surface, folionix::readRtf(QStringLiteral("{\\rtf1 ") + noise.left(40000)));
    EXPECT_EQ(surface.FontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(surface.TextColor(), 0u);
}

// ---------------------------------------------------------------------------------------------------
// Rendering

TEST(RtfRender, CoverSheetRunsOnTheSurface)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.setTextColor(0x00FF00);
    surface.StartDoc();
    const double left = surface.TextAreaLeft();
    const double top = surface.CurrentY();
    surface.AddRtfText(CoverSheet);

    struct Expected
    {
        QString text;
        const char* family;
        double size;
        bool bold, italic, underline;
        WinColor color;
        bool lineStart;
    };
    const Expected expected[] = {
        {QStringLiteral("Listing of default.asp"), "Arial", 16, true, false, false, 0, true},
        {QStringLiteral("File:"), "Courier New", 10, false, false, false, 0, true},
        {QStringLiteral("default.asp"), "Courier New", 10, false, true, false, 0, false},
        {QString::fromUtf8("Café"), "Courier New", 10, false, false, true, 0x0000FF, true},
        {QString::fromUtf8(" costs €5 "), "Courier New", 10, false, false, false, 0, false},
        {QStringLiteral("blue "), "Courier New", 10, false, false, false, 0xFF0000, false},
        {QStringLiteral("bold"), "Courier New", 10, true, false, false, 0xFF0000, false},
    };
    const std::vector<RecordedRun> runs = recordedRuns(surface.document());
    ASSERT_EQ(runs.size(), std::size(expected));
    for (size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        EXPECT_EQ(runs[i].text, expected[i].text);
        EXPECT_EQ(runs[i].font.family, QString::fromLatin1(expected[i].family));
        EXPECT_EQ(runs[i].font.pointSize, expected[i].size);
        EXPECT_EQ(runs[i].font.bold, expected[i].bold);
        EXPECT_EQ(runs[i].font.italic, expected[i].italic);
        EXPECT_EQ(runs[i].font.underline, expected[i].underline);
        EXPECT_EQ(runs[i].color, expected[i].color);
        EXPECT_EQ(runs[i].run.lineStart, expected[i].lineStart);
    }
    // Three lines down the page; the tab goes to the first half-inch stop.
    EXPECT_EQ(runs[0].run.x, left);
    EXPECT_EQ(runs[0].run.y, top);
    EXPECT_GT(runs[1].run.y, runs[0].run.y);
    EXPECT_GT(runs[3].run.y, runs[1].run.y);
    EXPECT_EQ(runs[1].run.x, left);
    EXPECT_EQ(runs[2].run.x, left + 720);
    EXPECT_EQ(runs[3].run.x, left);

    // The surface's own font and colour are back.
    EXPECT_EQ(surface.FontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(surface.FontSize(), 8);
    EXPECT_FALSE(surface.FontBold());
    EXPECT_FALSE(surface.FontUnderline());
    EXPECT_EQ(surface.TextColor(), 0x00FF00u);
    EXPECT_EQ(surface.CurrentX(), left);
}

TEST(RtfRender, TabsGoToTheNextHalfInchStopAndIndentsApply)
{
    // Courier New 10 pt: 120 twips a character.
    struct Case
    {
        const char* rtf;
        double x; // of the run after the tab or indent, from the text area's left edge
    };
    const Case cases[] = {
        {"\\tab X", 720},
        {"abcde\\tab X", 720},
        {"abcdef\\tab X", 1440},
        {"abcdefg\\tab X", 1440},
        {"a\\tab\\tab X", 1440},
        {"\\li360 X", 360},
        {"\\li1000 a\\tab X", 1440},
        {"\\li2000 a\\line X", 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf);
        PrintSurface surface;
        surfacetest::useListingFont(surface);
        surface.StartDoc();
        const double left = surface.TextAreaLeft();
        surface.AddRtfText(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\fs20 ") +
                           QString::fromLatin1(c.rtf) + QStringLiteral("}"));
        const std::vector<RecordedRun> runs = recordedRuns(surface.document());
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs.back().text, QStringLiteral("X"));
        EXPECT_DOUBLE_EQ(runs.back().run.x - left, c.x);
        // The next line starts at the surface's own indent again.
        surface.AddParagraph(QStringLiteral("Y"));
        EXPECT_EQ(recordedRuns(surface.document()).back().run.x, left);
    }
}

TEST(RtfRender, PicturesAreDrawnAtTheirSizeAndTheFlowMovesBelowThem)
{
    QImage image(30, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString rtf = QStringLiteral("{\\rtf1 above\\par{\\pict\\pngblip\\picwgoal1500\\pichgoal500 ") +
                        QString::fromLatin1(hexOf(image, "PNG")) + QStringLiteral("}\\par below\\par}");
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    const double left = surface.TextAreaLeft();
    surface.AddRtfText(rtf);
    const folionix::Page& page = surface.document().pages().at(0);
    ASSERT_EQ(page.pictures.size(), 1u);
    const folionix::PlacedPicture& placed = page.pictures[0];
    const std::vector<RecordedRun> runs = recordedRuns(surface.document());
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(placed.x, left);
    EXPECT_NEAR(placed.width, 1500, 1);
    EXPECT_NEAR(placed.height, 500, 1);
    EXPECT_NEAR(placed.y, runs[0].run.y + runs[0].run.height, 0.01);
    EXPECT_NEAR(runs[1].run.y, placed.y + placed.height, 1);
    EXPECT_EQ(runs[1].text, QStringLiteral("below"));
    EXPECT_EQ(surface.document().pictures().at(placed.picture).pixelColor(3, 3), QColor(Qt::red));
}

// ---------------------------------------------------------------------------------------------------
// Writing

TEST(RtfWrite, RoundTripKeepsLinesPagesPicturesAndTheInsert)
{
    const QString corpus = QStringLiteral("\\ { } & < > \" ' ") + QString::fromUtf8("é 中 😀 ") + QChar(0) +
                           QChar(1) + QChar(0xD800) + QStringLiteral("end");
    const QString insert = QStringLiteral(
        "{\\rtf1\\viewkind4\\uc1\\pard\\lang2057\\b\\f0\\fs17 left \\tab center \\tab right\\par }");
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    surface.AddText(QStringLiteral("Dim x"));
    surface.setFontBold(true);
    surface.setTextColor(0x0000FF);
    surface.AddText(QStringLiteral(" bold red"));
    surface.setFontBold(false);
    surface.setTextColor(0);
    surface.AddParagraph(QStringLiteral(" plain"));
    surface.setFontItalic(true);
    surface.setFontUnderline(true);
    surface.setFontSize(10);
    surface.AddParagraph(QStringLiteral("italic underlined"));
    surface.setFontItalic(false);
    surface.setFontUnderline(false);
    surface.setFontSize(8);
    surface.AddParagraph(corpus);
    const int pictureLine = 3; // after three lines, before a blank one
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 255));
    surface.DrawPicture(image, surface.CurrentX(), surface.CurrentY(), 480, 360);
    surface.setCurrentY(surface.CurrentY() + 360);
    surface.AddParagraph(QString());
    surface.AddText(QStringLiteral("a"));
    surface.setCurrentX(surface.CurrentX() + 3 * 96);
    surface.AddParagraph(QStringLiteral("gap"));
    surface.NewPage();
    surface.setRtfHeader(insert);
    surface.setFontName(QStringLiteral("Arial"));
    surface.AddParagraph(QStringLiteral("second page"));
    surface.setFontName(QStringLiteral("Courier New"));
    surface.AddParagraph(corpus);
    surface.AddParagraph(QString()); // a blank line before the second picture
    QImage second(5, 4, QImage::Format_RGB32);
    second.fill(QColor(0, 255, 0));
    surface.DrawPicture(second, surface.CurrentX(), surface.CurrentY(), 300, 240);
    surface.setCurrentY(surface.CurrentY() + 240);
    surface.AddParagraph(QStringLiteral("after the picture"));
    surface.EndDoc();

    const QByteArray rtf = rtfOf(surface.document());
    for (const char byte : rtf)
        ASSERT_LT(uchar(byte), 0x80);
    EXPECT_EQ(rtf.count("\\rtf1"), 1);
    const RtfDocument document = folionix::readRtf(QString::fromLatin1(rtf));

    // The plain text writer's lines, with the pictures' paragraphs and the insert where they were added.
    QList<QStringList> expected = textPages(surface.document());
    ASSERT_EQ(expected.size(), 2);
    ASSERT_EQ(expected[0].size(), 5);
    EXPECT_EQ(expected[0][pictureLine], QString()); // the blank line after the picture
    EXPECT_EQ(expected[0][4], QStringLiteral("a   gap"));
    expected[0].insert(pictureLine, pictureMark(QSize(8, 6)));
    ASSERT_EQ(expected[1].size(), 4);
    EXPECT_EQ(expected[1][2], QString()); // the blank line before the picture
    expected[1].insert(3, pictureMark(QSize(5, 4)));
    expected[1].prepend(QStringLiteral("left \tcenter \tright"));
    EXPECT_EQ(rtfPages(document), expected);
    EXPECT_EQ(document.plainText(), joined(expected));

    const RtfParagraph& picture = document.paragraphs.at(pictureLine);
    EXPECT_TRUE(picture.spans.empty());
    ASSERT_EQ(picture.pictures.size(), 1u);
    EXPECT_EQ(picture.pictures[0].size(), QSize(8, 6));
    EXPECT_EQ(picture.pictures[0].pixelColor(4, 3), QColor(0, 0, 255));
    EXPECT_NEAR(picture.pictures[0].width() * 1440.0 / (picture.pictures[0].dotsPerMeterX() * 0.0254), 480,
                1);
    EXPECT_NEAR(picture.pictures[0].height() * 1440.0 / (picture.pictures[0].dotsPerMeterY() * 0.0254), 360,
                1);

    // The insert keeps its own formatting, its \f0 being the document's first font; what follows
    // does not inherit it.
    const RtfParagraph& header = document.paragraphs.at(expected[0].size());
    EXPECT_TRUE(header.pageBreakBefore);
    ASSERT_EQ(header.spans.size(), 1u);
    EXPECT_TRUE(header.spans[0].format == format("Courier New", 8.5, true, false, false, 0));
    const RtfParagraph& after = document.paragraphs.at(expected[0].size() + 1);
    ASSERT_EQ(after.spans.size(), 1u);
    EXPECT_TRUE(after.spans[0].format == format("Arial", 8, false, false, false, 0));

    // Formats of the first lines.
    const std::vector<folionix::RtfSpan>& first = document.paragraphs.at(0).spans;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[1].text, QStringLiteral(" bold red"));
    EXPECT_TRUE(first[1].format == format("Courier New", 8, true, false, false, 0x0000FF));
    EXPECT_TRUE(first[2].format == format("Courier New", 8, false, false, false, 0));
    ASSERT_EQ(document.paragraphs.at(1).spans.size(), 1u);
    EXPECT_TRUE(document.paragraphs.at(1).spans[0].format == format("Courier New", 10, false, true, true, 0));
}

TEST(RtfWrite, FormatsSurvive)
{
    struct Case
    {
        const char* family;
        double size;
        bool bold, italic, underline;
        WinColor color;
        double readSize; // \fs holds half points
        WinColor readColor;
    };
    const Case cases[] = {
        {"Courier New", 8, false, false, false, 0, 8, 0},
        {"Courier New", 8.5, true, false, false, 0x0000FF, 8.5, 0x0000FF},
        {"Arial", 10.25, false, true, false, 0xFF0000, 10.5, 0xFF0000},
        {"Arial", 12, false, false, true, 0x123456, 12, 0x123456},
        {"Courier New", 9, true, true, true, 0x80000008, 9, 0},           // window text
        {"Courier New", 9, false, false, false, 0x8000000F, 9, 0xC8D0D4}, // button face
        {"Arial", 0.2, false, false, false, 0x00FF00, 0.5, 0x00FF00},
    };
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    for (const Case& c : cases) {
        surface.setFontName(QString::fromLatin1(c.family));
        surface.setFontSize(c.size);
        surface.setFontBold(c.bold);
        surface.setFontItalic(c.italic);
        surface.setFontUnderline(c.underline);
        surface.setTextColor(c.color);
        surface.AddParagraph(QStringLiteral("%1 %2").arg(QString::fromLatin1(c.family)).arg(c.size));
    }
    surface.EndDoc();
    const RtfDocument document = readBack(surface.document());
    ASSERT_EQ(document.paragraphs.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        ASSERT_EQ(document.paragraphs[i].spans.size(), 1u);
        const RtfCharFormat& read = document.paragraphs[i].spans[0].format;
        EXPECT_EQ(read.fontName, QString::fromLatin1(c.family));
        EXPECT_EQ(read.pointSize, c.readSize);
        EXPECT_EQ(read.bold, c.bold);
        EXPECT_EQ(read.italic, c.italic);
        EXPECT_EQ(read.underline, c.underline);
        EXPECT_EQ(read.color, c.readColor);
    }
}

TEST(RtfWrite, EscapesEveryCharacterByOneRule)
{
    struct Case
    {
        QString text;
        const char* written;
        QString read;
    };
    const Case cases[] = {
        {QStringLiteral("\\"), "\\\\", QStringLiteral("\\")},
        {QStringLiteral("{"), "\\{", QStringLiteral("{")},
        {QStringLiteral("}"), "\\}", QStringLiteral("}")},
        {QStringLiteral("&<>\"'~;"), "&<>\"'~;", QStringLiteral("&<>\"'~;")},
        {QString::fromUtf8("é"), "\\u233?", QString::fromUtf8("é")},
        {QString::fromUtf8("€"), "\\u8364?", QString::fromUtf8("€")},
        {QString::fromUtf8("中"), "\\u20013?", QString::fromUtf8("中")},
        {QString(QChar(0xFFFF)), "\\u-1?", QString(QChar(0xFFFF))},
        {QString::fromUtf8("😀"), "\\u-10179?\\u-8704?", QString::fromUtf8("😀")},
        {QString(QChar(0)), "\\u9216?", QString(QChar(0x2400))},
        {QString(QChar(1)), "\\u9217?", QString(QChar(0x2401))},
        {QStringLiteral("\t"), "\\u9225?", QString(QChar(0x2409))},
        {QString(QChar(0x1F)), "\\u9247?", QString(QChar(0x241F))},
        {QString(QChar(0xD800)) + u'x', "\\u-3?x", QString(QChar(0xFFFD)) + u'x'},
        {QString(QChar(0xDC00)), "\\u-3?", QString(QChar(0xFFFD))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        PrintSurface surface;
        surfacetest::useListingFont(surface);
        surface.AddParagraph(QStringLiteral("<[") + c.text + QStringLiteral("]>"));
        surface.EndDoc();
        const QByteArray rtf = rtfOf(surface.document());
        EXPECT_TRUE(rtf.contains(QByteArray("<[") + c.written + "]>")) << rtf.toStdString();
        EXPECT_EQ(folionix::readRtf(QString::fromLatin1(rtf)).plainText(),
                  QStringLiteral("<[") + c.read + QStringLiteral("]>"));
    }
}

TEST(RtfWrite, ColumnsBecomeSectionColumns)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.setColumns(2);
    surface.StartDoc();
    surface.AddParagraph(QStringLiteral("left 1"));
    surface.AddParagraph(QStringLiteral("left 2"));
    surface.NewColumn();
    surface.AddParagraph(QStringLiteral("right 1"));
    surface.NewPage();
    surface.AddParagraph(QStringLiteral("page 2"));
    surface.NewColumn();
    surface.AddParagraph(QStringLiteral("right 2"));
    surface.EndDoc();
    const QByteArray rtf = rtfOf(surface.document());
    EXPECT_TRUE(rtf.contains("\\cols2\\colsx")) << rtf.toStdString();
    EXPECT_EQ(rtf.count("\\column"), 2);
    EXPECT_EQ(rtf.count("\\page"), 1);
    const RtfDocument document = folionix::readRtf(QString::fromLatin1(rtf));
    EXPECT_EQ(document.plainText(), QStringLiteral("left 1\nleft 2\nright 1\npage 2\nright 2"));
    ASSERT_EQ(document.paragraphs.size(), 5u);
    const bool columnBreaks[] = {false, false, true, false, true};
    const bool pageBreaks[] = {false, false, false, true, false};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(document.paragraphs[i].columnBreakBefore, columnBreaks[i]) << i;
        EXPECT_EQ(document.paragraphs[i].pageBreakBefore, pageBreaks[i]) << i;
    }

    // One column: no section columns at all.
    PrintSurface single;
    surfacetest::useListingFont(single);
    single.AddParagraph(QStringLiteral("only"));
    single.EndDoc();
    const QByteArray plain = rtfOf(single.document());
    EXPECT_FALSE(plain.contains("\\cols"));
    EXPECT_FALSE(plain.contains("\\column"));
}

TEST(RtfWrite, InsertsStayGroupsOfTheirOwn)
{
    struct Case
    {
        const char* insert;
        const char* text;
    };
    const Case cases[] = {
        {"{\\rtf1\\viewkind4\\uc1\\pard\\lang2057\\b\\f0\\fs17 left \\tab center \\tab right\\par }",
         "left \tcenter \tright"},
        {"{\\rtf1 {\\i x}\\par}}}}", "x"},                      // closing braces too many
        {"{\\rtf1\\b unclosed {\\i deeper", "unclosed deeper"}, // and too few
        {"{\\b no header\\par}", "no header"},
        {"\\b ungrouped\\par", "ungrouped"},
        {"{\\rtf1 \\\\par is text}", "\\par is text"},
        {"{\\rtf1 caf\xc3\xa9\\par}", "caf\xc3\xa9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.insert);
        PrintSurface surface;
        surfacetest::useListingFont(surface);
        surface.StartDoc();
        surface.AddParagraph(QStringLiteral("before"));
        surface.setRtfHeader(QString::fromUtf8(c.insert));
        surface.AddParagraph(QStringLiteral("after"));
        surface.EndDoc();
        const QByteArray rtf = rtfOf(surface.document());
        EXPECT_EQ(rtf.count("\\rtf1"), 1);
        // Braces balance and the document's group is the last to close.
        int depth = 0;
        for (qsizetype i = 0; i < rtf.size(); ++i) {
            if (rtf[i] == '\\') {
                ++i;
            } else if (rtf[i] == '{') {
                ++depth;
            } else if (rtf[i] == '}') {
                ASSERT_TRUE(--depth > 0 || i == rtf.size() - 1) << i;
            }
        }
        EXPECT_EQ(depth, 0);
        const RtfDocument document = folionix::readRtf(QString::fromLatin1(rtf));
        ASSERT_EQ(document.paragraphs.size(), 3u) << document.plainText().toStdString();
        EXPECT_EQ(textOf(document.paragraphs[1]), QString::fromUtf8(c.text));
        EXPECT_EQ(textOf(document.paragraphs[2]), QStringLiteral("after"));
        EXPECT_TRUE(document.paragraphs[2].spans[0].format ==
                    format("Courier New", 8, false, false, false, 0));
    }
}

TEST(RtfWrite, FormattingIsWrittenWhenItChanges)
{
    PrintSurface surface;
    surfacetest::useListingFont(surface);
    surface.StartDoc();
    for (int line = 0; line < 100; ++line) {
        surface.AddText(QStringLiteral("Dim"));
        surface.setFontBold(line == 50);
        surface.AddText(QStringLiteral(" x"));
        surface.setFontBold(false);
        surface.AddParagraph(QStringLiteral(" = 1"));
    }
    surface.EndDoc();
    const QByteArray rtf = rtfOf(surface.document());
    EXPECT_EQ(rtf.count("\\fs16"), 1);
    EXPECT_EQ(rtf.count("\\b "), 1);
    EXPECT_EQ(rtf.count("\\b0 "), 1);
    EXPECT_EQ(rtf.count("\\cf"), 1);
    EXPECT_EQ(rtf.count("\\par"), 100 + 1); // the lines and the \pard of the header
    EXPECT_EQ(readBack(surface.document()).paragraphs.size(), 100u);
}

TEST(RtfWrite, PaperAndMarginsFollowTheDocument)
{
    struct Case
    {
        int orientation;
        int marginLeft;
        int marginTop;
        const char* setup;
    };
    const Case cases[] = {
        {0, 1440, 1440, "\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440\\viewkind1"},
        {1, 2000, 720, "\\paperw15840\\paperh12240\\margl2000\\margr2000\\margt720\\margb720\\landscape"},
        {0, 100, 50, "\\paperw12240\\paperh15840\\margl360\\margr360\\margt360\\margb360\\viewkind1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup);
        PrintSurface surface;
        surfacetest::useListingFont(surface);
        surface.setPageOrientation(c.orientation);
        surface.setMarginLeft(c.marginLeft);
        surface.setMarginTop(c.marginTop);
        surface.StartDoc();
        surface.AddParagraph(QStringLiteral("text"));
        surface.EndDoc();
        const QByteArray rtf = rtfOf(surface.document());
        EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"));
        EXPECT_TRUE(rtf.contains(c.setup)) << rtf.toStdString();
        EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}"));
        EXPECT_TRUE(rtf.endsWith("}"));
    }
}

TEST(RtfWrite, ReportsADeviceThatStopsAccepting)
{
    PrintSurface surface;
    for (int i = 0; i < 5000; ++i)
        surface.AddParagraph(QStringLiteral("line %1").arg(i));
    surface.EndDoc();
    for (const qint64 capacity : {qint64(0), qint64(1000), qint64(50000)}) {
        surfacetest::FailingDevice device(capacity);
        device.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_FALSE(folionix::writeRtf(surface.document(), device, &error)) << capacity;
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
