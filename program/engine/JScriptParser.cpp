// JScript blocks and style regions: one physical line at a time, keeping its own leading blanks.
#include "CodeProcessor.h"
#include "Scanning.h"
#include "ScriptTokens.h"
#include "StringFunctions.h"

#include <ErrorTrace.h>
#include <Options.h>

namespace folionix {

namespace {

const QString kCR = QStringLiteral("\r");

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

bool isHexLetterOrAmp(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F') || u == u'&';
}

QString joinedTrimmed(const TokenList& tokens)
{
    QString text;
    for (const QString& t : tokens)
        text += t;
    text.remove(u'\r');
    return text.trimmed();
}

} // namespace

void clsCodeProcessor::ParseJScript(SourceBuffer& buffer, const QString& terminator)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "ParseJScript");
    mendwick::Quietly([&] {
        while (!buffer.isEmpty()) {
            const TokenList tokens = ParseJScriptStatement(buffer, terminator);
            OutputJScriptStatement(tokens);
            if (g_bCancelled || EndsWith(joinedTrimmed(tokens), terminator) || buffer.startsWith(terminator))
                break;
        }
    });
}

TokenList clsCodeProcessor::ParseJScriptStatement(SourceBuffer& buffer, const QString&)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "ParseJScriptStatement");
    TokenList tokens;
    mendwick::Guard(trace, [&] {
        g_iCurrentLanguage = LangJScript;
        // The end of the buffer reads as a line end, so a last line without one is still printed.
        QChar c = buffer.isEmpty() ? QChar(u'\r') : buffer.take(1).at(0);
        const auto next = [&] { c = buffer.isEmpty() ? QChar(u'\r') : buffer.take(1).at(0); };
        const auto store = [&](QString token) { tokens.append(std::move(token)); };
        while (!g_bCancelled) {
            YieldToUi();
            const QStringView rest = buffer.rest();
            if (c == u'\r') {
                store(kCR);
                break;
            }
            if (c == u'<') {
                const qsizetype n = scan::scriptDelimiter(rest);
                const QString match = rest.left(n).toString();
                if (n == 0) {
                    store(QStringLiteral("<"));
                } else if (match == u"%") {
                    buffer.consume(n);
                    store(QStringLiteral("<%"));
                } else if (match.compare(u"script>", Qt::CaseInsensitive) == 0 ||
                           match.compare(u"script", Qt::CaseInsensitive) == 0) {
                    buffer.consume(n);
                    store(u'<' + match);
                    StatementCount = -1;
                } else if (match.startsWith(u'/')) {
                    if (scripttokens::takeClosingScriptTag(buffer, n, match, tokens)) {
                        c = u'\r';
                        continue;
                    }
                } else if (StatementCount == 0) {
                    scripttokens::takeCommentOpenerLine(buffer, n, match, tokens);
                } else {
                    scripttokens::takeHtmlComment(buffer, n, tokens);
                }
                next();
                continue;
            }
            if (c == u'%') {
                const qsizetype n = scan::closingDelimiterRest(rest);
                if (n >= 0) {
                    store(QStringLiteral("%>"));
                    buffer.consume(n);
                    break; // the statement ends without a line end
                }
                store(QStringLiteral("%"));
                next();
                continue;
            }
            if (c == u' ') {
                qsizetype n = 0;
                while (n < rest.size() && rest.at(n) == u' ')
                    ++n;
                store(c + buffer.take(n).toString());
                next();
                continue;
            }
            if (c.isLetter() || c == u'_') {
                qsizetype n = 0;
                while (n < rest.size() && isWordChar(rest.at(n)))
                    ++n;
                store(c + buffer.take(n).toString());
                next();
                continue;
            }
            if (scan::isAsciiDigit(c)) {
                qsizetype n = 0;
                while (n < rest.size() && scan::isAsciiDigit(rest.at(n)))
                    ++n;
                store(c + buffer.take(n).toString());
                next();
                continue;
            }
            if (c == u'&') {
                qsizetype n = 0;
                if (!rest.isEmpty() && (rest.at(0) == u'H' || rest.at(0) == u'h')) {
                    // The letter belongs to the token (it is not printed a second time).
                    n = 1;
                    while (n < rest.size() && isHexLetterOrAmp(rest.at(n)))
                        ++n;
                }
                store(c + buffer.take(n).toString());
                next();
                continue;
            }
            if (c == u'/') {
                if (rest.startsWith(u'/')) {
                    store(c + buffer.take(scan::restOfLine(rest)).toString());
                } else if (rest.startsWith(u'*')) {
                    const qsizetype end = rest.indexOf(u"*/", 1);
                    const qsizetype n = end < 0 ? rest.size() : end + 2;
                    store(c + buffer.take(n).toString() + u'\r');
                } else {
                    store(QStringLiteral("/"));
                }
                next();
                continue;
            }
            if (c == u'"' || c == u'\'') {
                const qsizetype close = rest.indexOf(c);
                // Without its partner the quote stays as a token of its own and the rest is code.
                store(close < 0 ? QString(c) : c + buffer.take(close + 1).toString());
                next();
                continue;
            }
            if (c.isHighSurrogate() && !rest.isEmpty() && rest.at(0).isLowSurrogate()) {
                store(c + buffer.take(1).toString());
                next();
                continue;
            }
            store(QString(c));
            next();
        }
    });
    if (tokens.size() > 1)
        ++StatementCount;
    return tokens;
}

} // namespace folionix
