// Plain-text region printers: each HTML item, script block and style region reaches the page as
// plain text in the "Text" style, by the region boundaries of the splitter. The tokenising parsers
// replace these one language at a time.
#include "CodeProcessor.h"

#include <Options.h>

namespace folionix {

namespace {

// Length of the region up to and including terminator (ignoring case), or of the whole rest.
qsizetype throughTerminator(const SourceBuffer& buffer, const QString& terminator)
{
    if (terminator.isEmpty()) {
        const qsizetype cr = buffer.indexOf(u"\r");
        return cr < 0 ? buffer.size() : cr + 1;
    }
    const qsizetype at = buffer.indexOf(terminator);
    return at < 0 ? buffer.size() : at + terminator.size();
}

} // namespace

void clsCodeProcessor::printScriptBlock(SourceBuffer& buffer, const QString& terminator, int32_t language)
{
    QStringView block = buffer.take(throughTerminator(buffer, terminator));
    if (block.endsWith(u'\r'))
        block.chop(1);
    g_iCurrentLanguage = language;
    printPlainText(block);
    OutputLineNumber();
}

void clsCodeProcessor::printPlainText(QStringView text)
{
    SetFonts(tokenclass::Text);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype cr = text.indexOf(u'\r', start);
        if (cr < 0)
            cr = text.size();
        if (start > 0)
            OutputLineNumber();
        if (cr > start)
            DrawText(text.mid(start, cr - start).toString());
        start = cr + 1;
    }
}

TokenList clsCodeProcessor::ParseHTML(SourceBuffer& buffer, const QString&)
{
    if (buffer.isEmpty())
        return {};
    if (buffer.at(0) == u'<' && (buffer.at(1).isLetterOrNumber() || buffer.at(1) == u'/' ||
                                 buffer.at(1) == u'!' || buffer.at(1) == u'%')) {
        const qsizetype gt = buffer.indexOf(u">");
        const QStringView raw = buffer.take(gt < 0 ? buffer.size() : gt + 1);
        qsizetype nameEnd = 1;
        while (nameEnd < raw.size() && !raw.at(nameEnd).isSpace() && raw.at(nameEnd) != u'>')
            ++nameEnd;
        return {QStringLiteral("<"), raw.mid(1, nameEnd - 1).toString(), raw.toString()};
    }
    const qsizetype lt = buffer.indexOf(u"<", 1);
    return {buffer.take(lt < 0 ? buffer.size() : lt).toString()};
}

void clsCodeProcessor::OutputHTML(const TokenList& tokens)
{
    if (tokens.isEmpty())
        return;
    g_iCurrentLanguage = LangHTML;
    printPlainText(tokens.back());
    OutputLineBreaks(1);
}

void clsCodeProcessor::ParseVBScript(SourceBuffer& buffer, const QString& terminator)
{
    printScriptBlock(buffer, terminator, LangVBScript);
}

void clsCodeProcessor::ParseJScript(SourceBuffer& buffer, const QString& terminator)
{
    printScriptBlock(buffer, terminator, LangJScript);
}

} // namespace folionix
