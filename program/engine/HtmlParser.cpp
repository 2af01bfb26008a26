// HTML items: one tag, comment, declaration or run of text taken off the front of the buffer and
// broken into tokens.
#include "CodeProcessor.h"
#include "Scanning.h"

#include <ErrorTrace.h>

namespace folionix {

namespace {

using scan::isAsciiAlnum;
using scan::isAsciiDigit;

bool isHexOrAmp(QChar c)
{
    const char16_t u = c.unicode();
    return isAsciiDigit(c) || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F') || u == u'&';
}

// Letters of any alphabet (accented ones included) start and continue words; a pair of surrogates is
// judged as the character it encodes.
qsizetype letterLength(QStringView text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::isLetter(QChar::surrogateToUcs4(c, text.at(i + 1))) ? 2 : 0;
    return c.isLetter() ? 1 : 0;
}

bool isWordStart(QStringView text, qsizetype i)
{
    return text.at(i) == u'_' || letterLength(text, i) > 0;
}

qsizetype wordEnd(QStringView text, qsizetype i)
{
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == u'_' || c == u'.' || isAsciiDigit(c)) {
            ++i;
            continue;
        }
        const qsizetype n = letterLength(text, i);
        if (n == 0)
            break;
        i += n;
    }
    return i;
}

// Length of a tag opening "<" [white space] name | "/"name | "!--" | "!" at the front, or 0.
qsizetype tagMatch(QStringView text)
{
    if (text.isEmpty() || text.at(0) != u'<')
        return 0;
    const qsizetype i = 1 + leadingWhitespaceLength(text.mid(1));
    if (i >= text.size())
        return 0;
    if (isAsciiAlnum(text.at(i)))
        return i + scan::asciiAlnumRun(text, i);
    if (text.at(i) == u'/') {
        const qsizetype n = scan::asciiAlnumRun(text, i + 1);
        return n > 0 ? i + 1 + n : 0;
    }
    if (text.at(i) == u'!')
        return text.mid(i, 3) == u"!--" ? i + 3 : i + 1;
    return 0;
}

QString withoutCRs(QStringView text)
{
    QString out = text.toString();
    out.remove(u'\r');
    return out;
}

} // namespace

TokenList clsCodeProcessor::ParseHTML(SourceBuffer& buffer, const QString&)
{
    mendwick::ErrorTrace trace("clsCodeProcessor", "ParseHTML");
    TokenList tokens;
    mendwick::Guard(trace, [&] {
        buffer.skipWhitespace();
        const qsizetype matched = tagMatch(buffer.rest());
        // A stray "<" that opens no tag is kept and joined to the token after it, so no source
        // character is lost.
        QString pendingLess;
        const auto store = [&](QString token) {
            if (!pendingLess.isEmpty()) {
                token.prepend(pendingLess);
                pendingLess.clear();
            }
            tokens.append(std::move(token));
            YieldToUi();
        };
        if (matched > 0) {
            QString tag = withoutCRs(buffer.take(matched)).trimmed();
            tokens << QStringLiteral("<") << tag.mid(1);
            if (tag.startsWith(u"</")) {
                QChar last;
                while (!buffer.isEmpty()) {
                    last = buffer.take(1).at(0);
                    if (last == u'>')
                        break;
                }
                tokens << (last.isNull() ? QString() : QString(last));
                return;
            }
            if (tag.startsWith(u"<!--")) {
                const qsizetype end = buffer.indexOf(u"-->");
                if (end >= 0) {
                    tokens << buffer.take(end).toString();
                    buffer.consume(3);
                } else {
                    tokens << buffer.take(buffer.size()).toString();
                }
                tokens << QStringLiteral("-->");
                return;
            }
            if (tag.startsWith(u"<!")) {
                const QStringView rest = buffer.rest();
                bool quoted = false;
                for (qsizetype i = 0; i < rest.size(); ++i) {
                    if (rest.at(i) == u'"')
                        quoted = !quoted;
                    else if (rest.at(i) == u'>' && !quoted) {
                        tokens << rest.left(i).toString() << QStringLiteral(">");
                        buffer.consume(i + 1);
                        return;
                    }
                }
                // Unterminated at the end of the file: the text is still printed.
                tokens << buffer.take(rest.size()).toString();
                return;
            }
        }
        // Attributes of a start tag, or a run of text.
        while (!buffer.isEmpty() && !g_bCancelled) {
            const QStringView rest = buffer.rest();
            const QChar c = rest.at(0);
            if (c == u'\r' || c == u'\n' || c == u'\t') {
                buffer.consume(1);
            } else if (c == u' ') {
                qsizetype n = 1;
                while (n < rest.size() && rest.at(n) == u' ')
                    ++n;
                buffer.consume(n);
                store(QStringLiteral(" "));
            } else if (isWordStart(rest, 0)) {
                store(buffer.take(wordEnd(rest, c == u'_' ? 1 : letterLength(rest, 0))).toString());
            } else if (isAsciiDigit(c)) {
                qsizetype n = 1;
                while (n < rest.size() && isAsciiDigit(rest.at(n)))
                    ++n;
                store(buffer.take(n).toString());
            } else if (c == u'#') {
                qsizetype n = std::min<qsizetype>(2, rest.size());
                while (n < rest.size() && isHexOrAmp(rest.at(n)))
                    ++n;
                store(buffer.take(n).toString());
            } else if (c == u'<') {
                if (!tokens.isEmpty() || matched > 0)
                    break; // the next item begins here
                pendingLess += u'<';
                buffer.consume(1);
            } else if (c == u'>') {
                buffer.consume(1);
                store(QStringLiteral(">"));
                break;
            } else if (c == u'"') {
                const qsizetype close = rest.indexOf(u'"', 1);
                store(buffer.take(close < 0 ? rest.size() : close + 1).toString());
            } else {
                store(buffer.take(1).toString());
            }
        }
        if (!pendingLess.isEmpty())
            tokens.append(pendingLess);
    });
    tokens.append(QStringLiteral("\r"));
    return tokens;
}

} // namespace folionix
