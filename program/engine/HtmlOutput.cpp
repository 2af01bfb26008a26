// HTML items printed in the program's own layout: names in their classes and letter case, line
// breaks and indentation from the elements' tag profiles.
#include "CodeProcessor.h"

#include <ErrorTrace.h>
#include <Options.h>
#include <PrintSurface.h>

namespace folionix {

namespace {

const QString kCR = QStringLiteral("\r");

// The stored profile of an element, or the one every unknown element gets.
clsHTMLElementProfile profileOf(const QString& elementName)
{
    const auto& profiles = TagProfiles();
    const auto it = profiles.find(elementName);
    if (it != profiles.end())
        return it->second;
    clsHTMLElementProfile fallback;
    fallback.ElementName = elementName;
    fallback.Before = 1;
    fallback.Format = true;
    return fallback;
}

bool isTagList(const TokenList& tokens)
{
    // A stray "<" of a text run stands alone in a list of two; tags have at least three elements.
    return tokens.size() >= 3 && tokens.at(0) == u"<";
}

} // namespace

void clsCodeProcessor::PushElementIndent(const QString& elementName)
{
    if (!TagProfiles().contains(elementName) && elementName.compare(u"Script", Qt::CaseInsensitive) != 0)
        return;
    clsConnection record;
    record.Keyword = elementName;
    record.xPos = g_iIndentLevel;
    record.Page = Surface().CurrentPage();
    record.yPos = int32_t(Surface().CurrentY());
    g_colElementIndents.push_back(record);
}

void clsCodeProcessor::PopElementIndent(const QString& elementName)
{
    for (auto it = g_colElementIndents.rbegin(); it != g_colElementIndents.rend(); ++it) {
        if (it->Keyword.compare(elementName, Qt::CaseInsensitive) == 0) {
            g_iIndentLevel = it->xPos;
            g_colElementIndents.erase(std::next(it).base());
            return;
        }
    }
}

void clsCodeProcessor::printWords(QStringView line, const QString& tokenClass, bool spaceAfterLast)
{
    SetFonts(tokenClass);
    const auto words = line.split(u' ');
    for (qsizetype w = 0; w < words.size(); ++w) {
        const bool last = w + 1 == words.size();
        if (last && words[w].isEmpty())
            break;
        DrawText(words[w].toString() + ((last && !spaceAfterLast) ? QString() : QStringLiteral(" ")));
    }
}

void clsCodeProcessor::printQuotedValue(const QString& value)
{
    const auto lines = QStringView(value).split(u'\r');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        printWords(lines[i], tokenclass::Strings, false);
        if (i + 1 < lines.size()) {
            OutputLineBreaks(1);
            IndentHTML();
        }
    }
}

void clsCodeProcessor::printComment(const QString& text)
{
    const QString spaced = text + u' ';
    const auto lines = QStringView(spaced).split(u'\r');
    SetFonts(tokenclass::Comments);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (g_bCancelled)
            return;
        if (i > 0) {
            OutputLineBreaks(1);
            IndentHTML();
            SetFonts(tokenclass::Comments);
        }
        DrawText(lines[i].toString());
    }
}

void clsCodeProcessor::OutputHTML(const TokenList& tokens)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "OutputHTML");
    mendwick::Guard(trace, [&] {
        g_iCurrentLanguage = LangHTML;
        QString joined;
        for (const QString& t : tokens)
            joined += t;
        if (QString(joined).remove(u'\r').isEmpty())
            return;
        if (m_host && !g_bSamplePreview)
            m_host->displayStatus(joined);

        const clsLanguageOptions& html = Options().HTMLOptions;
        const bool tag = isTagList(tokens);
        int cursor = -1;
        while (!g_bCancelled) {
            const QString t = NextToken(tokens, cursor);
            if (t == kCR)
                return;
            if (t == u"<" && tag && cursor == 0) {
                outputTag(tokens, cursor);
                continue;
            }
            const QString next = PeekToken(tokens, cursor);
            if (t == u">") {
                SetFonts(tokenclass::Elements);
                DrawText(t);
            } else if (t == u"\"") {
                SetFonts(tokenclass::Strings);
                DrawText(QStringLiteral("\" "));
            } else if (next != kCR && next == u"=") {
                SetFonts(tokenclass::Attributes);
                DrawText(html.AttibuteUpperCase ? t.toUpper() : t);
            } else if (next != kCR) {
                if (t.startsWith(u'"')) {
                    printQuotedValue(t);
                } else {
                    SetFonts(tokenclass::Text);
                    DrawText(t);
                }
            } else {
                printWords(t, tokenclass::Text, true);
            }
        }
    });
}

void clsCodeProcessor::outputTag(const TokenList& tokens, int& cursor)
{
    const clsLanguageOptions& html = Options().HTMLOptions;
    QString name = NextToken(tokens, cursor).toLower();
    name.remove(u'\r');
    const bool endTag = name.startsWith(u'/');
    const QString elementName = endTag ? name.mid(1) : name;
    const clsHTMLElementProfile profile = profileOf(elementName);

    if (endTag) {
        OutputLineBreaks(profile.InsideEnd);
        PopElementIndent(elementName);
        if (g_bLineEmpty && g_iIndentLevel > 0)
            IndentHTML();
        SetFonts(tokenclass::Elements);
        DrawText(u'<' + (html.ElementUpperCase ? name.toUpper() : name) + u'>');
        OutputLineBreaks(profile.After);
        NextToken(tokens, cursor); // the ">"
        return;
    }

    OutputLineBreaks(profile.Before);
    PushElementIndent(elementName);
    if (html.TabSize * g_iIndentLevel > 0 && profile.Before != 0)
        IndentHTML();
    if (profile.Indent)
        ++g_iIndentLevel;
    SetFonts(tokenclass::Elements);
    DrawText(u'<' + (html.ElementUpperCase ? name.toUpper() : name));
    if (PeekToken(tokens, cursor) == u">") {
        NextToken(tokens, cursor);
        DrawText(QStringLiteral(">"));
        OutputLineBreaks(profile.InsideStart);
    } else if (name.startsWith(u"!--")) {
        printComment(NextToken(tokens, cursor));
        NextToken(tokens, cursor); // the "-->"
        SetFonts(tokenclass::Elements);
        DrawText(QStringLiteral("-->"));
        OutputLineBreaks(profile.After);
    }
}

} // namespace folionix
