// What a run adds besides the listings: the cover sheet before the first file, a picture per source
// file, and the page-header line an RTF export writes at the start of each file.
#include "CodeProcessor.h"
#include "EngineState.h"
#include "HeaderCodes.h"
#include "SourceReader.h"

#include <AppError.h>
#include <CommonRoutines.h>
#include <CurrentSurface.h>
#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>
#include <PrinterSetup.h>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>
#include <QRegularExpression>

namespace folionix {

using mendwick::AppError;
using mendwick::ErrorTrace;

namespace {

// A time format of the locale without its time-zone part ("t", "tt", "ttt", "tttt").
QString withoutTimeZone(QString format)
{
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    format.remove(zone);
    return format.trimmed();
}

bool endsWithIgnoringCase(const QString& text, QLatin1StringView suffix)
{
    return text.endsWith(suffix, Qt::CaseInsensitive);
}

// Escapes text for the body of an RTF group: "\", "{" and "}" get a backslash, characters outside
// ASCII become \uN? (both halves of a surrogate pair), control characters become their visible
// control pictures.
QString escapeRtfText(QStringView text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += c;
        } else if (u < 0x20 || u >= 0x80) {
            const char16_t shown = u < 0x20 ? char16_t(0x2400 + u) : u;
            out += QStringLiteral("\\u%1?").arg(int(int16_t(shown)));
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString CoverSheetText(const QString& text, const QDateTime& now)
{
    const QLocale locale = QLocale::system();
    const QString longTime =
        locale.toString(now.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    const QString shortDate = locale.toString(now.date(), QLocale::ShortFormat);
    const QString general = shortDate + u' ' + longTime;
    QString result = text;
    result.replace(QStringLiteral("<GeneralDate>"), general, Qt::CaseInsensitive);
    result.replace(QStringLiteral("<LongDate>"), locale.toString(now.date(), QLocale::LongFormat),
                   Qt::CaseInsensitive);
    result.replace(QStringLiteral("<ShortDate>"), shortDate, Qt::CaseInsensitive);
    result.replace(QStringLiteral("<LongTime>"), longTime, Qt::CaseInsensitive);
    result.replace(QStringLiteral("<ShortTime>"), locale.toString(now.time(), QLocale::ShortFormat),
                   Qt::CaseInsensitive);
    result.replace(QStringLiteral("<Today>"), general, Qt::CaseInsensitive);
    ReplaceEnvironmentVariables(result);
    return result;
}

QString RtfPictureParagraph(const QImage& picture, int indentLeft, int alignment, double widthTwips,
                            double heightTwips)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    static const char* const kAlign[] = {"\\ql", "\\qc", "\\qr"};
    QByteArray rtf = "{\\pard\\li" + QByteArray::number(indentLeft) +
                     (alignment >= 0 && alignment <= 2 ? kAlign[alignment] : "\\ql") +
                     "{\\pict\\pngblip\\picw" + QByteArray::number(picture.width()) + "\\pich" +
                     QByteArray::number(picture.height()) + "\\picwgoal" +
                     QByteArray::number(qRound(widthTwips)) + "\\pichgoal" +
                     QByteArray::number(qRound(heightTwips)) + "\n";
    const QByteArray hex = png.toHex();
    rtf.reserve(rtf.size() + hex.size() + hex.size() / 128 + 16);
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        rtf += hex.mid(i, 128);
        rtf += '\n';
    }
    rtf += "}\\par}";
    return QString::fromLatin1(rtf);
}

void clsCodeProcessor::PrintCverSheet()
{
    ErrorTrace trace("clsCodeProcessor", "PrintCverSheet");
    const QString coverFile = Options().CoverSheetFileName.trimmed();
    if (coverFile.isEmpty())
        return;
    try {
        PrintSurface& s = Surface();
        const int columns = s.Columns();
        const int border = s.PageBorder();
        s.setPageBorder(0);
        s.setColumns(1);
        DefineTokenStyles();
        g_iDocumentSection = SectionCoverSheet;
        StartNewPageOrColumn(false);
        s.setHeaderText(QString());
        s.setFooterText(QString());
        SetPrintFont(QStringLiteral("Courier New"), 11, 0xFF0000, true, false, false);

        QString text;
        static const QRegularExpression web(QStringLiteral("^http:"),
                                            QRegularExpression::CaseInsensitiveOption);
        if (!web.match(coverFile).hasMatch()) {
            SourceText source = readSourceFile(coverFile, Options().SourceEncoding);
            if (source.ok) {
                text = CoverSheetText(source.text, QDateTime::currentDateTime());
            } else if (m_host) {
                m_host->messageBox(QStringLiteral("Failure to render the Coversheet file. Error = %1 - %2")
                                       .arg(mendwick::errnum::FileNotFound)
                                       .arg(source.error));
            }
        }
        if (endsWithIgnoringCase(coverFile, QLatin1StringView(".rtf"))) {
            s.AddRtfText(text);
        } else if (endsWithIgnoringCase(coverFile, QLatin1StringView(".txt")) && !text.isEmpty()) {
            // Lines end in CR LF, CR or LF: a cover sheet written on any system keeps its lines.
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text.replace(u'\r', u'\n');
            if (text.endsWith(u'\n'))
                text.chop(1);
            for (const QStringView line : QStringView(text).split(u'\n'))
                s.AddParagraph(line.toString());
        }
        s.setColumns(columns);
        DefineTokenStyles();
        s.NewPage();
        // The page handler chose the border of the listing's first page as it began; the border
        // remembered above is the cover's own none and must not take that away.
        if (border != 0)
            s.setPageBorder(border);
    } catch (...) {
        mendwick::LoadCaught(mendwick::Err(), std::current_exception());
        trace.ShowError(2);
        mendwick::Err().Clear();
    }
}

QString FormBitmapFile(const QString& sourceFile)
{
    const QString name = GetPathPart(sourceFile, PathBaseName);
    const QString directory = Options().bmDirectory.trimmed();
    const QString folder = directory.isEmpty() ? GetPathPart(sourceFile, PathFolder) : directory;
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
        .filePath(name + u'.' + Options().bmFileExtension);
}

void clsCodeProcessor::PrintFormBitmap(const QString& fileName)
{
    if (!Options().bmIncludeFormBitmaps)
        return;
    const QString picture = FormBitmapFile(fileName);
    if (!FileExists(picture))
        return;
    DefineTokenStyles();
    PrintBitmapFile(picture);
    StartNewPageOrColumn(false);
}

void clsCodeProcessor::PrintBitmapFile(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        throw AppError(481, QStringLiteral("Invalid picture: '%1' (%2)").arg(path, reader.errorString()),
                       QStringLiteral("clsCodeProcessor"));
    PrintSurface& s = Surface();
    const QSizeF size = PictureTwips(picture);
    const double width = size.width();
    const double height = size.height();
    const int alignment = Options().bmAlignment;

    if (!g_sExportFile.isEmpty() && Options().ExportFormat == 4) {
        // The picture enters the RTF file here, embedded as PNG.
        s.setRtfHeader(RtfPictureParagraph(picture, s.IndentLeft(), alignment, width, height));
        return;
    }
    s.RefreshTextArea();
    // A picture taller than the column is shrunk to it, keeping its proportions, so that it stays on
    // the paper.
    double h = height;
    const double room = s.TextAreaBottom() - s.TextAreaTop();
    if (room > 0 && h > room)
        h = room;
    if (alignment >= 0 && alignment <= 2)
        s.DrawPicture(picture, s.TextAreaLeft(), s.CurrentY(), s.TextAreaRight() - s.TextAreaLeft(), h,
                      alignment);
    s.setCurrentY(s.CurrentY() + h);
}

QString RtfHeaderLine(const QString& headerText, int currentPage)
{
    QString text = escapeRtfText(headerText);
    static const QRegularExpression page(QStringLiteral("%d"), QRegularExpression::CaseInsensitiveOption);
    text.replace(page, QStringLiteral("{\\field{\\*\\fldinst PAGE}{\\fldrslt %1}}").arg(currentPage));
    const QStringList pieces = text.split(u'|');
    QString line = QStringLiteral("{\\rtf1\\viewkind4\\uc1\\pard\\lang2057\\b\\f0\\fs17 {{left}} \\tab "
                                  "{{center}} \\tab {{right}}\\par }");
    line.replace(QStringLiteral("{{left}}"), pieces.value(0));
    if (pieces.size() > 1)
        line.replace(QStringLiteral("{{center}}"), pieces.at(1));
    if (pieces.size() > 2)
        line.replace(QStringLiteral("{{right}}"), pieces.at(2));
    line.remove(QStringLiteral("{{center}}"));
    line.remove(QStringLiteral("{{right}}"));
    return line;
}

void clsCodeProcessor::ExportHeader(PrintSurface& surface, const QString& /*fileName*/)
{
    if (surface.ExportFile().isEmpty() || surface.ExportFormat() != 4)
        return;
    const QString text = GetHeaderText();
    if (text.isEmpty())
        return;
    surface.setRtfHeader(RtfHeaderLine(text, std::max(1, surface.CurrentPage())));
}

} // namespace folionix
