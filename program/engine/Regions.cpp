#include "CodeProcessor.h"
#include "Scanning.h"
#include "StringFunctions.h"

#include <ErrorTrace.h>
#include <Options.h>

namespace folionix {

namespace {

using scan::isAsciiAlnum;

// The opening of a tag at the front of text: "<" followed by a name, "/" and a name, "%", "!--" or
// "!". Returns its length, or 0 when text does not begin with one.
qsizetype tagOpening(QStringView text)
{
    if (text.size() < 2 || text.at(0) != u'<')
        return 0;
    const QChar c = text.at(1);
    if (isAsciiAlnum(c))
        return 1 + scan::asciiAlnumRun(text, 1);
    if (c == u'/') {
        const qsizetype n = scan::asciiAlnumRun(text, 2);
        return n > 0 ? 2 + n : 0;
    }
    if (c == u'%')
        return 2;
    if (c == u'!')
        return text.mid(1, 3) == u"!--" ? 4 : 2;
    return 0;
}

// The opening tag as the language test reads it: blanks, quotes, "%" and line ends removed, "%@"
// read as "script" (so `<%@ LANGUAGE="VBScript" %>` reads `<scriptLANGUAGE=VBScript>`).
QString normalisedOpening(QStringView head)
{
    QString copy;
    copy.reserve(head.size() + 8);
    for (qsizetype i = 0; i < head.size(); ++i) {
        const QChar c = head.at(i);
        if (c == u' ' || c == u'"' || c == u'\r' || c == u'\n')
            continue;
        if (c == u'%') {
            // "%@" only counts where the blanks and quotes around it are already gone.
            qsizetype j = i + 1;
            while (j < head.size() && (head.at(j) == u' ' || head.at(j) == u'"'))
                ++j;
            if (j < head.size() && head.at(j) == u'@') {
                copy += QLatin1String("script");
                i = j;
            }
            continue;
        }
        copy += c;
    }
    return copy;
}

void recordDefault(int32_t language)
{
    if (g_iScriptSide == 1 && !g_bClientLanguageSet) {
        g_aDefaultLanguage[1] = language;
        g_bClientLanguageSet = true;
    } else if (g_iScriptSide == 0 && !g_bServerLanguageSet) {
        g_aDefaultLanguage[0] = language;
        g_bServerLanguageSet = true;
    }
}

} // namespace

int32_t GetScriptLanguage(const SourceBuffer& text)
{
    const QStringView rest = text.rest();
    if (text.restContains(u"Language")) {
        // Only the text up to the first ">" matters to the tests below.
        const qsizetype gt = rest.indexOf(u'>');
        const QString copy = normalisedOpening(gt < 0 ? rest : rest.left(gt + 1));
        const QString opening = BeforeFirst(copy, u">");
        if (StartsWith(copy, u"<scriptlanguage")) {
            const QString value = AfterFirst(opening, u"=");
            if (StartsWith(value, u"ECMAScript") || StartsWith(value, u"Java") ||
                StartsWith(value, u"JScript")) {
                recordDefault(LangJScript);
                return LangJScript;
            }
            if (StartsWith(value, u"VBScript")) {
                recordDefault(LangVBScript);
                return LangVBScript;
            }
            return 0;
        }
        if (g_iScriptSide == 1 && !Contains(opening, u"RUNAT=Server"))
            return g_aDefaultLanguage[1];
    } else if (g_iScriptSide == 1 && !text.restContains(u"RUNAT=Server")) {
        return g_aDefaultLanguage[1];
    }
    return g_aDefaultLanguage[0];
}

void clsCodeProcessor::ParseNext(SourceBuffer& buffer)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "ParseNext");
    mendwick::Guard(trace, [&] {
        trace.Stage("Find next start of tag");
        const qsizetype openingLength = tagOpening(buffer.rest());
        if (openingLength == 0) {
            OutputHTML(ParseHTML(buffer, QString()));
            return;
        }
        const QStringView opening = buffer.rest().left(openingLength);
        trace.Stage("check if buffer starts with <% or <Script");
        const bool server = StartsWith(opening, u"<%");
        if (server || StartsWith(opening, u"<Script")) {
            g_iScriptSide = server ? 0 : 1;
            g_iCurrentLanguage = GetScriptLanguage(buffer);
            const QString terminator = server ? QStringLiteral("%>") : QStringLiteral("</Script>");
            if (g_iCurrentLanguage == LangJScript)
                ParseJScript(buffer, terminator);
            else if (g_iCurrentLanguage == LangVBScript)
                ParseVBScript(buffer, terminator);
            else
                OutputHTML(ParseHTML(buffer, terminator));
            return;
        }
        const TokenList tokens = ParseHTML(buffer, QString());
        OutputHTML(tokens);
        if (tokens.size() >= 3 && tokens.at(0) == u"<") {
            if (tokens.at(1).compare(u"Style", Qt::CaseInsensitive) == 0) {
                InStyleSheet = true;
                StatementCount = 0;
                ParseJScript(buffer, QStringLiteral("</Style>"));
                InStyleSheet = false;
                g_iCurrentLanguage = LangHTML;
            } else if (tokens.at(1).compare(u"/Style", Qt::CaseInsensitive) == 0) {
                InStyleSheet = false;
            }
        }
    });
}

void clsCodeProcessor::ParseStyleSheet(SourceBuffer& buffer)
{
    InStyleSheet = true;
    StatementCount = 0;
    ParseJScript(buffer, QString());
    InStyleSheet = false;
    g_iCurrentLanguage = LangHTML;
}

} // namespace folionix
