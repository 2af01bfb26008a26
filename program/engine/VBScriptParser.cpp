// VBScript blocks: one physical line at a time taken off the buffer and split into words, numbers,
// strings, comments and delimiters, then printed by the statement output.
#include "CodeProcessor.h"
#include "Scanning.h"
#include "ScriptTokens.h"
#include "StringFunctions.h"

#include <ErrorTrace.h>

namespace folionix {

namespace {

const QString kCR = QStringLiteral("\r");
const QString kBlank = QStringLiteral(" ");

bool isLetter(QChar c)
{
    return c.isLetter();
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

bool isHexOrAmp(QChar c)
{
    const char16_t u = c.unicode();
    return scan::isAsciiDigit(c) || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F') || u == u'&';
}

bool opensParenthesisGap(const QString& previous)
{
    static const char16_t* const keywords[] = {u"Select", u"If",  u"Else", u"ElseIf", u"Else if", u"Case",
                                               u"With",   u"For", u"Do",   u"While",  u"Type"};
    for (const char16_t* k : keywords)
        if (previous.compare(QStringView(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Whether the statement's tokens, joined without CRs and trimmed, end with terminator.
bool endsWithTerminator(const TokenList& tokens, const QString& terminator)
{
    QString tail;
    for (qsizetype i = tokens.size() - 1; i >= 0; --i) {
        tail.prepend(tokens.at(i));
        QString trimmed = tail;
        trimmed.remove(u'\r');
        trimmed = trimmed.trimmed();
        if (trimmed.size() >= terminator.size() || i == 0)
            return EndsWith(trimmed, terminator);
    }
    return false;
}

} // namespace

QString clsCodeProcessor::GetNextChar(SourceBuffer& buffer)
{
    return buffer.isEmpty() ? kCR : buffer.take(1).toString();
}

QString clsCodeProcessor::PeekNextChar(const SourceBuffer& buffer)
{
    return buffer.isEmpty() ? QString() : QString(buffer.at(0));
}

void clsCodeProcessor::ParseVBScript(SourceBuffer& buffer, const QString& terminator)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "ParseVBScript");
    mendwick::Quietly([&] {
        while (!buffer.isEmpty()) {
            const TokenList tokens = ParseVBScriptStatement(buffer, terminator);
            OutputVBScriptStatement(tokens, terminator);
            if (g_bCancelled || endsWithTerminator(tokens, terminator))
                break;
        }
    });
}

TokenList clsCodeProcessor::ParseVBScriptStatement(SourceBuffer& buffer, const QString&)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "ParseVBScriptStatement");
    TokenList tokens;
    mendwick::Guard(trace, [&] {
        ++StatementCount;
        while (buffer.at(0) == u' ')
            buffer.consume(1);
        // c is the current character, already taken off the buffer; the end of the buffer reads as CR,
        // so a last line without a line end is still printed.
        QChar c = buffer.isEmpty() ? QChar(u'\r') : buffer.take(1).at(0);
        const auto next = [&] { c = buffer.isEmpty() ? QChar(u'\r') : buffer.take(1).at(0); };
        const auto store = [&](QString token) { tokens.append(std::move(token)); };
        while (!g_bCancelled) {
            YieldToUi();
            const QStringView rest = buffer.rest();
            if (c == u'\r') {
                store(kBlank);
                store(kCR);
                return;
            }
            if (c == u'<') {
                const qsizetype n = scan::scriptDelimiter(rest);
                const QString match = rest.left(n).toString();
                if (n == 0) {
                    store(QStringLiteral("<"));
                } else if (match == u"%" || match.compare(u"script>", Qt::CaseInsensitive) == 0 ||
                           match.compare(u"script", Qt::CaseInsensitive) == 0) {
                    buffer.consume(n);
                    store(u'<' + match);
                    if (match != u"%")
                        StatementCount = 0;
                } else if (match.startsWith(u'/')) {
                    if (scripttokens::takeClosingScriptTag(buffer, n, match, tokens)) {
                        c = u'\r';
                        continue;
                    }
                } else if (StatementCount == 1) {
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
                    c = u'\r';
                    continue;
                }
                store(QStringLiteral("%")); // a "%" of its own is kept as it stands
                next();
                continue;
            }
            if (c == u' ') {
                while (buffer.at(0) == u' ')
                    buffer.consume(1);
                store(kBlank);
                next();
                continue;
            }
            if (isLetter(c) || c == u'_') {
                if (c.toUpper() == u'R' &&
                    QStringView(rest).left(3).compare(u"EM ", Qt::CaseInsensitive) == 0) {
                    store(c + buffer.take(scan::restOfLine(buffer.rest())).toString());
                    next();
                    continue;
                }
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
                    n = 1;
                    while (n < rest.size() && isHexOrAmp(rest.at(n)))
                        ++n;
                }
                store(c + buffer.take(n).toString());
                next();
                continue;
            }
            if (c == u'\'') {
                // A comment runs to the line end or to a real closing "%>"; a lone "%" is comment text.
                qsizetype n = 0;
                while (n < rest.size() && rest.at(n) != u'\r' &&
                       !(rest.at(n) == u'%' && scan::closingDelimiterRest(rest.mid(n + 1)) >= 0))
                    ++n;
                store(c + buffer.take(n).toString());
                next();
                continue;
            }
            if (c == u':') {
                store(QStringLiteral(":"));
                const qsizetype n = scan::restOfLine(rest);
                const QStringView line = rest.left(n);
                if (StartsWith(line.mid(leadingWhitespaceLength(line)), u"REM ")) {
                    store(buffer.take(n).toString());
                }
                next();
                continue;
            }
            if (c == u'"') {
                const qsizetype close = rest.indexOf(u'"');
                if (close < 0) {
                    // No closing quote: the quote stays as a token of its own and the rest is code.
                    store(QStringLiteral("\""));
                    next();
                    continue;
                }
                QString text = u'"' + buffer.take(close).toString() + u'"';
                buffer.consume(1);
                text.replace(u'\r', u' ');
                store(std::move(text));
                next();
                continue;
            }
            if (c == u'(') {
                if (!tokens.isEmpty() && opensParenthesisGap(tokens.back()))
                    store(kBlank);
                store(QStringLiteral("("));
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
    return tokens;
}

} // namespace folionix
