#pragma once

#include "Document.h"

#include <QImage>
#include <QSizeF>
#include <QString>
#include <memory>

namespace folionix {

class PageGeometry;
class TextFlow;
class StyleTable;
class TextMetrics;

// A picture's own size in twips, from its stored resolution (96 dpi when it has none).
QSizeF PictureTwips(const QImage& picture);

// Page events, raised synchronously; handlers may call back into the surface.
class SurfaceEvents
{
public:
    virtual ~SurfaceEvents() = default;
    virtual void NewPage() {}      // a page has begun (also the first one, at StartDoc)
    virtual void EndPage() {}      // the current page is about to be finished
    virtual void NewColumn() {}    // the flow has moved to the next column of the page
    virtual void BeforeHeader() {} // header and footer are about to be drawn on the finished page
    virtual void BeforeFooter() {}
    virtual void Error() {} // ErrorCode holds the error
};

// Named print styles: font and colour remembered under a name.
class Styles
{
public:
    virtual ~Styles() = default;
    virtual void Clear() = 0;
    // Remembers the surface's current font and colour under name (flags: 1 = font and colour).
    virtual void Add(const QString& name, int flags) = 0;
    // Makes the named style current; an unknown name raises an error and changes nothing.
    virtual void Apply(const QString& name) = 0;
    virtual bool Contains(const QString& name) const = 0;
};

// The print-document surface: page set-up, text flow, styles, drawing, header and footer, counters and
// events over one recorded Document. Units are twips. Failing operations raise mendwick::AppError.
class PrintSurface
{
public:
    explicit PrintSurface(QString controlName = QStringLiteral("vsPrinter"));
    ~PrintSurface();
    PrintSurface(const PrintSurface&) = delete;
    PrintSurface& operator=(const PrintSurface&) = delete;

    // "Vp" marks a preference dialog's sample surface.
    const QString& controlName() const;
    void setEvents(SurfaceEvents* events);

    // Document
    void StartDoc();
    void EndDoc();
    void NewPage();
    void NewColumn();
    int DocumentState() const; // 0 empty, 1 being built, 2 finished
    bool PreviewMode() const;
    void setPreviewMode(bool on);
    const Document& document() const;

    // Counters
    int PageCount() const;
    int CurrentPage() const;
    int CurrentColumn() const;
    int LineOnPage() const;
    void setLineOnPage(int line);
    // Nothing has been added to the flow since the current page or column began.
    bool AtColumnTop() const;
    int PreviewPage() const;
    void setPreviewPage(int page);

    // Set-up
    QString Device() const;
    void setDevice(const QString& name); // "" selects the default device; unknown names raise an error
    int DeviceCount() const;
    QString DeviceName(int index) const;
    int PaperSize() const;
    void setPaperSize(int code); // Windows paper size code; an unsupported code raises an error
    bool IsPaperSizeSupported(int code) const;
    int PaperBin() const;
    void setPaperBin(int code);
    bool IsPaperBinSupported(int code) const;
    int PageOrientation() const;
    void setPageOrientation(int orientation); // 0 portrait, 1 landscape
    int Duplex() const;
    void setDuplex(int duplex); // unsupported: ErrorCode 7, value unchanged
    int PrintQuality() const;
    void setPrintQuality(int quality);
    int Columns() const;
    void setColumns(int columns);
    int ColumnSpacing() const;
    void setColumnSpacing(int twips);
    int MarginLeft() const;
    void setMarginLeft(int twips);
    int MarginTop() const;
    void setMarginTop(int twips);
    int MarginRight() const;
    void setMarginRight(int twips);
    int MarginBottom() const;
    void setMarginBottom(int twips);
    int ScaleOutput() const;
    void setScaleOutput(int percent); // 0 or less prints unscaled
    int LineSpacing() const;
    void setLineSpacing(int percent);
    int PageBorder() const;
    void setPageBorder(int style); // 0 None … 7 All
    int IndentLeft() const;
    void setIndentLeft(int twips);
    int SpaceAfter() const;
    void setSpaceAfter(int twips);
    WinColor BackColor() const;
    void setBackColor(WinColor color);
    WinColor EmptyColor() const;
    void setEmptyColor(WinColor color);
    int PageWidth() const; // logical twips: the paper at the orientation, divided by the output scale
    int PageHeight() const;

    // Position and measuring
    double CurrentX() const;
    void setCurrentX(double x);
    double CurrentY() const;
    void setCurrentY(double y);
    void RefreshTextArea();
    double TextAreaLeft() const;
    double TextAreaRight() const;
    double TextAreaTop() const;
    double TextAreaBottom() const;
    double TextWidth(const QString& text) const;  // current font; widest line of a multi-line text
    double TextHeight(const QString& text) const; // current font; all lines
    void setMeasureLineText(const QString& text);
    void setMeasureParagraphText(const QString& text); // wrapped to the current column
    double MeasuredTextHeight() const;

    // Text
    void AddParagraph(const QString& text); // text, then a line end; "" only ends the line
    void AddText(const QString& text);      // at the current position; advances CurrentX
    void DrawTextBox(const QString& text, double left, double top, double width, double height, bool wrap);
    // Renders RTF (fonts, sizes, bold, italic, underline, colours, paragraphs, tabs) at the current
    // position in the flow.
    void AddRtfText(const QString& rtf);
    int ParagraphAlignment() const;
    void setParagraphAlignment(int alignment);
    QString FontName() const;
    void setFontName(const QString& name);
    double FontSize() const;
    void setFontSize(double points);
    bool FontBold() const;
    void setFontBold(bool on);
    bool FontItalic() const;
    void setFontItalic(bool on);
    bool FontUnderline() const;
    void setFontUnderline(bool on);
    WinColor TextColor() const;
    void setTextColor(WinColor color);
    Styles& styles();
    // The current font, colour and style name, to put back exactly after a one-character detour
    // (continuation marks, script indicators).
    struct FontState
    {
        QString name;
        double size = 8;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        WinColor color = 0;
        QString style;
    };
    FontState SaveFont() const;
    void RestoreFont(const FontState& state);

    // Drawing
    int PenWidth() const;
    void setPenWidth(int twips);
    WinColor PenColor() const;
    void setPenColor(WinColor color);
    WinColor BrushColor() const;
    void setBrushColor(WinColor color);
    void DrawLine(double x1, double y1, double x2, double y2);
    void DrawRoundedBox(double x1, double y1, double x2, double y2, double rx, double ry);
    // width/height below 0: the picture's own size in twips (at its stored resolution, else 96 dpi)
    void DrawPicture(const QImage& picture, double x, double y, double width = -1, double height = -1);
    // mode 0, 1, 2: the picture at its own proportions in a band of width from x, aligned left, centred
    // or right (shrunk to the band when wider); other modes stretch it to width and height.
    void DrawPicture(const QImage& picture, double x, double y, double width, double height, int mode);

    // Header and footer: "left|centre|right", "%d" is the page number; drawn on every page in the
    // top and bottom margins when the page is finished.
    QString HeaderText() const;
    void setHeaderText(const QString& text);
    QString FooterText() const;
    void setFooterText(const QString& text);
    QString HeaderFontName() const;
    void setHeaderFontName(const QString& name);
    double HeaderFontSize() const;
    void setHeaderFontSize(double points);
    bool HeaderFontBold() const;
    void setHeaderFontBold(bool on);
    bool HeaderFontItalic() const;
    void setHeaderFontItalic(bool on);
    bool HeaderFontUnderline() const;
    void setHeaderFontUnderline(bool on);
    WinColor HeaderColor() const;
    void setHeaderColor(WinColor color);
    bool HeaderFlag() const;
    void setHeaderFlag(bool on);

    // Preview
    double Zoom() const;
    void setZoom(double percent);
    double ZoomMin() const;
    void setZoomMin(double percent);
    double ZoomMax() const;
    void setZoomMax(double percent);
    double ZoomStep() const;
    void setZoomStep(double percent);
    int ZoomMode() const;
    void setZoomMode(int mode);

    // Export: with ExportMode on and an ExportFile, EndDoc writes the document to that file in
    // ExportFormat: 4 RTF, 0 and 1 plain HTML (paged when HtmlPaging is on), 2 and 3 paged HTML,
    // 99 nothing (PDF is converted afterwards), any other plain text. A failed write raises an error.
    QString ExportFile() const;
    void setExportFile(const QString& file);
    int ExportFormat() const;
    void setExportFormat(int format);
    bool ExportMode() const;
    void setExportMode(bool on);
    int HtmlPaging() const;
    void setHtmlPaging(int paging);
    int ExportOptions() const;
    void setExportOptions(int options);
    QString HtmlNavigationBar(int index) const;
    void setHtmlNavigationBar(int index, const QString& html);
    QString RtfHeader() const;
    // While a document is being built the text is also kept at this point of the flow: the RTF export
    // writes it there.
    void setRtfHeader(const QString& rtf);
    QString ProgressText() const;
    void setProgressText(const QString& text);
    QString ProgressCaption() const;
    void setProgressCaption(const QString& text);

    int ErrorCode() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace folionix
