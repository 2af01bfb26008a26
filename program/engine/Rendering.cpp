#include "CodeProcessor.h"
#include "PrinterSetup.h"

#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>

#include <cmath>

namespace folionix {

namespace {

const QString kContinuationMark = QStringLiteral("\u00BB");

// Extent of the text unit (one code point) that starts at i.
qsizetype unitLength(QStringView text, qsizetype i)
{
    return (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
}

} // namespace

void clsCodeProcessor::OutputLineNumber()
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "OutputLineNumber");
    mendwick::Guard(trace, [&] {
        PrintSurface& s = Surface();
        const clsOptions& o = Options();
        g_lLineNumberWidth = 0;
        s.styles().Apply(tokenclass::LineNumbers);
        QString prefix;
        if (o.LineNumbersRequired) {
            s.setMeasureLineText(QStringLiteral("Tg"));
            if (s.CurrentY() + s.MeasuredTextHeight() > s.PageHeight() - s.MarginBottom()) {
                if (s.Columns() < 2) {
                    s.NewPage();
                    s.setCurrentX(s.MarginLeft());
                } else {
                    s.NewColumn();
                }
            }
            g_lLineNumberWidth = s.TextWidth(QStringLiteral("999999999"));
            const int32_t step = o.LineNumberStep == 0 ? 1 : o.LineNumberStep;
            if (g_lLineNumber % step == 0)
                prefix = QString::number(g_lLineNumber).rightJustified(5, u'0');
            else
                prefix = QStringLiteral("     ");
        }
        if (o.JScriptOptions.PrintScriptIndicator || o.VBScriptOptions.PrintScriptIndicator)
            prefix += QLatin1String("  ");
        if (!(g_bLineEmpty && g_iCurrentLanguage == LangHTML && g_lLineNumber != 1)) {
            g_bLineEmpty = true;
            s.AddParagraph(QString());
            const QString gutter = u' ' + prefix;
            s.AddText(gutter);
            g_lLineNumberWidth = s.TextWidth(gutter + QLatin1String("  "));
        }
        ++g_lLineNumber;
    });
}

void clsCodeProcessor::OutputLineBreaks(int32_t count)
{
    for (int32_t i = 0; i < count && !g_bLineEmpty; ++i)
        OutputLineNumber();
}

void clsCodeProcessor::beginContinuationLine()
{
    PrintSurface& s = Surface();
    s.AddParagraph(QString());
    s.RefreshTextArea();
    const double mark = s.TextWidth(kContinuationMark);
    s.setCurrentX(s.TextAreaLeft() + g_lLineNumberWidth - 2 * mark);
    const PrintSurface::FontState saved = s.SaveFont();
    s.setFontName(QStringLiteral("Times New Roman"));
    s.setFontSize(8);
    s.setTextColor(0);
    s.AddText(kContinuationMark);
    s.RestoreFont(saved);
    s.setCurrentX(s.CurrentX() + s.TextWidth(kContinuationMark));
}

void clsCodeProcessor::DrawText(const QString& text)
{
    if (text.isEmpty())
        return;
    mendwick::ErrorTrace trace("clsCodeProcessor", "DrawText");
    mendwick::Guard(trace, [&] {
        DrawScriptIndicator();
        if (g_bCancelled)
            return;
        PrintSurface& s = Surface();
        s.RefreshTextArea();
        const double left = s.TextAreaLeft();
        const double right = s.TextAreaRight();
        const double width = s.TextWidth(text);
        const double room = right - s.CurrentX();
        const double lineWidth = (right - left) - g_lLineNumberWidth;
        if (width <= room) {
            s.AddText(text);
        } else if (width < lineWidth) {
            beginContinuationLine();
            s.AddText(text);
        } else {
            drawWrapped(text);
        }
        g_bLineEmpty = false;
    });
}

// A text wider than a whole line, printed as if character by character: every character goes on
// the current line while it fits, otherwise on a continuation line. Characters that share a line are
// added as one run, which gives the same page with far fewer runs for very long lines.
void clsCodeProcessor::drawWrapped(const QString& text)
{
    PrintSurface& s = Surface();
    const QStringView all(text);
    qsizetype chunkStart = 0;
    double chunkWidth = 0;
    auto flush = [&](qsizetype end) {
        if (end > chunkStart) {
            DrawScriptIndicator();
            s.AddText(text.mid(chunkStart, end - chunkStart));
        }
        chunkStart = end;
        chunkWidth = 0;
    };
    for (qsizetype i = 0; i < all.size();) {
        if (g_bCancelled)
            return;
        const qsizetype n = unitLength(all, i);
        const double w = s.TextWidth(QString::fromRawData(all.data() + i, n));
        s.RefreshTextArea();
        const double room = s.TextAreaRight() - (s.CurrentX() + chunkWidth);
        if (w > room) {
            flush(i);
            const double lineWidth = (s.TextAreaRight() - s.TextAreaLeft()) - g_lLineNumberWidth;
            if (w < lineWidth || s.CurrentX() > s.TextAreaLeft() + g_lLineNumberWidth) {
                beginContinuationLine();
            }
            if (w >= lineWidth) {
                // A single character wider than a whole line stands alone on its line.
                chunkWidth = w;
                i += n;
                flush(i);
                continue;
            }
        }
        chunkWidth += w;
        i += n;
    }
    flush(all.size());
}

void clsCodeProcessor::SetFonts(const QString& tokenClass, bool procedureHeader)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "SetFonts");
    mendwick::Quietly([&] {
        PrintSurface& s = Surface();
        if (!procedureHeader) {
            s.styles().Apply(tokenClass);
            return;
        }
        s.styles().Apply(tokenclass::ProcedureHeaders);
        s.setTextColor(Options().ColorMode == 2 ? WinColor(Options().Font(tokenClass).Color) : 0);
    });
}

void DefineTokenStyles()
{
    for (const QString& tokenClass : TokenClassStyleOrder())
        mendwick::Quietly([&] { DefineTokenStyle(tokenClass); });
}

void clsCodeProcessor::DrawScriptIndicator()
{
    if (g_iCurrentLanguage != LangJScript && g_iCurrentLanguage != LangVBScript)
        return;
    PrintSurface& s = Surface();
    if (g_lIndicatorLine == s.LineOnPage() && m_indicatorPage == s.CurrentPage() &&
        m_indicatorColumn == s.CurrentColumn())
        return;
    const clsOptions& o = Options();
    const double x0 = s.CurrentX();
    const double h = std::round(s.TextHeight(QStringLiteral("X")));
    const double w = std::round(s.TextWidth(QStringLiteral("X")));
    s.RefreshTextArea();
    s.setCurrentX(s.TextAreaLeft());
    g_lIndicatorLine = s.LineOnPage();
    m_indicatorPage = s.CurrentPage();
    m_indicatorColumn = s.CurrentColumn();

    QString letter;
    const bool jscript = g_iCurrentLanguage == LangJScript;
    const clsLanguageOptions& lang = jscript ? o.JScriptOptions : o.VBScriptOptions;
    if (lang.PrintScriptIndicator && !(jscript && InStyleSheet)) {
        const bool colour = o.ColorMode == 2;
        s.setPenColor(colour ? WinColor(lang.ScriptTagsBorderColor) : 0);
        s.setBrushColor(colour ? WinColor(lang.ScriptTagsFillColor) : 0xFFFFFF);
        const double x = s.CurrentX();
        const double y = s.CurrentY();
        s.DrawRoundedBox(x - 20, y + h / 8, x + w + 10, y + h - 10, 20, 20);
        letter = jscript ? QStringLiteral("J") : QStringLiteral("V");
    }
    if (!letter.isEmpty()) {
        const PrintSurface::FontState saved = s.SaveFont();
        const clsFont& numbers = o.Font(tokenclass::LineNumbers);
        s.setFontName(numbers.Name);
        s.setFontSize(numbers.Size);
        s.setFontBold(numbers.Bold);
        s.setFontItalic(numbers.Italic);
        s.setTextColor(WinColor(numbers.Color));
        s.AddText(letter);
        s.RestoreFont(saved);
    }
    s.setCurrentX(x0);
}

void clsCodeProcessor::DrawDelimiterBox(const QString& token, int32_t penColor, int32_t brushColor)
{
    PrintSurface& s = Surface();
    const double h = std::round(s.TextHeight(token));
    const double w = std::round(s.TextWidth(token));
    s.setPenColor(WinColor(penColor));
    s.setBrushColor(WinColor(brushColor));
    const double x = s.CurrentX();
    const double y = s.CurrentY();
    s.DrawRoundedBox(x - 20, y + h / 8, x + w + 10, y + h - 10, 20, 20);
}

void clsCodeProcessor::drawIndent(int32_t tabSize)
{
    const int64_t spaces = int64_t(tabSize) * g_iIndentLevel;
    if (spaces > 0)
        DrawText(QString(qsizetype(spaces), u' '));
}

void clsCodeProcessor::IndentHTML()
{
    drawIndent(Options().HTMLOptions.TabSize);
}

void clsCodeProcessor::IndentJScript()
{
    drawIndent(Options().JScriptOptions.TabSize);
}

void clsCodeProcessor::IndentVBScript()
{
    drawIndent(Options().VBScriptOptions.TabSize);
}

QString clsCodeProcessor::NextToken(const TokenList& tokens, int& cursor)
{
    ++cursor;
    return cursor >= 0 && cursor < tokens.size() ? tokens.at(cursor) : QStringLiteral("\r");
}

QString clsCodeProcessor::PeekToken(const TokenList& tokens, int cursor)
{
    const int next = cursor + 1;
    return next >= 0 && next < tokens.size() ? tokens.at(next) : QStringLiteral("\r");
}

} // namespace folionix
