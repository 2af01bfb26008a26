// VBScript statements printed: indentation from the re-indenter, labels at the line start, tokens in
// their classes, keywords formatted, script delimiters framed, procedure headers in their own font,
// and the block connections driven.
#include "CodeProcessor.h"
#include "Scanning.h"
#include "StringFunctions.h"

#include <DrawConnections.h>
#include <ErrorTrace.h>
#include <IndentVBScript.h>
#include <Options.h>
#include <PrintSurface.h>

namespace folionix {

namespace {

const QString kCR = QStringLiteral("\r");

QString joinedText(const TokenList& tokens, qsizetype from = 0)
{
    QString text;
    for (qsizetype i = from; i < tokens.size(); ++i)
        text += tokens.at(i);
    text.remove(u'\r');
    return text.trimmed();
}

// The statement begins with one of the procedure-header words and a blank.
bool isProcedureHeader(const QString& text)
{
    for (const char16_t* start : {u"private function ", u"function ", u"private sub ", u"sub ",
                                  u"private property ", u"public property ", u"friend ", u"public function "})
        if (StartsWith(text, QStringView(start)))
            return true;
    return false;
}

bool isProcedureEnd(const QString& text)
{
    QString t = text;
    t.replace(u'\r', u' ');
    t = t.trimmed();
    for (const char16_t* end : {u"end function", u"end sub", u"end property"}) {
        const QStringView e(end);
        if (StartsWith(t, e) && (t.size() == e.size() || t.at(e.size()) == u' '))
            return true;
    }
    return false;
}

bool isRemToken(const QString& token)
{
    return StartsWith(QStringView(token).mid(leadingWhitespaceLength(token)), u"REM ");
}

bool isScriptDelimiter(const QString& token)
{
    for (const char16_t* d : {u"%>", u"<%", u"<Script", u"<Script>", u"</Script>"})
        if (token.compare(QStringView(d), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString formatKeyword(const QString& word)
{
    return word.isEmpty() ? word : word.left(1).toUpper() + word.mid(1).toLower();
}

} // namespace

bool IsLabel(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() < 2 || !t.endsWith(u':'))
        return false;
    const char16_t first = t.at(0).unicode();
    if (!((first >= u'a' && first <= u'z') || (first >= u'A' && first <= u'Z')))
        return false;
    const qsizetype colon = t.indexOf(u':');
    for (qsizetype i = 0; i < colon; ++i) {
        const char16_t c = t.at(i).unicode();
        const bool ok =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'1' && c <= u'9') || c == u'_';
        if (!ok)
            return false;
    }
    return true;
}

void clsCodeProcessor::printWordByWord(const QString& token, const QString& tokenClass, bool procedureHeader)
{
    SetFonts(tokenClass, procedureHeader);
    const auto words = QStringView(token).split(u' ');
    for (qsizetype w = 0; w < words.size(); ++w)
        DrawText(words[w].toString() + (w + 1 < words.size() ? QStringLiteral(" ") : QString()));
}

void clsCodeProcessor::OutputVBScriptStatement(const TokenList& givenTokens, const QString&)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "OutputVBScriptStatement");
    mendwick::Guard(trace, [&] {
        g_iCurrentLanguage = LangVBScript;
        if (g_bCancelled)
            return;
        const clsLanguageOptions& vbs = Options().VBScriptOptions;
        TokenList tokens = givenTokens;
        QString text = joinedText(tokens);
        if (m_host && !g_bSamplePreview && m_sinceYield.isValid() && m_sinceYield.elapsed() >= 30)
            m_host->displayStatus(text);

        const bool procedureHeader = isProcedureHeader(text);
        if (procedureHeader)
            DrawConnectionsInstance().UnstackAll();

        qsizetype start = 0;
        QString connectionText = text;
        const auto firstPrintable = [&] {
            qsizetype i = 0;
            while (i < tokens.size() && tokens.at(i) != kCR && QStringView(tokens.at(i)).trimmed().isEmpty())
                ++i;
            return i;
        };
        if (text.compare(u"<%", Qt::CaseInsensitive) == 0) {
            IndentVBScript();
            ++g_iIndentLevel;
            connectionText.clear();
        } else if (text.compare(u"%>", Qt::CaseInsensitive) == 0) {
            // A stray closing delimiter never takes the level below the left edge.
            g_iIndentLevel = std::max(0, g_iIndentLevel - 1);
            IndentVBScript();
            connectionText.clear();
        } else if (StartsWith(text, u"</Script>")) {
            PopElementIndent(QStringLiteral("script"));
            IndentVBScript();
            start = firstPrintable();
            connectionText.clear();
        } else if (StartsWith(text, u"<Script")) {
            PushElementIndent(QStringLiteral("script"));
            IndentVBScript();
            ++g_iIndentLevel;
            start = firstPrintable();
            connectionText.clear();
        } else {
            printLabelAndIndent(tokens, text);
            connectionText = text;
        }

        const bool connections = vbs.PrintConnections;
        bool connected = false;
        QString previous;
        for (qsizetype i = start; i < tokens.size() && !g_bCancelled; ++i) {
            const QString& t = tokens.at(i);
            const QChar first = t.isEmpty() ? QChar() : t.at(0);
            if (isRemToken(t)) {
                printWordByWord(t, tokenclass::Comments, procedureHeader);
                OutputLineNumber();
                return;
            }
            if (t == kCR) {
                if (connections) {
                    trace.Stage("Draw connections");
                    DrawConnectionsInstance().DrawConnections();
                }
                OutputLineNumber();
                break;
            }
            if (first == u'\'') {
                printWordByWord(t, tokenclass::Comments, procedureHeader);
            } else if (first == u'"') {
                printWordByWord(t, tokenclass::Strings, procedureHeader);
            } else if (scan::isAsciiDigit(first) || first == u'&') {
                SetFonts(tokenclass::Constants, procedureHeader);
                DrawText(t);
            } else if (t.isEmpty() || t == u" " || !(first.isLetter() || first == u'_' || first == u'#')) {
                SetFonts(tokenclass::Identifiers, procedureHeader);
                if (vbs.HighlightScriptTags && isScriptDelimiter(t)) {
                    const bool colour = Options().ColorMode == 2;
                    DrawDelimiterBox(t, colour ? vbs.ScriptTagsBorderColor : 0,
                                     colour ? vbs.ScriptTagsFillColor : 0xFFFFFF);
                    DrawScriptIndicator();
                }
                DrawText(t);
            } else {
                // A word right after "." or "!" is a member name, never a keyword.
                const bool member = previous == u"." || previous == u"!";
                const bool keyword = !member && VBScriptKeywords().contains(t);
                const bool takesPart = keyword || t == u"#";
                if (takesPart && connections && !connected) {
                    connected = true;
                    DrawConnectionsInstance().FilterConnectionKeyword(connectionText, t);
                }
                if (keyword) {
                    SetFonts(tokenclass::Keywords, procedureHeader);
                    DrawText(vbs.FormatKeywords ? formatKeyword(t) : t);
                } else {
                    if (t != u"#")
                        SetFonts(tokenclass::Identifiers, procedureHeader);
                    DrawText(t);
                }
            }
            previous = t;
            YieldToUi();
        }
        if (isProcedureEnd(text))
            DrawConnectionsInstance().UnstackAll();
    });
}

void clsCodeProcessor::printLabelAndIndent(TokenList& tokens, QString& text)
{
    PrintSurface& s = Surface();
    double labelStart = -1;
    double labelEnd = -1;
    const qsizetype colon = text.indexOf(u':');
    if (colon > 0) {
        const QString label = text.left(colon + 1);
        if (IsLabel(label)) {
            const QString name = text.left(colon).trimmed();
            labelStart = s.CurrentX();
            SetFonts(tokenclass::Identifiers);
            DrawText(label.trimmed());
            labelEnd = s.CurrentX();
            s.setCurrentX(labelStart);
            for (qsizetype i = 0; i < tokens.size();) {
                if (tokens.at(i).compare(name, Qt::CaseInsensitive) == 0)
                    tokens.remove(i, std::min<qsizetype>(3, tokens.size() - i));
                else
                    ++i;
            }
            text = joinedText(tokens);
            g_bLineEmpty = true;
        }
    }
    if (g_bLineEmpty && Options().VBScriptOptions.IndentSourceCode) {
        const QString indented = ::folionix::IndentVBScript().IndentLine(text.trimmed());
        if (indented.size() > 1) {
            const qsizetype blanks = leadingWhitespaceLength(indented);
            if (blanks >= 1)
                DrawText(QString(blanks, u' '));
        }
    }
    // The code after a label never runs into it.
    if (labelEnd >= 0 && s.CurrentX() < labelEnd + s.TextWidth(QStringLiteral(" ")))
        s.setCurrentX(labelEnd + s.TextWidth(QStringLiteral(" ")));
}

} // namespace folionix
