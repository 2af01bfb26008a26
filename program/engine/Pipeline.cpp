#include "CodeProcessor.h"
#include "PrinterSetup.h"
#include "RegExp.h"
#include "SourceReader.h"

#include <DrawConnections.h>
#include <IndentVBScript.h>

#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>
#include <Writers.h>

#include <memory>

using mendwick::AppError;
using mendwick::ErrorTrace;

namespace folionix {

namespace {

// The error a print-document engine raises for a cancelled job; it is never reported.
constexpr int32_t kCancelledJobError = -2147220991;

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\';
}

// The file name with extension, without its folder (either separator).
QString fileNamePart(const QString& path)
{
    qsizetype i = path.size();
    while (i > 0 && !isSeparator(path.at(i - 1)))
        --i;
    return path.mid(i);
}

// The extension with its dot, or "".
QString extensionOf(const QString& path)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

// Every CR LF and lone LF becomes CR, every TAB one space: one pass, one allocation.
QString normaliseLineEnds(const QString& text)
{
    QString out;
    out.resize(text.size());
    QChar* o = out.data();
    const QChar* p = text.constData();
    const QChar* end = p + text.size();
    while (p < end) {
        const char16_t c = p->unicode();
        if (c == u'\r') {
            *o++ = u'\r';
            if (p + 1 < end && p[1] == u'\n')
                ++p;
        } else if (c == u'\n') {
            *o++ = u'\r';
        } else if (c == u'\t') {
            *o++ = u' ';
        } else {
            *o++ = *p;
        }
        ++p;
    }
    out.truncate(o - out.constData());
    return out;
}

// Owns the shared pattern matcher for the length of one file.
struct RegExpScope
{
    std::unique_ptr<RegExp> object = std::make_unique<RegExp>();
    RegExpScope() { g_objRegExp = object.get(); }
    ~RegExpScope() { g_objRegExp = nullptr; }
};

} // namespace

QString FullFileName(const QString& folder, const QString& fileName)
{
    if (folder.isEmpty())
        return fileName;
    return isSeparator(folder.back()) ? folder + fileName : folder + u'/' + fileName;
}

clsCodeProcessor& CodeProcessor()
{
    static clsCodeProcessor processor;
    return processor;
}

EngineHost& clsCodeProcessor::requireHost() const
{
    if (!m_host)
        throw AppError(mendwick::errnum::InternalError, QStringLiteral("The engine has no host"),
                       QStringLiteral("clsCodeProcessor"));
    return *m_host;
}

void clsCodeProcessor::YieldToUi()
{
    // Reading the clock costs more than a token; a few dozen tokens take far less than 30 ms.
    if ((++m_yieldCalls & 63) != 0)
        return;
    if (!m_sinceYield.isValid()) {
        m_sinceYield.start();
        return;
    }
    if (m_sinceYield.elapsed() < 30)
        return;
    reportFileProgress(true);
    if (m_host)
        m_host->processEvents();
    m_sinceYield.restart();
}

void clsCodeProcessor::reportFileProgress(bool force)
{
    if (!m_host || g_bSamplePreview || !force)
        return;
    m_host->progressChanged(ProgressBarId::File, m_file);
}

void clsCodeProcessor::ProcessFiles(const std::vector<FileListItem>& items, bool preview)
{
    ErrorTrace trace("clsCodeProcessor", "ProcessFiles");
    const RunMode mode = !g_sExportFile.isEmpty() ? RunMode::Export
                         : preview                ? RunMode::Preview
                                                  : RunMode::Print;
    try {
        startRun(mode, items);
    } catch (...) {
        mendwick::LoadCaught(mendwick::Err(), std::current_exception());
        if (mendwick::Err().Number != kCancelledJobError)
            trace.ShowError(2);
        mendwick::Err().Clear();
    }
    // The run is finished the same way after a failure, so that the pages made so far are kept,
    // converted and shown, and the windows and flags return to rest.
    finishRun(mode);
}

// The bar at the top of each page of a paged HTML export: links to the first and previous page, the
// page number and count, links to the next and last page.
const QString kHtmlNavigationBar = QStringLiteral(
    "<p style=\"background-color:#000099\";>\n"
    "<font face=Wingdings size=2 color=#99CCFF><b> <a%s style=\"color:#99CCFF\">\u00E7\u00E7</a> <a%s "
    "style=\"color:#99CCFF\">\u00E7</a> </b></font>\n"
    "<font face=Tahoma size=2 color=#99CCFF>|<b>&nbsp;&nbsp;&nbsp;&nbsp;Page %d of "
    "%d&nbsp;&nbsp;&nbsp;&nbsp;</b>|</font>\n"
    "<font face=Wingdings size=2 color=#99CCFF><b> <a%s style=\"color:#99CCFF\">\u00E8</a> <a%s "
    "style=\"color:#99CCFF\">\u00E8\u00E8</a> </b></font>\n"
    "</p>\n");

void clsCodeProcessor::startRun(RunMode mode, const std::vector<FileListItem>& items)
{
    EngineHost& host = requireHost();
    g_bCancelled = false;
    g_bProcessing = true;
    g_iDocumentSection = SectionListing;
    PrintSurface& surface = host.previewSurface();
    switch (mode) {
    case RunMode::Export:
        surface.setProgressText(QStringLiteral("Now Exporting Page %d to ") + g_sExportFile);
        surface.setExportFile(g_sExportFile);
        // PDF is converted from the finished document; the surface itself then writes nothing.
        surface.setExportFormat(Options().ExportFormat);
        surface.setHtmlPaging(0);
        if (Options().ExportFormat == 2 || Options().ExportFormat == 3) {
            surface.setHtmlPaging(1);
            surface.setExportOptions(7);
            surface.setHtmlNavigationBar(0, kHtmlNavigationBar);
            surface.setHtmlNavigationBar(1, QStringLiteral("<br><br>") + surface.HtmlNavigationBar(0));
        }
        surface.setExportMode(true);
        surface.setPreviewMode(true);
        break;
    case RunMode::Preview:
        surface.setPreviewMode(true);
        break;
    case RunMode::Print:
        surface.setProgressText(QStringLiteral("Now Printing Page %d"));
        surface.setProgressCaption(QStringLiteral("Folionix - Printing"));
        surface.setPreviewMode(false);
        break;
    }
    host.beginRun(mode);

    InitialisePrinter(surface);
    surface.StartDoc();
    host.prepareNewPage();
    PrintCverSheet();
    g_iDocumentSection = SectionListing;

    qint64 ticked = 0;
    for (const FileListItem& item : items)
        ticked += item.Checked ? 1 : 0;
    m_site.prepare(ticked);
    host.progressChanged(ProgressBarId::Site, m_site);
    if (g_bCancelled)
        return;
    qint64 ordinal = 0;
    for (const FileListItem& item : items) {
        if (!item.Checked)
            continue;
        ProcessFile(FullFileName(item.Tag, item.Text));
        if (m_site.advance(++ordinal))
            host.progressChanged(ProgressBarId::Site, m_site);
        if (g_bCancelled)
            break;
    }
}

void clsCodeProcessor::finishRun(RunMode mode)
{
    ErrorTrace trace("clsCodeProcessor", "ProcessFiles");
    EngineHost* host = m_host;
    PrintSurface* surface = host ? &host->previewSurface() : nullptr;
    mendwick::Guard(trace, [&] {
        m_site.hide();
        if (host)
            host->progressChanged(ProgressBarId::Site, m_site);
    });
    // Ending the document also writes an RTF or HTML export; when that fails the report says why and
    // no half-written file is opened afterwards.
    const bool ended = mendwick::Guard(trace, [&] {
        if (surface && surface->DocumentState() == 1)
            surface->EndDoc();
    });
    if (!ended)
        g_sExportFile.clear();
    const bool exporting = mode == RunMode::Export;
    if (surface) {
        surface->setExportMode(false);
        surface->setExportFile(QString());
    }
    g_bProcessing = false;
    if (host)
        host->endRun();
    if (!surface)
        return;

    mendwick::Guard(trace, [&] {
        if (mode == RunMode::Print && surface->PageCount() > 0)
            host->printDocument(*surface);
        bool written = exporting && ended && Options().ExportFormat != 99;
        if (!g_sExportFile.isEmpty() && Options().ExportFormat == 99 && surface->PageCount() > 0) {
            QString error;
            written = host->convertToPdf(*surface, g_sExportFile, &error);
            if (!written) {
                host->messageBox(
                    QStringLiteral("Failure to convert output to PDF. \rError = '") + error +
                    QStringLiteral("'.\r\r File name = ' ") + g_sExportFile +
                    QStringLiteral("'\r\rPlease make sure that the file is not currently open."));
                g_sExportFile.clear();
            }
        }
        if (exporting)
            host->exportFinished(written);
        if (Options().ViewExportedFile && !g_sExportFile.trimmed().isEmpty())
            host->viewExportedFile(g_sExportFile);
    });
    g_sExportFile.clear();
    g_bCancelled = false;
}

void clsCodeProcessor::ProcessFile(const QString& fileName)
{
    ErrorTrace trace("clsCodeProcessor", "ProcessFile");
    EngineHost* host = m_host;
    std::unique_ptr<RegExpScope> regExp;
    try {
        trace.Stage("Creating VBScript.RegExp object");
        regExp = std::make_unique<RegExpScope>();
        trace.Stage("Unstack connections");
        DrawConnectionsInstance().UnstackAll();
        trace.Stage("Clear g_colElementIndents");
        g_colElementIndents.clear();
        trace.Stage("Parse filename '", fileName, "'");
        const QString name = fileNamePart(fileName);
        if (!g_bSamplePreview && host) {
            trace.Stage("DisplayProgressStatus");
            host->setFileLabel(name);
            host->processEvents();
        }
        trace.Stage("Reset VBScript indenting");
        ::folionix::IndentVBScript().Reset();
        g_lLineNumber = 1;
        g_iIndentLevel = 0;
        g_lIndicatorLine = 0;
        m_indicatorPage = 0;
        m_indicatorColumn = 0;
        trace.Stage("Initialise g_objRegExp");
        g_objRegExp->setGlobal(false);
        g_objRegExp->setIgnoreCase(true);

        trace.Stage("Processing file '", fileName, "'");
        g_sCurrentFile = fileName;
        if (!g_bSamplePreview) {
            requireHost().prepareNewPage();
            if (Options().bmPrintLocation == 0) {
                trace.Stage("Output bitmap file '", fileName, "'");
                PrintFormBitmap(fileName);
            }
        }
        g_bLineEmpty = true;
        g_iCurrentLanguage = LangHTML;
        g_iScriptSide = 1;
        g_aDefaultLanguage = {Options().ServerSideScriptingLanguage, Options().ClientSideScriptingLanguage};
        g_bServerLanguageSet = false;
        g_bClientLanguageSet = false;
        DefineTokenStyles();

        trace.Stage("Open File '", fileName, "'");
        SourceText source = readSourceFile(fileName, Options().SourceEncoding);
        if (!source.ok)
            throw AppError(mendwick::errnum::FileNotFound, source.error, QStringLiteral("clsCodeProcessor"));
        trace.Stage("File read ok. Close it");
        trace.Stage("File size in bytes = ", qint64(source.text.size()));

        trace.Stage("Make sure that we have a new page in the preview");
        StartNewPageOrColumn(true);
        trace.Stage("ExportHeader");
        ExportHeader(Surface(), fileName);

        SourceBuffer buffer(normaliseLineEnds(source.text));
        source.text.clear();
        if (!g_bSamplePreview && host) {
            m_file.prepare(buffer.totalLength());
            host->progressChanged(ProgressBarId::File, m_file);
            host->displayStatus(QStringLiteral("Generating output.."));
        }

        trace.Stage("Output a line number");
        OutputLineNumber();

        const bool styleSheet = extensionOf(fileName).compare(u".css", Qt::CaseInsensitive) == 0;
        while (!buffer.isEmpty()) {
            if (!g_bSamplePreview)
                m_file.advance(buffer.position() + 1);
            buffer.skipWhitespace();
            if (buffer.isEmpty())
                break;
            trace.Stage("Processing buffer '", buffer.rest().left(50).toString(), " ...'");
            const qsizetype before = buffer.position();
            if (styleSheet)
                ParseStyleSheet(buffer);
            else
                ParseNext(buffer);
            // A region parser that stopped on an error without consuming anything must not stall the file.
            if (buffer.position() == before && !g_bCancelled)
                buffer.consume(1);
            if (g_bCancelled)
                break;
            YieldToUi();
        }

        trace.Stage("File processed ok");
        if (Options().bmPrintLocation == 1) {
            StartNewPageOrColumn(false);
            PrintFormBitmap(fileName);
        }
        if (!g_bSamplePreview && host) {
            m_file.hide();
            host->progressChanged(ProgressBarId::File, m_file);
            host->displayStatus(QStringLiteral(" "));
        }
    } catch (...) {
        mendwick::LoadCaught(mendwick::Err(), std::current_exception());
        trace.ShowError(2);
        mendwick::Err().Clear();
        if (!g_bSamplePreview && host) {
            m_file.hide();
            host->progressChanged(ProgressBarId::File, m_file);
            host->displayStatus(QStringLiteral(" "));
        }
    }
}

QString clsCodeProcessor::TrimLeadingWhitespace(const QString& text)
{
    return text.mid(leadingWhitespaceLength(text));
}

void clsCodeProcessor::StartNewPageOrColumn(bool forceNewPage)
{
    mendwick::Quietly([&] {
        PrintSurface& s = Surface();
        // Line counts alone miss a page whose only line is still open.
        if (s.LineOnPage() < 2 && s.CurrentColumn() < 2 && s.AtColumnTop())
            return;
        s.setLineOnPage(1);
        if (!forceNewPage && s.CurrentColumn() < s.Columns() && s.Columns() > 1)
            s.NewColumn();
        else
            s.NewPage();
    });
}

void ProgressBarState::prepare(qint64 steps)
{
    minimum = 1;
    maximum = std::max<qint64>(steps + 1, 2);
    value = 1;
    visible = true;
}

bool ProgressBarState::advance(qint64 to)
{
    if (to >= maximum || to == value)
        return false;
    value = to;
    return true;
}

bool EngineHost::convertToPdf(PrintSurface& surface, const QString& fileName, QString* error)
{
    return writePdf(surface.document(), fileName, error);
}

PrintSurface& Surface()
{
    if (!g_vsPrinter)
        throw AppError(91, QStringLiteral("Object variable or With block variable not set"),
                       QStringLiteral("clsCodeProcessor"));
    return *g_vsPrinter;
}

void ResetEngineState()
{
    g_vsPrinter = nullptr;
    g_objRegExp = nullptr;
    g_colElementIndents.clear();
    g_bCancelled = false;
    g_bSamplePreview = false;
    g_bProcessing = false;
    g_iDocumentSection = SectionListing;
    g_iCurrentLanguage = LangHTML;
    g_iScriptSide = 1;
    g_aDefaultLanguage = {2, 1};
    g_bServerLanguageSet = false;
    g_bClientLanguageSet = false;
    g_sExportFile.clear();
    g_sCurrentFile.clear();
    g_lLineNumber = 1;
    g_lIndicatorLine = 0;
    g_bLineEmpty = true;
    g_lLineNumberWidth = 0;
    g_iIndentLevel = 0;
    CodeProcessor().InStyleSheet = false;
    CodeProcessor().StatementCount = 0;
}

} // namespace folionix
