// JScript statements printed with the file's own indentation: tokens in their classes, keywords as
// written, comments kept on their lines, script delimiters framed.
#include "CodeProcessor.h"
#include "Scanning.h"
#include "StringFunctions.h"

#include <ErrorTrace.h>
#include <Options.h>

namespace folionix {

namespace {

const QString kCR = QStringLiteral("\r");

bool isScriptDelimiter(const QString& token)
{
    for (const char16_t* d : {u"%>", u"<%", u"<Script", u"<Script>", u"</Script>"})
        if (token.compare(QStringView(d), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

void clsCodeProcessor::drawJScriptDelimiterBox(const QString& token)
{
    const clsLanguageOptions& js = Options().JScriptOptions;
    const bool colour = Options().ColorMode == 2;
    DrawDelimiterBox(token, colour ? js.ScriptTagsBorderColor : 0,
                     colour ? js.ScriptTagsFillColor : 0xFFFFFF);
}

void clsCodeProcessor::OutputJScriptStatement(const TokenList& tokens)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "OutputJScriptStatement");
    mendwick::Guard(trace, [&] {
        if (g_bCancelled)
            return;
        const clsLanguageOptions& js = Options().JScriptOptions;
        QString joined;
        for (const QString& t : tokens)
            joined += t;
        joined = joined.trimmed();
        if (m_host && m_sinceYield.isValid() && m_sinceYield.elapsed() >= 30)
            m_host->displayStatus(joined);

        qsizetype i = 0;
        const auto firstPrintable = [&] {
            qsizetype k = 0;
            while (k < tokens.size() && tokens.at(k) != kCR && QStringView(tokens.at(k)).trimmed().isEmpty())
                ++k;
            return k;
        };
        if (StartsWith(joined, u"</Script>")) {
            PopElementIndent(QStringLiteral("script"));
            IndentJScript();
            i = firstPrintable();
        } else if (StartsWith(joined, u"<Script")) {
            PushElementIndent(QStringLiteral("script"));
            IndentJScript();
            ++g_iIndentLevel;
            i = firstPrintable();
        }

        for (; i < tokens.size() && !g_bCancelled; ++i) {
            const QString& t = tokens.at(i);
            const QChar first = t.isEmpty() ? QChar() : t.at(0);
            if (t == kCR) {
                OutputLineNumber();
                return;
            }
            if (t == u"<!--") {
                SetFonts(tokenclass::Comments);
                DrawText(t);
                for (++i; i < tokens.size() && tokens.at(i) != u"-->" && tokens.at(i) != kCR; ++i) {
                    const auto pieces = QStringView(tokens.at(i)).split(u'\r');
                    for (qsizetype p = 0; p < pieces.size(); ++p) {
                        SetFonts(tokenclass::Comments);
                        DrawText(pieces[p].toString());
                        if (p + 1 < pieces.size()) {
                            OutputLineNumber();
                            IndentJScript();
                        }
                    }
                }
                if (i >= tokens.size())
                    return;
                if (tokens.at(i) == kCR) {
                    OutputLineNumber();
                    return;
                }
                SetFonts(tokenclass::Comments);
                DrawText(tokens.at(i));
            } else if (first == u'<') {
                if (js.HighlightScriptTags && isScriptDelimiter(t)) {
                    drawJScriptDelimiterBox(t);
                    DrawScriptIndicator();
                }
                SetFonts(tokenclass::Identifiers);
                DrawText(t);
            } else if (t.startsWith(u"/*")) {
                const auto pieces = QStringView(t).split(u'\r');
                for (const QStringView piece : pieces) {
                    SetFonts(tokenclass::Comments);
                    DrawText(piece.toString());
                    OutputLineNumber();
                }
            } else if (t.startsWith(u"//")) {
                printWordByWord(t, tokenclass::Comments, false);
            } else if (first == u'"' || first == u'\'') {
                printWordByWord(t, tokenclass::Strings, false);
            } else if (t == u"/") {
                SetFonts(tokenclass::Text);
                DrawText(t);
            } else if (scan::isAsciiDigit(first)) {
                SetFonts(tokenclass::Constants);
                DrawText(t);
            } else if (first == u' ') {
                SetFonts(tokenclass::Identifiers);
                DrawText(t);
            } else if (first.isLetter()) {
                if (JScriptKeywords().contains(t))
                    SetFonts(tokenclass::Keywords);
                else
                    SetFonts(tokenclass::Identifiers);
                DrawText(t);
            } else if (t == u"#") {
                DrawText(t);
            } else {
                SetFonts(tokenclass::Identifiers);
                // The closing delimiter is framed like the opening one, in the same colours.
                if (js.HighlightScriptTags && isScriptDelimiter(t))
                    drawJScriptDelimiterBox(t);
                DrawText(t);
            }
            YieldToUi();
        }
    });
}

} // namespace folionix
