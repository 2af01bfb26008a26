#include "PrintSurface.h"

#include "AppError.h"
#include "DeviceSetup.h"
#include "EventDispatch.h"
#include "FontSetup.h"
#include "PageFrame.h"
#include "PageGeometry.h"
#include "PaperSizes.h"
#include "RtfReader.h"
#include "StyleTable.h"
#include "TextFlow.h"
#include "TextFormat.h"
#include "TextMetrics.h"
#include "Writers.h"

#include <QDir>
#include <QHash>
#include <cmath>

namespace folionix {

namespace {

constexpr int DuplexNotSupported = 7;

// Everything the surface stores for the preview and the export formats but does not act on itself.
struct StoredProperties
{
    bool previewMode = false;
    int previewPage = 1;
    int paperBin = 7; // automatic feed
    int printQuality = -4;
    int duplex = 1;
    int paragraphAlignment = 0;
    WinColor backColor = 0xFFFFFF;
    WinColor emptyColor = 0x80000000u | 12; // application workspace
    double zoom = 100;
    double zoomMin = 10;
    double zoomMax = 400;
    double zoomStep = 10;
    int zoomMode = 0;
    QString exportFile;
    int exportFormat = 0;
    bool exportMode = false;
    int htmlPaging = 0;
    int exportOptions = 0;
    QHash<int, QString> htmlNavigationBar;
    QString rtfHeader;
    QString progressText;
    QString progressCaption;
};

} // namespace

struct PrintSurface::Impl
{
    explicit Impl(QString name)
        : controlName(std::move(name)), styles(
                                            format, [this] { styleApplied(); }, controlName),
          frame(document, metrics)
    {}

    QString controlName;
    EventDispatch events;
    DeviceSetup device;
    PageGeometry geometry;
    TextMetrics metrics;
    TextFormat format;
    StyleTable styles;
    TextFlow flow;
    HeaderFooterFormat headerFooter;
    Document document;
    PageFrame frame;
    FramePen pen;
    WinColor brushColor = 0xFFFFFF;
    StoredProperties stored;
    int documentState = 0;
    int errorCode = 0;
    double measuredHeight = 0;

    // Caches of the hot AddText path, dropped whenever the font, the style or the document changes.
    const FontMetrics* currentMetrics = nullptr;
    int documentFont = -1;
    int documentStyle = -1;
    QHash<qint64, uint32_t> pictureIndex;

    // The export EndDoc sends the finished document to, when one is set.
    void exportDocument()
    {
        if (!stored.exportMode || stored.exportFile.isEmpty() || stored.exportFormat == 99)
            return;
        ExportRequest request;
        request.fileName = stored.exportFile;
        request.format = stored.exportFormat;
        request.paging = stored.htmlPaging != 0;
        request.html.title = QStringLiteral("Folionix");
        request.html.navigationBar[0] = stored.htmlNavigationBar.value(0);
        request.html.navigationBar[1] = stored.htmlNavigationBar.value(1);
        QString error;
        if (!writeExport(document, request, &error))
            throw mendwick::AppError(mendwick::errnum::PathFileAccessError,
                                     QStringLiteral("Cannot write the export file '%1': %2")
                                         .arg(QDir::toNativeSeparators(stored.exportFile), error),
                                     controlName);
    }

    [[noreturn]] void invalidValue() const
    {
        throw mendwick::AppError(mendwick::errnum::InvalidPropertyValue,
                                 QStringLiteral("Invalid property value"), controlName);
    }
    void require(bool ok) const
    {
        if (!ok)
            invalidValue();
    }

    void fontChanged()
    {
        currentMetrics = nullptr;
        documentFont = -1;
        documentStyle = -1;
        styleSlot = nullptr;
    }

    // What a style resolves to, kept per style entry: the engine applies a style for every token.
    struct StyleResolved
    {
        const FontMetrics* metrics = nullptr;
        int documentFont = -1;
        int documentStyle = -1;
        unsigned documentGeneration = 0;
    };
    std::vector<StyleResolved> styleResolved;
    unsigned styleResolvedGeneration = ~0u;
    unsigned documentGeneration = 0;
    StyleResolved* styleSlot = nullptr; // the applied style's entry, while the format is unchanged

    void styleApplied()
    {
        fontChanged();
        if (styleResolvedGeneration != styles.generation()) {
            styleResolved.assign(styles.size(), StyleResolved{});
            styleResolvedGeneration = styles.generation();
        }
        if (styles.lastApplied() >= styleResolved.size())
            return;
        styleSlot = &styleResolved[styles.lastApplied()];
        currentMetrics = styleSlot->metrics;
        if (styleSlot->documentGeneration == documentGeneration) {
            documentFont = styleSlot->documentFont;
            documentStyle = styleSlot->documentStyle;
        }
    }
    void remember()
    {
        if (!styleSlot)
            return;
        styleSlot->metrics = currentMetrics;
        styleSlot->documentFont = documentFont;
        styleSlot->documentStyle = documentStyle;
        styleSlot->documentGeneration = documentGeneration;
    }
    void directFontChange()
    {
        format.styleName.clear();
        fontChanged();
    }
    const FontMetrics& fontMetrics()
    {
        if (!currentMetrics) {
            currentMetrics = &metrics.forFont(format.font);
            remember();
        }
        return *currentMetrics;
    }
    uint16_t fontIndex()
    {
        if (documentFont < 0) {
            documentFont = document.internFont(format.font);
            remember();
        }
        return uint16_t(documentFont);
    }
    uint16_t styleIndex()
    {
        if (documentStyle < 0) {
            documentStyle = document.internStyle(format.styleName);
            remember();
        }
        return uint16_t(documentStyle);
    }

    TextArea textArea() const { return geometry.textArea(); }
    // The current column's edges, asked for on every token: kept until the geometry or column changes.
    mutable unsigned edgesVersion = ~0u;
    mutable int edgesColumn = 0;
    mutable double edgesLeft = 0;
    mutable double edgesRight = 0;
    void refreshEdges() const
    {
        const int column = std::min(flow.column(), geometry.columns());
        if (edgesVersion == geometry.version() && edgesColumn == column)
            return;
        const TextArea area = textArea();
        edgesLeft = area.columnLeft(column);
        edgesRight = area.columnRight(column);
        edgesVersion = geometry.version();
        edgesColumn = column;
    }
    double columnLeft() const
    {
        refreshEdges();
        return edgesLeft;
    }
    double columnRight() const
    {
        refreshEdges();
        return edgesRight;
    }

    void ensureDocument()
    {
        if (documentState == 0)
            startDoc();
    }

    void startDoc()
    {
        document.clear();
        ++documentGeneration;
        fontChanged();
        pictureIndex.clear();
        documentState = 1;
        EventDispatch::BreakScope scope(events);
        beginPage();
    }

    void beginPage()
    {
        document.addPage(float(geometry.pageWidth()), float(geometry.pageHeight()), geometry.scalePercent());
        flow.startColumn(1, textArea().columnLeft(1), geometry.marginTop());
        events.raise(SurfaceEvent::NewPage);
    }

    void finishPage()
    {
        events.raise(SurfaceEvent::EndPage);
        events.raise(SurfaceEvent::BeforeHeader);
        events.raise(SurfaceEvent::BeforeFooter);
        frame.record(document.currentPage(), int(document.pages().size()), geometry, headerFooter, pen);
    }

    void newPage()
    {
        if (events.breaking())
            return;
        if (documentState == 0) {
            startDoc();
            return;
        }
        EventDispatch::BreakScope scope(events);
        if (documentState == 1)
            finishPage();
        documentState = 1; // a page after EndDoc reopens the document
        beginPage();
    }

    void newColumn()
    {
        if (events.breaking())
            return;
        ensureDocument();
        if (flow.column() >= geometry.columns()) {
            newPage();
            return;
        }
        EventDispatch::BreakScope scope(events);
        const int next = flow.column() + 1;
        flow.startColumn(next, textArea().columnLeft(next), geometry.marginTop());
        events.raise(SurfaceEvent::NewColumn);
    }

    void addText(QStringView text)
    {
        if (text.isEmpty())
            return;
        ensureDocument();
        const double lineHeight = fontMetrics().lineHeight();
        if (!events.breaking() && flow.needsBreak(lineHeight, textArea().bottom))
            newColumn();
        // A handler may have changed the font during the break.
        const FontMetrics& metrics = fontMetrics();
        TextRun run;
        run.x = float(flow.x());
        run.y = float(flow.y());
        run.width = float(metrics.advanceSum(text));
        run.height = float(metrics.lineHeight());
        run.textStart = document.appendText(text);
        run.textLength = uint32_t(text.size());
        run.seq = document.nextSeq();
        run.font = fontIndex();
        run.style = styleIndex();
        run.color = format.color;
        run.column = uint8_t(flow.column());
        run.lineStart = flow.placeRun(run.width, run.height);
        document.currentPage().runs.push_back(run);
    }

    void endLine()
    {
        ensureDocument();
        const bool blank = !flow.lineHasRun();
        const double x = flow.x();
        const double y = flow.y();
        const double height = fontMetrics().lineHeight();
        // Blank lines that fall below the text area vanish with the break the next text causes.
        if (flow.endLine(height, columnLeft() + flow.indentLeft()) && blank &&
            y + height <= textArea().bottom)
            recordBlankLine(x, y, height);
    }

    void recordBlankLine(double x, double y, double height)
    {
        TextRun run;
        run.x = float(x);
        run.y = float(y);
        run.height = float(height);
        run.textStart = uint32_t(document.text().size());
        run.seq = document.nextSeq();
        run.font = fontIndex();
        run.style = styleIndex();
        run.color = format.color;
        run.column = uint8_t(flow.column());
        run.lineStart = true;
        document.currentPage().runs.push_back(run);
    }

    Shape& addShape(Shape::Kind kind, double x1, double y1, double x2, double y2)
    {
        ensureDocument();
        Shape& shape = document.addShape(document.currentPage(), kind, x1, y1, x2, y2, pen.width, pen.color);
        shape.brushColor = brushColor;
        return shape;
    }

    uint32_t pictureFor(const QImage& image)
    {
        // The same picture drawn on every page (a watermark, a logo) is stored once.
        const auto it = pictureIndex.constFind(image.cacheKey());
        if (it != pictureIndex.constEnd())
            return *it;
        const uint32_t index = document.addPicture(image);
        pictureIndex.insert(image.cacheKey(), index);
        return index;
    }
};

PrintSurface::PrintSurface(QString controlName) : d(std::make_unique<Impl>(std::move(controlName)))
{
    // Measuring before the substitutions exist would cache the wrong faces; registering is idempotent.
    registerFontSubstitutions();
}

PrintSurface::~PrintSurface() = default;

const QString& PrintSurface::controlName() const
{
    return d->controlName;
}

void PrintSurface::setEvents(SurfaceEvents* events)
{
    d->events.setHandler(events);
}

// Document

void PrintSurface::StartDoc()
{
    if (d->events.breaking())
        return;
    d->startDoc();
}

void PrintSurface::EndDoc()
{
    if (d->documentState != 1 || d->events.breaking())
        return;
    {
        EventDispatch::BreakScope scope(d->events);
        d->finishPage();
        d->documentState = 2;
    }
    d->exportDocument();
}

void PrintSurface::NewPage()
{
    d->newPage();
}

void PrintSurface::NewColumn()
{
    d->newColumn();
}

int PrintSurface::DocumentState() const
{
    return d->documentState;
}

bool PrintSurface::PreviewMode() const
{
    return d->stored.previewMode;
}

void PrintSurface::setPreviewMode(bool on)
{
    d->stored.previewMode = on;
}

const Document& PrintSurface::document() const
{
    return d->document;
}

// Counters

int PrintSurface::PageCount() const
{
    return int(d->document.pages().size());
}

int PrintSurface::CurrentPage() const
{
    return int(d->document.pages().size());
}

int PrintSurface::CurrentColumn() const
{
    return d->flow.column();
}

int PrintSurface::LineOnPage() const
{
    return d->flow.lineOnPage();
}

bool PrintSurface::AtColumnTop() const
{
    return d->flow.atColumnTop();
}

void PrintSurface::setLineOnPage(int line)
{
    d->flow.setLineOnPage(line);
}

int PrintSurface::PreviewPage() const
{
    return d->stored.previewPage;
}

void PrintSurface::setPreviewPage(int page)
{
    d->stored.previewPage = page;
}

// Set-up

QString PrintSurface::Device() const
{
    return d->device.current();
}

void PrintSurface::setDevice(const QString& name)
{
    d->require(d->device.select(name));
}

int PrintSurface::DeviceCount() const
{
    return int(d->device.names().size());
}

QString PrintSurface::DeviceName(int index) const
{
    const QStringList names = d->device.names();
    d->require(index >= 0 && index < names.size());
    return names[index];
}

int PrintSurface::PaperSize() const
{
    return d->geometry.paperCode();
}

void PrintSurface::setPaperSize(int code)
{
    d->require(IsPaperSizeSupported(code));
    if (const PaperSizeInfo* info = paperSizeInfo(code))
        d->geometry.setPaper(code, info->widthTwips, info->heightTwips);
    else
        d->geometry.setPaperCode(code);
}

bool PrintSurface::IsPaperSizeSupported(int code) const
{
    const DeviceCapabilities& caps = d->device.capabilities();
    if (code == CustomPaperCode)
        return caps.customPaper;
    return code >= FirstPaperCode && code <= LastPaperCode && caps.papers[size_t(code)];
}

int PrintSurface::PaperBin() const
{
    return d->stored.paperBin;
}

void PrintSurface::setPaperBin(int code)
{
    d->stored.paperBin = code;
}

bool PrintSurface::IsPaperBinSupported(int code) const
{
    return code >= 0 && code < int(d->device.capabilities().bins.size()) &&
           d->device.capabilities().bins[size_t(code)];
}

int PrintSurface::PageOrientation() const
{
    return d->geometry.orientation();
}

void PrintSurface::setPageOrientation(int orientation)
{
    d->require(d->geometry.setOrientation(orientation));
}

int PrintSurface::Duplex() const
{
    return d->stored.duplex;
}

void PrintSurface::setDuplex(int duplex)
{
    const DeviceCapabilities& caps = d->device.capabilities();
    if (duplex < 1 || duplex > 3 || !caps.duplex[size_t(duplex)]) {
        // Reported, not thrown: a printer without duplex still prints the job one-sided.
        d->errorCode = DuplexNotSupported;
        d->events.raise(SurfaceEvent::Error);
        return;
    }
    d->errorCode = 0;
    d->stored.duplex = duplex;
}

int PrintSurface::PrintQuality() const
{
    return d->stored.printQuality;
}

void PrintSurface::setPrintQuality(int quality)
{
    d->stored.printQuality = quality;
}

int PrintSurface::Columns() const
{
    return d->geometry.columns();
}

void PrintSurface::setColumns(int columns)
{
    d->require(d->geometry.setColumns(columns));
}

int PrintSurface::ColumnSpacing() const
{
    return d->geometry.columnSpacing();
}

void PrintSurface::setColumnSpacing(int twips)
{
    d->require(d->geometry.setColumnSpacing(twips));
}

int PrintSurface::MarginLeft() const
{
    return d->geometry.marginLeft();
}

void PrintSurface::setMarginLeft(int twips)
{
    d->require(d->geometry.setMarginLeft(twips));
}

int PrintSurface::MarginTop() const
{
    return d->geometry.marginTop();
}

void PrintSurface::setMarginTop(int twips)
{
    d->require(d->geometry.setMarginTop(twips));
}

int PrintSurface::MarginRight() const
{
    return d->geometry.marginRight();
}

void PrintSurface::setMarginRight(int twips)
{
    d->require(d->geometry.setMarginRight(twips));
}

int PrintSurface::MarginBottom() const
{
    return d->geometry.marginBottom();
}

void PrintSurface::setMarginBottom(int twips)
{
    d->require(d->geometry.setMarginBottom(twips));
}

int PrintSurface::ScaleOutput() const
{
    return d->geometry.scalePercent();
}

void PrintSurface::setScaleOutput(int percent)
{
    d->geometry.setScalePercent(percent);
}

int PrintSurface::LineSpacing() const
{
    return d->flow.lineSpacing();
}

void PrintSurface::setLineSpacing(int percent)
{
    d->require(d->flow.setLineSpacing(percent));
}

int PrintSurface::PageBorder() const
{
    return d->geometry.pageBorder();
}

void PrintSurface::setPageBorder(int style)
{
    d->require(d->geometry.setPageBorder(style));
}

int PrintSurface::IndentLeft() const
{
    return d->flow.indentLeft();
}

void PrintSurface::setIndentLeft(int twips)
{
    d->flow.setIndentLeft(twips);
}

int PrintSurface::SpaceAfter() const
{
    return d->flow.spaceAfter();
}

void PrintSurface::setSpaceAfter(int twips)
{
    d->flow.setSpaceAfter(twips);
}

WinColor PrintSurface::BackColor() const
{
    return d->stored.backColor;
}

void PrintSurface::setBackColor(WinColor color)
{
    d->stored.backColor = color;
}

WinColor PrintSurface::EmptyColor() const
{
    return d->stored.emptyColor;
}

void PrintSurface::setEmptyColor(WinColor color)
{
    d->stored.emptyColor = color;
}

int PrintSurface::PageWidth() const
{
    return d->geometry.pageWidth();
}

int PrintSurface::PageHeight() const
{
    return d->geometry.pageHeight();
}

// Position and measuring

double PrintSurface::CurrentX() const
{
    return d->flow.x();
}

void PrintSurface::setCurrentX(double x)
{
    d->flow.setX(x);
}

double PrintSurface::CurrentY() const
{
    return d->flow.y();
}

void PrintSurface::setCurrentY(double y)
{
    d->flow.setY(y);
}

void PrintSurface::RefreshTextArea()
{
    // The text area is computed from the set-up on every read, so there is nothing to refresh.
}

double PrintSurface::TextAreaLeft() const
{
    return d->columnLeft();
}

double PrintSurface::TextAreaRight() const
{
    return d->columnRight();
}

double PrintSurface::TextAreaTop() const
{
    return d->textArea().top;
}

double PrintSurface::TextAreaBottom() const
{
    return d->textArea().bottom;
}

double PrintSurface::TextWidth(const QString& text) const
{
    return d->fontMetrics().width(text);
}

double PrintSurface::TextHeight(const QString& text) const
{
    return d->fontMetrics().lineHeight() * FontMetrics::lineCount(text);
}

void PrintSurface::setMeasureLineText(const QString& /*text*/)
{
    // One line is as tall as the font's line, whatever it holds.
    d->measuredHeight = d->fontMetrics().lineHeight();
}

void PrintSurface::setMeasureParagraphText(const QString& text)
{
    const double width = d->columnRight() - d->columnLeft();
    d->measuredHeight = d->fontMetrics().lineHeight() * d->fontMetrics().wrappedLineCount(text, width);
}

double PrintSurface::MeasuredTextHeight() const
{
    return d->measuredHeight;
}

// Text

void PrintSurface::AddParagraph(const QString& text)
{
    d->addText(text);
    d->endLine();
}

void PrintSurface::AddText(const QString& text)
{
    d->addText(text);
}

void PrintSurface::DrawTextBox(const QString& text, double left, double top, double width, double height,
                               bool wrap)
{
    d->ensureDocument();
    TextBox box;
    box.left = float(left);
    box.top = float(top);
    box.width = float(width);
    box.height = float(height);
    box.textStart = d->document.appendText(text);
    box.textLength = uint32_t(text.size());
    box.font = d->fontIndex();
    box.color = d->format.color;
    box.wrap = wrap;
    box.seq = d->document.nextSeq();
    d->document.currentPage().textBoxes.push_back(box);
}

int PrintSurface::ParagraphAlignment() const
{
    return d->stored.paragraphAlignment;
}

void PrintSurface::setParagraphAlignment(int alignment)
{
    d->stored.paragraphAlignment = alignment;
}

QString PrintSurface::FontName() const
{
    return d->format.font.family;
}

void PrintSurface::setFontName(const QString& name)
{
    d->require(!name.trimmed().isEmpty());
    d->format.font.family = name;
    d->directFontChange();
}

double PrintSurface::FontSize() const
{
    return d->format.font.pointSize;
}

void PrintSurface::setFontSize(double points)
{
    d->require(points > 0 && std::isfinite(points));
    d->format.font.pointSize = points;
    d->directFontChange();
}

bool PrintSurface::FontBold() const
{
    return d->format.font.bold;
}

void PrintSurface::setFontBold(bool on)
{
    d->format.font.bold = on;
    d->directFontChange();
}

bool PrintSurface::FontItalic() const
{
    return d->format.font.italic;
}

void PrintSurface::setFontItalic(bool on)
{
    d->format.font.italic = on;
    d->directFontChange();
}

bool PrintSurface::FontUnderline() const
{
    return d->format.font.underline;
}

void PrintSurface::setFontUnderline(bool on)
{
    d->format.font.underline = on;
    d->directFontChange();
}

WinColor PrintSurface::TextColor() const
{
    return d->format.color;
}

void PrintSurface::setTextColor(WinColor color)
{
    d->format.color = color;
    d->directFontChange();
}

Styles& PrintSurface::styles()
{
    return d->styles;
}

PrintSurface::FontState PrintSurface::SaveFont() const
{
    const TextFormat& f = d->format;
    return FontState{f.font.family,    f.font.pointSize, f.font.bold, f.font.italic,
                     f.font.underline, f.color,          f.styleName};
}

void PrintSurface::RestoreFont(const FontState& state)
{
    d->require(!state.name.trimmed().isEmpty() && state.size > 0 && std::isfinite(state.size));
    d->format.font = FontKey{state.name, state.size, state.bold, state.italic, state.underline};
    d->format.color = state.color;
    d->format.styleName = state.style;
    d->fontChanged();
}

// Drawing

int PrintSurface::PenWidth() const
{
    return d->pen.width;
}

void PrintSurface::setPenWidth(int twips)
{
    d->require(twips >= 0);
    d->pen.width = twips;
}

WinColor PrintSurface::PenColor() const
{
    return d->pen.color;
}

void PrintSurface::setPenColor(WinColor color)
{
    d->pen.color = color;
}

WinColor PrintSurface::BrushColor() const
{
    return d->brushColor;
}

void PrintSurface::setBrushColor(WinColor color)
{
    d->brushColor = color;
}

void PrintSurface::AddRtfText(const QString& rtf)
{
    renderRtf(*this, readRtf(rtf));
}

void PrintSurface::DrawLine(double x1, double y1, double x2, double y2)
{
    d->addShape(Shape::Kind::Line, x1, y1, x2, y2);
}

void PrintSurface::DrawRoundedBox(double x1, double y1, double x2, double y2, double rx, double ry)
{
    Shape& shape = d->addShape(Shape::Kind::RoundedBox, x1, y1, x2, y2);
    shape.rx = float(rx);
    shape.ry = float(ry);
    shape.filled = true;
}

QSizeF PictureTwips(const QImage& picture)
{
    const double dpiX = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() * 0.0254 : 96.0;
    const double dpiY = picture.dotsPerMeterY() > 0 ? picture.dotsPerMeterY() * 0.0254 : 96.0;
    return QSizeF(picture.width() * 1440.0 / dpiX, picture.height() * 1440.0 / dpiY);
}

void PrintSurface::DrawPicture(const QImage& picture, double x, double y, double width, double height)
{
    d->ensureDocument();
    // Without a size of its own the picture keeps its physical size.
    const QSizeF natural = PictureTwips(picture);
    PlacedPicture placed;
    placed.x = float(x);
    placed.y = float(y);
    placed.width = float(width >= 0 ? width : natural.width());
    placed.height = float(height >= 0 ? height : natural.height());
    placed.picture = d->pictureFor(picture);
    placed.seq = d->document.nextSeq();
    placed.role = d->events.breaking() ? ItemRole::Furniture : ItemRole::Body;
    placed.column = uint8_t(std::clamp(d->flow.column(), 1, 255));
    d->document.currentPage().pictures.push_back(placed);
}

void PrintSurface::DrawPicture(const QImage& picture, double x, double y, double width, double height,
                               int mode)
{
    if (mode < 0 || mode > 2 || picture.isNull()) {
        DrawPicture(picture, x, y, width, height);
        return;
    }
    // In a band of the given width: the picture at its own size (shrunk to fit the band, keeping its
    // proportions), aligned left, centred or right.
    const QSizeF natural = PictureTwips(picture);
    double w = natural.width();
    double h = height >= 0 ? height : natural.height();
    if (natural.height() > 0)
        w *= h / natural.height();
    if (width >= 0 && w > width && w > 0) {
        h *= width / w;
        w = width;
    }
    const double band = width >= 0 ? width : w;
    const double left = mode == 0 ? x : mode == 1 ? x + (band - w) / 2 : x + band - w;
    DrawPicture(picture, left, y, w, h);
}

// Header and footer

QString PrintSurface::HeaderText() const
{
    return d->headerFooter.header;
}

void PrintSurface::setHeaderText(const QString& text)
{
    d->headerFooter.header = text;
}

QString PrintSurface::FooterText() const
{
    return d->headerFooter.footer;
}

void PrintSurface::setFooterText(const QString& text)
{
    d->headerFooter.footer = text;
}

QString PrintSurface::HeaderFontName() const
{
    return d->headerFooter.font.family;
}

void PrintSurface::setHeaderFontName(const QString& name)
{
    d->require(!name.trimmed().isEmpty());
    d->headerFooter.font.family = name;
}

double PrintSurface::HeaderFontSize() const
{
    return d->headerFooter.font.pointSize;
}

void PrintSurface::setHeaderFontSize(double points)
{
    d->require(points > 0 && std::isfinite(points));
    d->headerFooter.font.pointSize = points;
}

bool PrintSurface::HeaderFontBold() const
{
    return d->headerFooter.font.bold;
}

void PrintSurface::setHeaderFontBold(bool on)
{
    d->headerFooter.font.bold = on;
}

bool PrintSurface::HeaderFontItalic() const
{
    return d->headerFooter.font.italic;
}

void PrintSurface::setHeaderFontItalic(bool on)
{
    d->headerFooter.font.italic = on;
}

bool PrintSurface::HeaderFontUnderline() const
{
    return d->headerFooter.font.underline;
}

void PrintSurface::setHeaderFontUnderline(bool on)
{
    d->headerFooter.font.underline = on;
}

WinColor PrintSurface::HeaderColor() const
{
    return d->headerFooter.color;
}

void PrintSurface::setHeaderColor(WinColor color)
{
    d->headerFooter.color = color;
}

bool PrintSurface::HeaderFlag() const
{
    return d->headerFooter.flag;
}

void PrintSurface::setHeaderFlag(bool on)
{
    d->headerFooter.flag = on;
}

// Preview

double PrintSurface::Zoom() const
{
    return d->stored.zoom;
}

void PrintSurface::setZoom(double percent)
{
    d->stored.zoom = percent;
}

double PrintSurface::ZoomMin() const
{
    return d->stored.zoomMin;
}

void PrintSurface::setZoomMin(double percent)
{
    d->stored.zoomMin = percent;
}

double PrintSurface::ZoomMax() const
{
    return d->stored.zoomMax;
}

void PrintSurface::setZoomMax(double percent)
{
    d->stored.zoomMax = percent;
}

double PrintSurface::ZoomStep() const
{
    return d->stored.zoomStep;
}

void PrintSurface::setZoomStep(double percent)
{
    d->stored.zoomStep = percent;
}

int PrintSurface::ZoomMode() const
{
    return d->stored.zoomMode;
}

void PrintSurface::setZoomMode(int mode)
{
    d->stored.zoomMode = mode;
}

// Export properties

QString PrintSurface::ExportFile() const
{
    return d->stored.exportFile;
}

void PrintSurface::setExportFile(const QString& file)
{
    d->stored.exportFile = file;
}

int PrintSurface::ExportFormat() const
{
    return d->stored.exportFormat;
}

void PrintSurface::setExportFormat(int format)
{
    d->stored.exportFormat = format;
}

bool PrintSurface::ExportMode() const
{
    return d->stored.exportMode;
}

void PrintSurface::setExportMode(bool on)
{
    d->stored.exportMode = on;
}

int PrintSurface::HtmlPaging() const
{
    return d->stored.htmlPaging;
}

void PrintSurface::setHtmlPaging(int paging)
{
    d->stored.htmlPaging = paging;
}

int PrintSurface::ExportOptions() const
{
    return d->stored.exportOptions;
}

void PrintSurface::setExportOptions(int options)
{
    d->stored.exportOptions = options;
}

QString PrintSurface::HtmlNavigationBar(int index) const
{
    return d->stored.htmlNavigationBar.value(index);
}

void PrintSurface::setHtmlNavigationBar(int index, const QString& html)
{
    d->stored.htmlNavigationBar.insert(index, html);
}

QString PrintSurface::RtfHeader() const
{
    return d->stored.rtfHeader;
}

void PrintSurface::setRtfHeader(const QString& rtf)
{
    d->stored.rtfHeader = rtf;
    // The RTF export takes the text at this point of the flow.
    if (d->documentState != 1 || rtf.isEmpty())
        return;
    RtfInsert insert;
    insert.textLength = uint32_t(rtf.size());
    insert.textStart = d->document.appendText(rtf);
    insert.seq = d->document.nextSeq();
    insert.column = uint8_t(std::clamp(d->flow.column(), 1, 255));
    d->document.currentPage().rtfInserts.push_back(insert);
}

QString PrintSurface::ProgressText() const
{
    return d->stored.progressText;
}

void PrintSurface::setProgressText(const QString& text)
{
    d->stored.progressText = text;
}

QString PrintSurface::ProgressCaption() const
{
    return d->stored.progressCaption;
}

void PrintSurface::setProgressCaption(const QString& text)
{
    d->stored.progressCaption = text;
}

int PrintSurface::ErrorCode() const
{
    return d->errorCode;
}

} // namespace folionix
