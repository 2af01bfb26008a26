// Plain-text region printer: JScript blocks and style regions reach the page as plain text in the
// "Text" style, by the region boundaries of the splitter, until their tokenising parser arrives.
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

void clsCodeProcessor::ParseJScript(SourceBuffer& buffer, const QString& terminator)
{
    printScriptBlock(buffer, terminator, LangJScript);
}

} // namespace folionix
