#pragma once

#include "EngineState.h"
#include "Scanning.h"
#include "SourceBuffer.h"

// Token collectors shared by the VBScript and JScript tokenizers. Each starts with the buffer right
// after a "<" whose delimiter (n characters, already matched as match) follows.
namespace folionix::scripttokens {

// "</script>", or "</script" with blanks before its ">": stores the tag (and a ">" when it was apart)
// and says whether the statement ends here.
inline bool takeClosingScriptTag(SourceBuffer& buffer, qsizetype n, const QString& match, TokenList& tokens)
{
    buffer.consume(n);
    tokens.append(u'<' + match);
    const QStringView after = buffer.rest();
    const qsizetype ws = leadingWhitespaceLength(after);
    const bool bracket = ws < after.size() && after.at(ws) == u'>';
    if (bracket) {
        buffer.consume(ws + 1);
        if (!match.endsWith(u'>'))
            tokens.append(QStringLiteral(">"));
    }
    return bracket || match.endsWith(u'>');
}

// An HTML comment opener on the first statement of a block: the opener, then the rest of its line.
inline void takeCommentOpenerLine(SourceBuffer& buffer, qsizetype n, const QString& match, TokenList& tokens)
{
    buffer.consume(n);
    tokens.append(u'<' + match);
    tokens.append(buffer.take(scan::restOfLine(buffer.rest())).toString());
}

// An HTML comment inside the code runs to its "-->" (or the end of the buffer) and follows the tokens
// already collected: "<!--", "", its text, "-->".
inline void takeHtmlComment(SourceBuffer& buffer, qsizetype n, TokenList& tokens)
{
    buffer.consume(n);
    const qsizetype end = buffer.indexOf(u"-->");
    tokens.append(QStringLiteral("<!--"));
    tokens.append(QString());
    if (end >= 0) {
        tokens.append(buffer.take(end).toString());
        buffer.consume(3);
    } else {
        tokens.append(buffer.take(buffer.size()).toString());
    }
    tokens.append(QStringLiteral("-->"));
}

} // namespace folionix::scripttokens
