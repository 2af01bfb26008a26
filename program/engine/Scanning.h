#pragma once

#include <QChar>
#include <QStringView>

// Character classes shared by the region splitter and the parsers.
namespace folionix::scan {

inline bool isAsciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

inline bool isAsciiAlnum(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || isAsciiDigit(c);
}

// Length of the run of ASCII letters and digits starting at from.
inline qsizetype asciiAlnumRun(QStringView text, qsizetype from)
{
    qsizetype i = from;
    while (i < text.size() && isAsciiAlnum(text.at(i)))
        ++i;
    return i - from;
}

inline bool isBlankOrCR(QChar c)
{
    return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t' || c == u'\f' || c == u'\v';
}

// Length of "%" [white space and CRs] ">" at the front of text (text starts after the "%"), or -1.
inline qsizetype closingDelimiterRest(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlankOrCR(text.at(i)))
        ++i;
    return i < text.size() && text.at(i) == u'>' ? i + 1 : -1;
}

// Length of the line's rest (up to, not including, its CR).
inline qsizetype restOfLine(QStringView text)
{
    const qsizetype cr = text.indexOf(u'\r');
    return cr < 0 ? text.size() : cr;
}

// The pattern ^(/?script>?|%|!--|--) at the front of text, ignoring case; its length or 0.
inline qsizetype scriptDelimiter(QStringView text)
{
    qsizetype i = 0;
    if (text.startsWith(u'/'))
        i = 1;
    if (text.mid(i).startsWith(u"script", Qt::CaseInsensitive)) {
        i += 6;
        if (i < text.size() && text.at(i) == u'>')
            ++i;
        return i;
    }
    if (text.startsWith(u'%'))
        return 1;
    if (text.startsWith(u"!--"))
        return 3;
    if (text.startsWith(u"--"))
        return 2;
    return 0;
}

} // namespace folionix::scan
