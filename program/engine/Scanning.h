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

} // namespace folionix::scan
