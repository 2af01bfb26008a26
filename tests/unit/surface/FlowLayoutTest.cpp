#include "FlowLayout.h"
#include "SurfaceTestSupport.h"
#include "TestSupport.h"

#include <QImage>

using namespace folionix;

namespace {

// Writes the flow as text: "|" between lines, "#c" at each column, "[page n]", "<pic>", "<rtf:…>".
class FlowRecorder : public FlowVisitor
{
public:
    QString out;
    void beginPage(int index, const Page&) override { out += QStringLiteral("[page %1]").arg(index + 1); }
    void beginColumn(int column) override { out += QStringLiteral("#%1").arg(column); }
    void lineBreak() override { out += u'|'; }
    void text(const TextRun&, QStringView text, int leadingSpaces) override
    {
        out += QString(leadingSpaces, u' ');
        out += text;
    }
    void picture(const PlacedPicture&, const QImage& image) override
    {
        out += QStringLiteral("<pic %1x%2>").arg(image.width()).arg(image.height());
    }
    void rtfInsert(QStringView rtf) override
    {
        out += QStringLiteral("<rtf:");
        out += rtf;
        out += u'>';
    }
};

QString flowOf(const Document& document)
{
    FlowRecorder recorder;
    walkFlow(document, recorder);
    return recorder.out;
}

class FlowLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        surfacetest::useListingFont(surface);
        surface.setHeaderText(QStringLiteral("Head|Centre|Right"));
        surface.setFooterText(QStringLiteral("Foot"));
        surface.setPageBorder(7);
    }
    // One character of the listing font.
    static constexpr double Char = 96;
    PrintSurface surface;
};

TEST_F(FlowLayoutTest, LinesGapsAndBlankLinesWithoutFurniture)
{
    surface.StartDoc();
    const double left = surface.CurrentX();
    surface.AddText(QStringLiteral("Dim"));
    surface.AddText(QStringLiteral(" x"));
    surface.setCurrentX(left + 10 * Char); // a gap of five characters
    surface.AddText(QStringLiteral("' note"));
    surface.AddParagraph(QString());
    surface.AddParagraph(QString());      // a blank line
    surface.setCurrentX(left + 4 * Char); // indented by position only
    surface.AddText(QStringLiteral("End"));
    surface.EndDoc();
    EXPECT_EQ(flowOf(surface.document()), QStringLiteral("[page 1]#1Dim x     ' note||    End"));
}

TEST_F(FlowLayoutTest, RunDrawnOverAnotherTakesItsPlace)
{
    surface.StartDoc();
    const double left = surface.CurrentX();
    surface.AddText(QStringLiteral(" 00002  "));
    surface.AddText(QStringLiteral("<%"));
    const double afterCode = surface.CurrentX();
    surface.setCurrentX(left); // the script indicator over the gutter's first blank
    surface.AddText(QStringLiteral("V"));
    surface.setCurrentX(afterCode);
    surface.AddText(QStringLiteral(" x"));
    // Drawn in the middle of an earlier run: that run is split around it.
    surface.setCurrentX(left + 3 * Char);
    surface.AddText(QStringLiteral("#"));
    surface.EndDoc();
    EXPECT_EQ(flowOf(surface.document()), QStringLiteral("[page 1]#1V00#02  <% x"));
    EXPECT_EQ(surfacetest::plainText(surface.document()).split(u'\n').value(1),
              QStringLiteral("V00#02  <% x"));
}

TEST_F(FlowLayoutTest, ColumnsPagesPicturesAndRtfPiecesInOrder)
{
    surface.setColumns(2);
    surface.StartDoc();
    surface.AddParagraph(QStringLiteral("one"));
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    surface.DrawPicture(image, surface.CurrentX(), surface.CurrentY());
    surface.setRtfHeader(QStringLiteral("{\\b head}"));
    surface.AddParagraph(QStringLiteral("two"));
    surface.NewColumn();
    surface.AddParagraph(QStringLiteral("three"));
    surface.NewPage();
    surface.AddText(QStringLiteral("four"));
    surface.EndDoc();
    EXPECT_EQ(flowOf(surface.document()),
              QStringLiteral("[page 1]#1one|<pic 4x2><rtf:{\\b head}>two#2three[page 2]#1four"));
}

TEST_F(FlowLayoutTest, PicturesOfPageHandlersAreNotPartOfTheFlow)
{
    struct Watermark : SurfaceEvents
    {
        PrintSurface* surface = nullptr;
        QImage image{2, 2, QImage::Format_RGB32};
        void NewPage() override { surface->DrawPicture(image, 100, 100); }
    } watermark;
    watermark.surface = &surface;
    watermark.image.fill(Qt::gray);
    surface.setEvents(&watermark);
    surface.StartDoc();
    surface.AddText(QStringLiteral("body"));
    surface.EndDoc();
    surface.setEvents(nullptr);
    ASSERT_EQ(surface.document().pages()[0].pictures.size(), 1u);
    EXPECT_EQ(surface.document().pages()[0].pictures[0].role, ItemRole::Furniture);
    EXPECT_EQ(flowOf(surface.document()), QStringLiteral("[page 1]#1body"));
}

} // namespace
